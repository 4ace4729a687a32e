#pragma once
// Writes the serialised-archive encoding shared by language packs, the data exchange file and the
// signal cache files: little-endian 32-bit integers, floats, 32-bit booleans, doubles, dates and
// Unicode strings. Strings are always written in the Unicode form (marker 0xFF 0xFFFE) with the
// shortest length prefix.
//
// A failed device write puts the writer into a failed state; every later write does nothing.

#include "archive/ArchiveDate.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>

namespace vantor {

class ArchiveWriter {
public:
    // Writes at the device's current position; the device must be open for writing.
    explicit ArchiveWriter(QIODevice& device);
    // Appends to the buffer.
    explicit ArchiveWriter(QByteArray& buffer);

    void WriteInt32(qint32 value);
    void WriteFloat(float value);
    void WriteBool(bool value); // 4 bytes: 1 or 0
    void WriteDouble(double value);
    void WriteDate(const ArchiveDate& date);
    void WriteDateTime(const QDateTime& dateTime) { WriteDate(ArchiveDate::FromDateTime(dateTime)); }
    void WriteString(const QString& text);
    // Bytes as they are, without a length prefix.
    void WriteRaw(QByteArrayView bytes);

    bool Ok() const { return m_ok; }

private:
    template <typename T> void WriteLittleEndian(T value);

    QIODevice* m_device = nullptr;
    QByteArray* m_buffer = nullptr;
    bool m_ok = true;
};

// The length prefix of a Unicode string of the given length in UTF-16 code units, marker included.
QByteArray ArchiveStringPrefix(quint32 length);

} // namespace vantor
