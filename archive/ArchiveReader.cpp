#include "archive/ArchiveReader.h"

#include <QtEndian>

#include <array>
#include <bit>
#include <cstring>

namespace vantor {
namespace {

constexpr quint16 kUnicodeMarker = 0xFFFE;
constexpr quint16 kLength32Follows = 0xFFFF;
constexpr quint8 kLength16Follows = 0xFF;
// Longer than any string the system writes, and far below what QString can hold.
constexpr quint32 kMaxStringLength = 0x3FFFFFFF;

// Windows-1252 bytes 0x80..0x9F; the rest of the code page equals Latin-1.
constexpr std::array<char16_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

} // namespace

ArchiveReader::ArchiveReader(QByteArray data) : m_data(std::move(data)) {}

ArchiveReader::ArchiveReader(QIODevice& device)
    : m_device(&device), m_deviceEnd(device.isSequential() ? -1 : device.size()) {}

qint64 ArchiveReader::Remaining() const {
    if (!Ok()) {
        return 0;
    }
    if (m_device == nullptr) {
        return m_data.size() - m_offset;
    }
    if (m_device->isSequential()) {
        return m_device->bytesAvailable();
    }
    return qMax<qint64>(0, m_deviceEnd - m_device->pos());
}

void ArchiveReader::Fail(ArchiveError error) {
    if (Ok()) {
        m_error = error;
    }
}

bool ArchiveReader::Take(char* out, qint64 size) {
    if (!Ok()) {
        return false;
    }
    if (size > Remaining()) {
        Fail(ArchiveError::Truncated);
        return false;
    }
    if (m_device == nullptr) {
        std::memcpy(out, m_data.constData() + m_offset, static_cast<size_t>(size));
        m_offset += size;
        return true;
    }
    if (m_device->read(out, size) != size) {
        Fail(ArchiveError::DeviceError);
        return false;
    }
    return true;
}

template <typename T> T ArchiveReader::ReadLittleEndian() {
    char bytes[sizeof(T)];
    return Take(bytes, sizeof(T)) ? qFromLittleEndian<T>(bytes) : T{};
}

qint32 ArchiveReader::ReadInt32() {
    return ReadLittleEndian<qint32>();
}

float ArchiveReader::ReadFloat() {
    return std::bit_cast<float>(ReadLittleEndian<quint32>());
}

bool ArchiveReader::ReadBool() {
    return ReadInt32() != 0;
}

double ArchiveReader::ReadDouble() {
    return std::bit_cast<double>(ReadLittleEndian<quint64>());
}

ArchiveDate ArchiveReader::ReadDate() {
    ArchiveDate date;
    date.status = ReadInt32();
    date.days = ReadDouble();
    return Ok() ? date : ArchiveDate{};
}

QByteArray ArchiveReader::ReadRaw(qint64 size) {
    if (size < 0 || size > Remaining()) {
        Fail(size < 0 ? ArchiveError::BadLength : ArchiveError::Truncated);
        return {};
    }
    QByteArray bytes(size, Qt::Uninitialized);
    return Take(bytes.data(), size) ? bytes : QByteArray();
}

qint32 ArchiveReader::ReadCount(qint64 minElementSize) {
    const qint32 count = ReadInt32();
    if (!Ok()) {
        return 0;
    }
    if (count < 0 || (count > 0 && count > Remaining() / qMax<qint64>(1, minElementSize))) {
        Fail(ArchiveError::BadLength);
        return 0;
    }
    return count;
}

quint32 ArchiveReader::ReadLengthAfterByte(quint8 first, bool& unicodeMarker) {
    unicodeMarker = false;
    if (first < kLength16Follows) {
        return first;
    }
    const auto length16 = ReadLittleEndian<quint16>();
    if (length16 == kUnicodeMarker) {
        unicodeMarker = true;
        return 0;
    }
    if (length16 == kLength32Follows) {
        return ReadLittleEndian<quint32>();
    }
    return length16;
}

QString ArchiveReader::ReadString() {
    bool marker = false;
    quint32 length = ReadLengthAfterByte(ReadLittleEndian<quint8>(), marker);
    const bool unicode = marker;
    if (unicode) {
        length = ReadLengthAfterByte(ReadLittleEndian<quint8>(), marker);
        if (marker) {
            // A second marker: nothing writes that.
            Fail(ArchiveError::BadString);
        }
    }
    if (!Ok()) {
        return {};
    }
    const qint64 byteCount = unicode ? 2 * static_cast<qint64>(length) : length;
    if (length > kMaxStringLength || byteCount > Remaining()) {
        Fail(ArchiveError::BadLength);
        return {};
    }
    const QByteArray bytes = ReadRaw(byteCount);
    if (!Ok()) {
        return {};
    }
    if (!unicode) {
        return DecodeWindows1252(bytes);
    }
    QString text(static_cast<qsizetype>(length), Qt::Uninitialized);
    qFromLittleEndian<quint16>(bytes.constData(), length, text.data());
    return text;
}

QString DecodeWindows1252(QByteArrayView bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char byte : bytes) {
        const auto value = static_cast<quint8>(byte);
        *out++ = (value >= 0x80 && value < 0xA0) ? QChar(kWindows1252High[value - 0x80]) : QChar(value);
    }
    return text;
}

} // namespace vantor
