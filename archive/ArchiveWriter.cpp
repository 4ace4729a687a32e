#include "archive/ArchiveWriter.h"

#include <QtEndian>

#include <bit>

namespace vantor {

ArchiveWriter::ArchiveWriter(QIODevice& device) : m_device(&device) {}

ArchiveWriter::ArchiveWriter(QByteArray& buffer) : m_buffer(&buffer) {}

template <typename T> void ArchiveWriter::WriteLittleEndian(T value) {
    char bytes[sizeof(T)];
    qToLittleEndian(value, bytes);
    WriteRaw(QByteArrayView(bytes, sizeof(T)));
}

void ArchiveWriter::WriteInt32(qint32 value) {
    WriteLittleEndian(value);
}

void ArchiveWriter::WriteFloat(float value) {
    WriteLittleEndian(std::bit_cast<quint32>(value));
}

void ArchiveWriter::WriteBool(bool value) {
    WriteInt32(value ? 1 : 0);
}

void ArchiveWriter::WriteDouble(double value) {
    WriteLittleEndian(std::bit_cast<quint64>(value));
}

void ArchiveWriter::WriteDate(const ArchiveDate& date) {
    WriteInt32(date.status);
    WriteDouble(date.days);
}

void ArchiveWriter::WriteString(const QString& text) {
    const auto length = static_cast<quint32>(text.size());
    QByteArray bytes = ArchiveStringPrefix(length);
    const qsizetype prefixSize = bytes.size();
    bytes.resize(prefixSize + 2 * text.size());
    qToLittleEndian<quint16>(text.utf16(), text.size(), bytes.data() + prefixSize);
    WriteRaw(bytes);
}

void ArchiveWriter::WriteRaw(QByteArrayView bytes) {
    if (!m_ok || bytes.isEmpty()) {
        return;
    }
    if (m_buffer != nullptr) {
        m_buffer->append(bytes);
    } else if (m_device->write(bytes.data(), bytes.size()) != bytes.size()) {
        m_ok = false;
    }
}

QByteArray ArchiveStringPrefix(quint32 length) {
    QByteArray prefix("\xFF\xFE\xFF", 3);
    char word[4];
    if (length < 0xFF) {
        prefix.append(static_cast<char>(length));
    } else if (length < 0xFFFE) {
        // 0xFFFE as a 16-bit length would read as the Unicode marker, 0xFFFF announces 32 bits.
        prefix.append('\xFF');
        qToLittleEndian(static_cast<quint16>(length), word);
        prefix.append(word, 2);
    } else {
        prefix.append("\xFF\xFF\xFF", 3);
        qToLittleEndian(length, word);
        prefix.append(word, 4);
    }
    return prefix;
}

} // namespace vantor
