#pragma once
// Reads the serialised-archive encoding written by ArchiveWriter (see there). Strings are read in
// any length form, Unicode (after the 0xFF 0xFFFE marker) or single-byte; single-byte characters
// are taken as Windows-1252, the code page such files were written in.
//
// Nothing read is trusted: a length or count that runs past the end of the data fails the reader
// instead of allocating. The first failure is sticky: every later read returns a zero value and
// the caller checks Ok() once after a group of reads.

#include "archive/ArchiveDate.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>

namespace vantor {

enum class ArchiveError {
    None,
    Truncated,   // the data ended inside a value
    BadLength,   // a negative count, or a count or length larger than the remaining data
    BadString,   // a malformed string prefix
    DeviceError, // the device refused to read
    BadContent,  // set by the caller through Fail(): the values read make no sense
};

class ArchiveReader {
public:
    // Smallest encoded sizes, for ReadCount.
    static constexpr qint64 kInt32Size = 4;
    static constexpr qint64 kFloatSize = 4;
    static constexpr qint64 kDoubleSize = 8;
    static constexpr qint64 kDateSize = 12;
    static constexpr qint64 kMinStringSize = 1;

    // Reads from a copy of the data (implicitly shared, not copied).
    explicit ArchiveReader(QByteArray data);
    // Reads from the device's current position to its end; the device must be open for reading.
    // The end of a file is taken when the reader is made: a file that shrinks while it is read
    // fails the reader (DeviceError) at the first value no longer there.
    explicit ArchiveReader(QIODevice& device);

    qint32 ReadInt32();
    float ReadFloat();
    bool ReadBool(); // any non-zero 32-bit value is true
    double ReadDouble();
    ArchiveDate ReadDate();
    QDateTime ReadDateTime(Qt::TimeSpec spec = Qt::LocalTime) { return ReadDate().ToDateTime(spec); }
    QString ReadString();
    // Exactly size bytes, without a length prefix.
    QByteArray ReadRaw(qint64 size);

    // A 32-bit element count that is then read element by element: refused (BadLength, result 0)
    // when negative or when count elements of at least minElementSize bytes each cannot fit in the
    // remaining data.
    qint32 ReadCount(qint64 minElementSize);

    bool Ok() const { return m_error == ArchiveError::None; }
    ArchiveError Error() const { return m_error; }
    // Bytes left to read; 0 once failed.
    qint64 Remaining() const;
    bool AtEnd() const { return Remaining() == 0; }
    // Marks the reader failed (keeps an earlier error).
    void Fail(ArchiveError error = ArchiveError::BadContent);

private:
    bool Take(char* out, qint64 size);
    template <typename T> T ReadLittleEndian();
    quint32 ReadLengthAfterByte(quint8 first, bool& unicodeMarker);

    QByteArray m_data;
    qint64 m_offset = 0;
    QIODevice* m_device = nullptr;
    qint64 m_deviceEnd = -1; // the size of a device that is not sequential
    ArchiveError m_error = ArchiveError::None;
};

// Decodes single-byte text of the Windows-1252 code page; the five bytes it leaves undefined
// keep their own value as code point.
QString DecodeWindows1252(QByteArrayView bytes);

} // namespace vantor
