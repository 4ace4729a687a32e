#include "reports/mail/SingleByteText.h"

#include "archive/ArchiveReader.h"

#include <QHash>

namespace vantor {
namespace {

// Character → byte, derived from the decoder so the two can never disagree.
const QHash<char16_t, char>& EncodingTable() {
    static const QHash<char16_t, char> table = [] {
        QByteArray all(256, Qt::Uninitialized);
        for (int i = 0; i < 256; ++i) {
            all[i] = static_cast<char>(i);
        }
        const QString decoded = DecodeWindows1252(all);
        QHash<char16_t, char> map;
        for (int i = 0; i < 256; ++i) {
            map.insert(decoded[i].unicode(), static_cast<char>(i));
        }
        return map;
    }();
    return table;
}

} // namespace

QByteArray EncodeWindows1252(QStringView text) {
    const auto& table = EncodingTable();
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar c : text) {
        const auto found = table.constFind(c.unicode());
        bytes.append(found != table.constEnd() ? *found : '?');
    }
    return bytes;
}

} // namespace vantor
