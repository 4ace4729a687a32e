#include "store/DynamicRecordset.h"

#include "store/SqlDialect.h"

#include <QSqlRecord>

#include <thread>

namespace vantor {

CDynamicRecordset::CDynamicRecordset(QString table, int expectedColumns)
    : table_(std::move(table)), expectedColumns_(expectedColumns) {}

bool CDynamicRecordset::DiscoverColumns(const QSqlDatabase& db, const ColumnDiscoveryPolicy& policy) {
    if (columnsKnown_) {
        return true;
    }
    QString bare = table_;
    bare.remove(QLatin1Char('[')).remove(QLatin1Char(']'));
    for (int attempt = 1; attempt <= kColumnDiscoveryAttempts; ++attempt) {
        columns_.clear();
        const QSqlRecord record = db.record(CatalogTableName(db, bare));
        for (int i = 0; i < record.count(); ++i) {
            columns_ << QStringLiteral("[%1]").arg(record.fieldName(i));
        }
        if (columns_.size() >= expectedColumns_) {
            columnsKnown_ = true;
            return true;
        }
        if (attempt < kColumnDiscoveryAttempts) {
            if (policy.wait) {
                policy.wait(policy.retryWait);
            } else {
                std::this_thread::sleep_for(policy.retryWait);
            }
        }
    }
    columns_.clear();
    return false;
}

QStringList CDynamicRecordset::BareColumns() const {
    QStringList names;
    for (const QString& column : columns_) {
        names << column.mid(1, column.size() - 2);
    }
    return names;
}

} // namespace vantor
