#include "store/SqlDialect.h"

#include <QRegularExpression>

namespace vantor {
namespace {

bool IsWordCharacter(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

} // namespace

const SqlDialect& SqlDialect::Of(SqlEngine engine) {
    static const SqlDialect sqlite(SqlEngine::Sqlite);
    static const SqlDialect postgres(SqlEngine::Postgres);
    return engine == SqlEngine::Postgres ? postgres : sqlite;
}

QString SqlDialect::Name() const {
    return engine_ == SqlEngine::Postgres ? QStringLiteral("PostgreSQL") : QStringLiteral("SQLite");
}

QString SqlDialect::QuoteNames(const QString& sql) const {
    if (engine_ == SqlEngine::Sqlite) {
        return sql;
    }
    QString out = sql;
    static const QRegularExpression bracketed(QStringLiteral("\\[([A-Za-z0-9_]+)\\]"));
    out.replace(bracketed, QStringLiteral("\"\\1\""));
    return out;
}

QString SqlDialect::Translate(const QString& sql) const {
    if (engine_ == SqlEngine::Sqlite) {
        return sql;
    }
    QString out;
    out.reserve(sql.size() + 16);
    int mark = 0;
    QChar quote; // inside a '...' literal or a "..." name when set
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QChar c = sql[i];
        if (!quote.isNull()) {
            out += c;
            if (c == quote) {
                quote = QChar();
            }
            continue;
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
            out += c;
        } else if (c == QLatin1Char('[')) {
            const qsizetype end = sql.indexOf(QLatin1Char(']'), i + 1);
            if (end < 0) {
                out += c;
                continue;
            }
            out += QLatin1Char('"') + sql.mid(i + 1, end - i - 1) + QLatin1Char('"');
            i = end;
        } else if (c == QLatin1Char('?')) {
            out += QStringLiteral("$%1").arg(++mark);
        } else if (IsWordCharacter(c) && (i == 0 || !IsWordCharacter(sql[i - 1]))) {
            qsizetype end = i;
            while (end < sql.size() && IsWordCharacter(sql[end])) {
                ++end;
            }
            const QString word = sql.mid(i, end - i);
            out += word.compare(QLatin1String("rowid"), Qt::CaseInsensitive) == 0 ? RowId() : word;
            i = end - 1;
        } else {
            out += c;
        }
    }
    return out;
}

QString SqlDialect::TypeOf(ColumnType type) const {
    const bool server = engine_ == SqlEngine::Postgres;
    switch (type) {
    case ColumnType::Text:
        return server ? QStringLiteral("varchar(255)") : QStringLiteral("TEXT(255)");
    case ColumnType::Float:
        return server ? QStringLiteral("real") : QStringLiteral("REAL");
    case ColumnType::Boolean:
        return server ? QStringLiteral("boolean") : QStringLiteral("BOOLEAN");
    case ColumnType::Integer:
        return server ? QStringLiteral("integer") : QStringLiteral("INTEGER");
    case ColumnType::DateTime:
        return server ? QStringLiteral("timestamp") : QStringLiteral("DATETIME");
    case ColumnType::Binary:
        return server ? QStringLiteral("bytea") : QStringLiteral("BLOB");
    }
    return {};
}

QString SqlDialect::RowId() const {
    return engine_ == SqlEngine::Postgres ? QStringLiteral("vantor_rowid") : QStringLiteral("rowid");
}

QString SqlDialect::CreateTable(const QString& table,
                                const std::vector<std::pair<QString, ColumnType>>& columns) const {
    QStringList declared;
    if (engine_ == SqlEngine::Postgres) {
        declared << QStringLiteral("vantor_rowid bigint GENERATED ALWAYS AS IDENTITY PRIMARY KEY");
    }
    for (const auto& [name, type] : columns) {
        declared << QStringLiteral("[%1] %2").arg(name, TypeOf(type));
    }
    return Translate(QStringLiteral("CREATE TABLE %1 (%2)").arg(table, declared.join(QStringLiteral(", "))));
}

QString SqlDialect::InsertionOrder() const {
    return engine_ == SqlEngine::Postgres ? QStringLiteral(" ORDER BY vantor_rowid") : QString();
}

QStringList SqlDialect::AfterBeginWrite() const {
    if (engine_ == SqlEngine::Postgres) {
        return {QStringLiteral("SELECT pg_advisory_xact_lock(%1)").arg(kServerWriteLockKey)};
    }
    return {};
}

QString CatalogTableName(const QSqlDatabase& db, const QString& table) {
    return db.driverName() == QLatin1String("QPSQL") ? table.toLower() : table;
}

} // namespace vantor
