#include "interchange/Uff58.h"

#include "interchange/Log.h"

#include <QRegularExpression>
#include <QtEndian>

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>

namespace vantor {
namespace {

constexpr int kLineWidth = 80;
constexpr int kAsciiHeaderLines = 11;
constexpr int kByteOrderLittle = 1;
constexpr int kByteOrderBig = 2;
constexpr int kIeee754 = 2;
// Datasets that describe the file rather than hold functions: header (151) and units (164).
constexpr std::array<int, 2> kDescriptiveDatasets = {151, 164};
// An uneven abscissa is accepted when every value lies this close (in increments) to an even grid.
constexpr double kEvenGridTolerance = 1e-3;

const QRegularExpression& ExactIncrementPattern() {
    static const QRegularExpression pattern(QStringLiteral(R"(\bdx=([-+0-9.eE]+))"));
    return pattern;
}

// ---- writing ------------------------------------------------------------------------------------

void PadTo80(QByteArray& out, qsizetype lineStart) {
    const qsizetype used = out.size() - lineStart;
    if (used < kLineWidth) {
        out.append(kLineWidth - used, ' ');
    }
    out.append('\n');
}

QByteArray Text(const QString& text, int width) {
    QByteArray bytes = text.toLatin1();
    bytes.replace('\n', ' ').replace('\r', ' ');
    return bytes.left(width);
}

void Int(QByteArray& out, long long value, int width) {
    char buffer[24];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    const auto length = static_cast<int>(end - buffer);
    if (length < width) {
        out.append(width - length, ' ');
    }
    out.append(buffer, length);
}

// Fortran Ew.d as the usual writers produce it: d digits after the point, an exponent of at least
// two digits, right-justified in w columns. Magnitudes below 1e-99 are written as 0 so the
// exponent never needs a third digit.
void Real(QByteArray& out, double value, int width, int decimals) {
    if (!std::isfinite(value) || std::fabs(value) < 1e-99) {
        value = std::isfinite(value) ? 0.0 : value;
    }
    char buffer[40];
    const auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, decimals);
    auto length = static_cast<int>(end - buffer);
    for (int i = 0; i < length; ++i) {
        if (buffer[i] == 'e') {
            buffer[i] = 'E';
        }
    }
    if (length < width) {
        out.append(width - length, ' ');
    }
    out.append(buffer, length);
}

void Axis(QByteArray& out, const UffAxis& axis) {
    const qsizetype start = out.size();
    Int(out, axis.specificDataType, 10);
    Int(out, axis.lengthExponent, 5);
    Int(out, axis.forceExponent, 5);
    Int(out, axis.temperatureExponent, 5);
    out.append(' ');
    out.append(Text(axis.label, 20).leftJustified(20, ' '));
    out.append(' ');
    out.append(Text(axis.unitsLabel, 20).leftJustified(20, ' '));
    PadTo80(out, start);
}

void Entity(QByteArray& out, const QString& name, int node, int direction) {
    out.append(' ');
    out.append(Text(name, 10).rightJustified(10, ' '));
    Int(out, node, 10);
    Int(out, direction, 4);
}

void WriteFunction(QByteArray& out, const UffFunction& f, UffEncoding encoding) {
    const bool binary = encoding != UffEncoding::Ascii;
    const bool single = encoding == UffEncoding::BinarySingle;
    const auto count = static_cast<long long>(f.values.size());
    const long long bytes = count * (single ? 4 : 8);

    qsizetype start = out.size();
    Int(out, -1, 6);
    PadTo80(out, start);
    start = out.size();
    Int(out, 58, 6);
    if (binary) {
        out.append('b');
        Int(out, kByteOrderLittle, 6);
        Int(out, kIeee754, 6);
        Int(out, kAsciiHeaderLines, 12);
        Int(out, bytes, 12);
        Int(out, 0, 6);
        Int(out, 0, 6);
        Int(out, 0, 12);
        Int(out, 0, 12);
    }
    PadTo80(out, start);

    for (const QString& id : f.idLines) {
        start = out.size();
        out.append(Text(id, kLineWidth));
        PadTo80(out, start);
    }

    start = out.size();
    Int(out, f.functionType, 5);
    Int(out, f.functionId, 10);
    Int(out, f.versionNumber, 5);
    Int(out, f.loadCase, 10);
    Entity(out, f.responseEntity, f.responseNode, f.responseDirection);
    Entity(out, f.referenceEntity, f.referenceNode, f.referenceDirection);
    PadTo80(out, start);

    start = out.size();
    Int(out, single ? kUffRealSingle : kUffRealDouble, 10);
    Int(out, count, 10);
    Int(out, 1, 10);
    Real(out, f.abscissaMinimum, 13, 5);
    Real(out, f.abscissaIncrement, 13, 5);
    Real(out, f.zAxisValue, 13, 5);
    PadTo80(out, start);

    Axis(out, f.abscissa);
    Axis(out, f.ordinate);
    Axis(out, f.denominator);
    Axis(out, f.zAxis);

    if (binary) {
        // IEEE values in little-endian order, directly followed by the closing delimiter.
        const qsizetype at = out.size();
        out.resize(at + bytes);
        char* p = out.data() + at;
        for (const double v : f.values) {
            if (single) {
                const auto bits = qToLittleEndian(std::bit_cast<std::uint32_t>(static_cast<float>(v)));
                std::memcpy(p, &bits, 4);
                p += 4;
            } else {
                const auto bits = qToLittleEndian(std::bit_cast<std::uint64_t>(v));
                std::memcpy(p, &bits, 8);
                p += 8;
            }
        }
    } else {
        out.reserve(out.size() + count * 21 + count / 4 + 100);
        for (long long i = 0; i < count; ++i) {
            Real(out, f.values[static_cast<std::size_t>(i)], 20, 12);
            if (i % 4 == 3 || i == count - 1) {
                out.append('\n');
            }
        }
    }
    start = out.size();
    Int(out, -1, 6);
    PadTo80(out, start);
}

// ---- reading ------------------------------------------------------------------------------------

class Cursor {
public:
    explicit Cursor(const QByteArray& image) : image_(image) {}

    bool AtEnd() const { return pos_ >= image_.size(); }
    qsizetype Remaining() const { return image_.size() - pos_; }
    int LineNumber() const { return line_; }
    qsizetype Position() const { return pos_; }

    // The next line without its line ending; nullopt at the end of the image.
    std::optional<QByteArray> Line() {
        if (AtEnd()) {
            return std::nullopt;
        }
        qsizetype end = image_.indexOf('\n', pos_);
        const qsizetype next = end < 0 ? image_.size() : end + 1;
        if (end < 0) {
            end = image_.size();
        }
        if (end > pos_ && image_[end - 1] == '\r') {
            --end;
        }
        QByteArray line = image_.mid(pos_, end - pos_);
        pos_ = next;
        ++line_;
        return line;
    }

    // The next `count` bytes; false when fewer are left.
    bool Bytes(qsizetype count, const char*& data) {
        if (image_.size() - pos_ < count) {
            return false;
        }
        data = image_.constData() + pos_;
        pos_ += count;
        return true;
    }

private:
    const QByteArray& image_;
    qsizetype pos_ = 0;
    int line_ = 0;
};

bool IsDelimiter(const QByteArray& line) {
    return line.left(6).trimmed() == "-1" && line.mid(6).trimmed().isEmpty();
}

struct ParseError {
    QString text;
};

// Fixed-width fields of a record line, blanks around each field ignored.
class Fields {
public:
    Fields(const QByteArray& line, int recordLine) : line_(line), recordLine_(recordLine) {}

    QByteArray Take(int width) {
        QByteArray field = line_.mid(at_, width);
        at_ += width;
        return field.trimmed();
    }
    int Integer(int width, const char* what) {
        const QByteArray field = Take(width);
        if (field.isEmpty()) {
            return 0;
        }
        int value = 0;
        const auto [end, ec] = std::from_chars(field.constData(), field.constData() + field.size(), value);
        if (ec != std::errc() || end != field.constData() + field.size()) {
            throw ParseError{QStringLiteral("record line %1: %2 \"%3\" is not a whole number")
                                 .arg(recordLine_)
                                 .arg(QLatin1String(what), QString::fromLatin1(field))};
        }
        return value;
    }
    double Real(int width, const char* what);
    QString Label(int width) { return QString::fromLatin1(Take(width)); }

private:
    const QByteArray& line_;
    int recordLine_;
    int at_ = 0;
};

// A Fortran real field: E or D exponent, blanks around.
std::optional<double> ParseReal(QByteArray field) {
    field = field.trimmed();
    if (field.isEmpty()) {
        return std::nullopt;
    }
    for (char& c : field) {
        if (c == 'D' || c == 'd') {
            c = 'E';
        }
    }
    const char* begin = field.constData();
    if (*begin == '+') {
        ++begin;
    }
    double value = 0;
    const auto [end, ec] = std::from_chars(begin, field.constData() + field.size(), value);
    if (ec != std::errc() || end != field.constData() + field.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

double Fields::Real(int width, const char* what) {
    const QByteArray field = Take(width);
    if (field.isEmpty()) {
        return 0.0;
    }
    const auto value = ParseReal(field);
    if (!value) {
        throw ParseError{QStringLiteral("record line %1: %2 \"%3\" is not a number")
                             .arg(recordLine_)
                             .arg(QLatin1String(what), QString::fromLatin1(field))};
    }
    return *value;
}

UffAxis ReadAxis(const QByteArray& line, int recordLine) {
    Fields fields(line, recordLine);
    UffAxis axis;
    axis.specificDataType = fields.Integer(10, "specific data type");
    axis.lengthExponent = fields.Integer(5, "length units exponent");
    axis.forceExponent = fields.Integer(5, "force units exponent");
    axis.temperatureExponent = fields.Integer(5, "temperature units exponent");
    fields.Take(1);
    axis.label = fields.Label(20);
    fields.Take(1);
    axis.unitsLabel = fields.Label(20);
    return axis;
}

struct Form {
    int ordinateType = 0;
    long long count = 0;
    int spacing = 1;
};

// Values of record 12 in ASCII: fixed-width fields per the data case.
std::vector<double> ReadAsciiValues(Cursor& cursor, const Form& form, bool& closed) {
    const bool single = form.ordinateType == kUffRealSingle;
    const bool even = form.spacing == 1;
    // Field widths in the order they repeat on a line.
    std::vector<int> widths;
    if (single) {
        widths.assign(6, 13);
    } else if (even) {
        widths.assign(4, 20);
    } else {
        widths = {13, 20, 13, 20};
    }
    const long long expected = even ? form.count : 2 * form.count;
    // Room for what the announced count asks, but never more than the bytes left can hold (each
    // value takes a field of at least 13 characters): the count is the file's word, the bytes are
    // what is there.
    const long long present = static_cast<long long>(cursor.Remaining()) / 13 + 1;
    std::vector<double> values;
    values.reserve(static_cast<std::size_t>(std::clamp<long long>(expected, 0, present)));
    closed = false;
    while (auto line = cursor.Line()) {
        if (IsDelimiter(*line)) {
            closed = true;
            break;
        }
        int at = 0;
        for (std::size_t k = 0; at < line->size(); k = (k + 1) % widths.size()) {
            const QByteArray field = line->mid(at, widths[k]);
            at += widths[k];
            if (field.trimmed().isEmpty()) {
                continue;
            }
            const auto value = ParseReal(field);
            if (!value) {
                throw ParseError{QStringLiteral("line %1: \"%2\" is not a number")
                                     .arg(cursor.LineNumber())
                                     .arg(QString::fromLatin1(field.trimmed()))};
            }
            values.push_back(*value);
        }
    }
    return values;
}

std::vector<double> ReadBinaryValues(const char* data, long long bytes, bool single, bool bigEndian) {
    const long long size = single ? 4 : 8;
    std::vector<double> values(static_cast<std::size_t>(bytes / size));
    const bool swap = bigEndian == (std::endian::native == std::endian::little);
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (single) {
            std::uint32_t bits;
            std::memcpy(&bits, data + i * 4, 4);
            values[i] = static_cast<double>(std::bit_cast<float>(swap ? qbswap(bits) : bits));
        } else {
            std::uint64_t bits;
            std::memcpy(&bits, data + i * 8, 8);
            values[i] = std::bit_cast<double>(swap ? qbswap(bits) : bits);
        }
    }
    return values;
}

// Interleaved x,y pairs whose x lie on an even grid become the y values with that grid's start
// and increment.
void Unpair(UffFunction& f, const std::vector<double>& pairs) {
    const std::size_t n = pairs.size() / 2;
    f.values.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        f.values[i] = pairs[2 * i + 1];
    }
    f.abscissaMinimum = pairs[0];
    f.abscissaIncrement = n > 1 ? (pairs[2 * (n - 1)] - pairs[0]) / static_cast<double>(n - 1) : 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        const double grid = f.abscissaMinimum + static_cast<double>(i) * f.abscissaIncrement;
        if (std::fabs(pairs[2 * i] - grid) > kEvenGridTolerance * std::fabs(f.abscissaIncrement)) {
            throw ParseError{QStringLiteral("the abscissa is not evenly spaced (value %1 at %2)")
                                 .arg(i + 1)
                                 .arg(pairs[2 * i], 0, 'g', 9)};
        }
    }
}

UffFunction ReadFunction(Cursor& cursor, const QByteArray& idLine, int headerLine) {
    const bool binary = idLine.size() > 6 && (idLine[6] == 'b' || idLine[6] == 'B');
    int byteOrder = kByteOrderLittle;
    long long byteCount = 0;
    if (binary) {
        Fields fields(idLine, headerLine);
        fields.Take(7);
        byteOrder = fields.Integer(6, "byte ordering");
        const int fpFormat = fields.Integer(6, "floating-point format");
        const int asciiLines = fields.Integer(12, "number of ASCII lines");
        const QByteArray count = fields.Take(12);
        const auto [end, ec] =
            std::from_chars(count.constData(), count.constData() + count.size(), byteCount);
        if (ec != std::errc() || byteCount < 0) {
            throw ParseError{QStringLiteral("the byte count \"%1\" is not a whole number")
                                 .arg(QString::fromLatin1(count))};
        }
        if (byteOrder != kByteOrderLittle && byteOrder != kByteOrderBig) {
            throw ParseError{
                QStringLiteral("byte ordering %1 is neither 1 (little) nor 2 (big endian)").arg(byteOrder)};
        }
        if (fpFormat != kIeee754) {
            throw ParseError{QStringLiteral("floating-point format %1 is not IEEE 754 (2)").arg(fpFormat)};
        }
        if (asciiLines != kAsciiHeaderLines) {
            throw ParseError{QStringLiteral("%1 ASCII lines announced, dataset 58b has 11").arg(asciiLines)};
        }
    }

    std::array<QByteArray, kAsciiHeaderLines> header;
    for (auto& line : header) {
        auto next = cursor.Line();
        if (!next || IsDelimiter(*next)) {
            throw ParseError{QStringLiteral("truncated: the dataset ends inside its header")};
        }
        line = *next;
    }
    const int firstHeaderLine = cursor.LineNumber() - kAsciiHeaderLines + 1;

    UffFunction f;
    for (int i = 0; i < 5; ++i) {
        f.idLines[static_cast<std::size_t>(i)] =
            QString::fromLatin1(header[static_cast<std::size_t>(i)]).trimmed();
    }
    {
        Fields fields(header[5], firstHeaderLine + 5);
        f.functionType = fields.Integer(5, "function type");
        f.functionId = fields.Integer(10, "function identification number");
        f.versionNumber = fields.Integer(5, "version number");
        f.loadCase = fields.Integer(10, "load case");
        fields.Take(1);
        f.responseEntity = fields.Label(10);
        f.responseNode = fields.Integer(10, "response node");
        f.responseDirection = fields.Integer(4, "response direction");
        fields.Take(1);
        f.referenceEntity = fields.Label(10);
        f.referenceNode = fields.Integer(10, "reference node");
        f.referenceDirection = fields.Integer(4, "reference direction");
    }
    Form form;
    {
        Fields fields(header[6], firstHeaderLine + 6);
        form.ordinateType = fields.Integer(10, "ordinate data type");
        form.count = fields.Integer(10, "number of values");
        form.spacing = fields.Integer(10, "abscissa spacing");
        f.abscissaMinimum = fields.Real(13, "abscissa minimum");
        f.abscissaIncrement = fields.Real(13, "abscissa increment");
        f.zAxisValue = fields.Real(13, "z-axis value");
    }
    f.abscissa = ReadAxis(header[7], firstHeaderLine + 7);
    f.ordinate = ReadAxis(header[8], firstHeaderLine + 8);
    f.denominator = ReadAxis(header[9], firstHeaderLine + 9);
    f.zAxis = ReadAxis(header[10], firstHeaderLine + 10);

    if (form.ordinateType != kUffRealSingle && form.ordinateType != kUffRealDouble) {
        throw ParseError{
            QStringLiteral("ordinate data type %1 is not real data (2 or 4)").arg(form.ordinateType)};
    }
    if (form.spacing != 0 && form.spacing != 1) {
        throw ParseError{QStringLiteral("abscissa spacing %1 is neither 0 nor 1").arg(form.spacing)};
    }
    if (form.count <= 0) {
        throw ParseError{QStringLiteral("record 7 announces %1 values").arg(form.count)};
    }
    const bool single = form.ordinateType == kUffRealSingle;
    const long long expected = form.spacing == 1 ? form.count : 2 * form.count;

    std::vector<double> values;
    if (binary) {
        if (byteCount != expected * (single ? 4 : 8)) {
            throw ParseError{QStringLiteral("%1 data bytes announced, %2 values of record 7 need %3")
                                 .arg(byteCount)
                                 .arg(form.count)
                                 .arg(expected * (single ? 4 : 8))};
        }
        const char* data = nullptr;
        if (!cursor.Bytes(byteCount, data)) {
            throw ParseError{
                QStringLiteral("truncated: fewer than the %1 data bytes announced").arg(byteCount)};
        }
        values = ReadBinaryValues(data, byteCount, single, byteOrder == kByteOrderBig);
        // The closing delimiter follows the data directly; some writers put a line break first.
        auto closing = cursor.Line();
        if (closing && closing->trimmed().isEmpty()) {
            closing = cursor.Line();
        }
        if (!closing || !IsDelimiter(*closing)) {
            throw ParseError{QStringLiteral("truncated: no \"-1\" after the %1 data bytes").arg(byteCount)};
        }
    } else {
        bool closed = false;
        values = ReadAsciiValues(cursor, form, closed);
        if (!closed) {
            throw ParseError{QStringLiteral("truncated: no closing \"-1\" after %1 of %2 values")
                                 .arg(values.size())
                                 .arg(expected)};
        }
        if (static_cast<long long>(values.size()) != expected) {
            throw ParseError{QStringLiteral("record 7 announces %1 values, the data holds %2")
                                 .arg(expected)
                                 .arg(values.size())};
        }
    }
    if (form.spacing == 1) {
        f.values = std::move(values);
    } else {
        Unpair(f, values);
    }

    // The exact increment this program's writer keeps in ID line 5.
    const auto match = ExactIncrementPattern().match(f.idLines[4]);
    if (match.hasMatch()) {
        if (const auto exact = ParseReal(match.captured(1).toLatin1()); exact && *exact > 0) {
            f.abscissaIncrement = *exact;
        }
    }
    return f;
}

} // namespace

QString UffExactIncrementTag(double increment) {
    char buffer[40];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, increment);
    return QStringLiteral("dx=") + QString::fromLatin1(buffer, static_cast<qsizetype>(end - buffer));
}

QByteArray WriteUff(const std::vector<UffFunction>& functions, UffEncoding encoding) {
    QByteArray out;
    for (const UffFunction& f : functions) {
        WriteFunction(out, f, encoding);
    }
    return out;
}

UffReadResult ReadUff(const QByteArray& image) {
    UffReadResult result;
    Cursor cursor(image);
    int record = 0;
    while (true) {
        auto line = cursor.Line();
        while (line && line->trimmed().isEmpty()) {
            line = cursor.Line();
        }
        if (!line) {
            break;
        }
        ++record;
        const int startLine = cursor.LineNumber();
        const auto fail = [&](const QString& text) {
            result.functions.clear();
            result.error = QStringLiteral("record %1 (line %2): %3").arg(record).arg(startLine).arg(text);
            qCWarning(lcInterchange) << "UFF file refused:" << result.error;
            return result;
        };
        if (!IsDelimiter(*line)) {
            return fail(QStringLiteral("a dataset starts with \"    -1\", found \"%1\"")
                            .arg(QString::fromLatin1(line->left(20))));
        }
        const auto idLine = cursor.Line();
        if (!idLine) {
            return fail(QStringLiteral("truncated: no dataset number after \"-1\""));
        }
        bool numberOk = false;
        const int type = idLine->left(6).trimmed().toInt(&numberOk);
        if (!numberOk) {
            return fail(
                QStringLiteral("\"%1\" is not a dataset number").arg(QString::fromLatin1(idLine->left(6))));
        }
        if (std::find(kDescriptiveDatasets.begin(), kDescriptiveDatasets.end(), type) !=
            kDescriptiveDatasets.end()) {
            bool closed = false;
            while (auto skipped = cursor.Line()) {
                if (IsDelimiter(*skipped)) {
                    closed = true;
                    break;
                }
            }
            if (!closed) {
                return fail(QStringLiteral("truncated: dataset %1 has no closing \"-1\"").arg(type));
            }
            --record; // only function records are counted
            continue;
        }
        if (type != 58) {
            return fail(
                QStringLiteral("dataset type %1; only 58 and 58b hold time records and spectra").arg(type));
        }
        try {
            UffFunction f = ReadFunction(cursor, *idLine, startLine + 1);
            f.recordNumber = record;
            f.firstLine = startLine;
            result.functions.push_back(std::move(f));
        } catch (const ParseError& error) {
            return fail(error.text);
        }
    }
    if (result.functions.empty()) {
        result.error = QStringLiteral("the file holds no dataset 58");
        qCWarning(lcInterchange) << "UFF file refused:" << result.error;
    }
    return result;
}

} // namespace vantor
