#include "platform/LeftOutValues.h"

#include <QSet>

#include <mutex>

Q_LOGGING_CATEGORY(lcStoredValues, "vantor.stored-values", QtWarningMsg)

namespace vantor {

void ReportLeftOutValue(const QString& key, const QString& message) {
    static std::mutex mutex;
    static QSet<QString> reported;
    {
        const std::scoped_lock lock(mutex);
        if (reported.contains(key)) {
            return;
        }
        reported.insert(key);
    }
    qCWarning(lcStoredValues).noquote() << message;
}

} // namespace vantor
