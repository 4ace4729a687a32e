#include "ui/common/Mnemonics.h"

namespace vantor {

QString MnemonicSet::Mark(const QString& text) {
    QString escaped = text;
    escaped.replace(QLatin1Char('&'), QLatin1String("&&"));
    for (qsizetype i = 0; i < escaped.size(); ++i) {
        const QChar c = escaped.at(i);
        if (c == QLatin1Char('&') || !c.isLetterOrNumber()) {
            continue;
        }
        const QChar key = c.toLower();
        if (used_.contains(key)) {
            continue;
        }
        used_.insert(key);
        return escaped.insert(i, QLatin1Char('&'));
    }
    return escaped;
}

} // namespace vantor
