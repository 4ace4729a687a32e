#include "store/SqliteStatement.h"

#include "store/SqlConnection.h"

#include <sqlite3.h>

namespace vantor {

SqliteStatement::SqliteStatement(sqlite3* db, const QString& sql) : db_(db) {
    if (db_ == nullptr) {
        throw DatabaseError(QStringLiteral("the database is not open"));
    }
    const int result = sqlite3_prepare16_v3(db_, sql.utf16(), static_cast<int>(sql.size() * 2),
                                            SQLITE_PREPARE_PERSISTENT, &statement_, nullptr);
    if (result != SQLITE_OK) {
        const QString error = QString::fromUtf8(sqlite3_errmsg(db_));
        sqlite3_finalize(statement_);
        statement_ = nullptr;
        throw DatabaseError(error);
    }
}

SqliteStatement::~SqliteStatement() {
    sqlite3_finalize(statement_);
}

void SqliteStatement::Check(int result) const {
    if (result != SQLITE_OK) {
        throw DatabaseError(QString::fromUtf8(sqlite3_errmsg(db_)));
    }
}

void SqliteStatement::BindNull(int index) {
    Check(sqlite3_bind_null(statement_, index + 1));
}

void SqliteStatement::BindText(int index, const QString& value) {
    Check(sqlite3_bind_text16(statement_, index + 1, value.utf16(), static_cast<int>(value.size() * 2),
                              SQLITE_TRANSIENT));
}

void SqliteStatement::BindDouble(int index, double value) {
    Check(sqlite3_bind_double(statement_, index + 1, value));
}

void SqliteStatement::BindInteger(int index, qint64 value) {
    Check(sqlite3_bind_int64(statement_, index + 1, value));
}

void SqliteStatement::BindBlob(int index, const QByteArray& value) {
    // A zero-length blob, never NULL: an empty value is still a value.
    Check(value.isEmpty() ? sqlite3_bind_zeroblob(statement_, index + 1, 0)
                          : sqlite3_bind_blob(statement_, index + 1, value.constData(),
                                              static_cast<int>(value.size()), SQLITE_TRANSIENT));
}

bool SqliteStatement::Step() {
    const int result = sqlite3_step(statement_);
    if (result == SQLITE_ROW) {
        return true;
    }
    if (result == SQLITE_DONE) {
        return false;
    }
    const QString error = QString::fromUtf8(sqlite3_errmsg(db_));
    sqlite3_reset(statement_);
    throw DatabaseError(error);
}

void SqliteStatement::Reset() {
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
}

int SqliteStatement::ColumnCount() const {
    return sqlite3_column_count(statement_);
}

QString SqliteStatement::ColumnName(int column) const {
    return QString::fromUtf8(sqlite3_column_name(statement_, column));
}

bool SqliteStatement::IsNull(int column) const {
    return sqlite3_column_type(statement_, column) == SQLITE_NULL;
}

bool SqliteStatement::IsText(int column) const {
    return sqlite3_column_type(statement_, column) == SQLITE_TEXT;
}

QString SqliteStatement::ColumnText(int column) const {
    const auto* text = static_cast<const char16_t*>(sqlite3_column_text16(statement_, column));
    const int bytes = sqlite3_column_bytes16(statement_, column);
    return text == nullptr ? QString() : QString::fromUtf16(text, bytes / 2);
}

double SqliteStatement::ColumnDouble(int column) const {
    return sqlite3_column_double(statement_, column);
}

qint64 SqliteStatement::ColumnInteger(int column) const {
    return sqlite3_column_int64(statement_, column);
}

QByteArray SqliteStatement::ColumnBlob(int column) const {
    const void* data = sqlite3_column_blob(statement_, column);
    const int bytes = sqlite3_column_bytes(statement_, column);
    return data == nullptr ? QByteArray() : QByteArray(static_cast<const char*>(data), bytes);
}

} // namespace vantor
