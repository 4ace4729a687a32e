#pragma once
// Universal File Format dataset 58 ("function at nodal DOF") and its binary form 58b, the interchange
// format of test and measurement software for time records and spectra.
//
// Layout (the published SDRC/UC-SDRL description of dataset 58 and of the binary 58b extension):
// every dataset lies between two "    -1" lines (I6); the line after the first holds the dataset
// number (I6), for 58b followed by "b" and (I6,I6,I12,I12,I6,I6,I12,I12): byte order (1 little,
// 2 big endian), floating-point format (2 IEEE 754), 11 ASCII lines, the byte count of the data,
// four zeros. Then eleven 80-column ASCII records:
//   1-5  ID lines (80A1)
//   6    function type, function id, version, load case (2(I5,I10)), response entity, node,
//        direction, reference entity, node, direction (2(1X,10A1,I10,I4))
//   7    ordinate data type (2 real single, 4 real double), value count, abscissa spacing
//        (1 even), abscissa minimum, increment, z-axis value (3I10,3E13.5)
//   8-11 data characteristics of abscissa, ordinate numerator, ordinate denominator and z axis:
//        specific data type, length, force and temperature unit exponents, axis label and units
//        label (I10,3I5,2(1X,20A1))
// and record 12, the values: ASCII 6E13.5 (single) or 4E20.12 (double) per line, uneven abscissa
// as interleaved x,y pairs (single 6E13.5, double 2(E13.5,E20.12)); 58b stores the same sequence
// as raw IEEE values right after record 11, followed directly by "    -1".
//
// The abscissa fields of record 7 carry six significant digits only, so the writer also puts the
// exact sampling frequency (or line spacing) into ID line 5 as "dx=<increment>" with seventeen
// significant digits, and the reader prefers it when it is there.

#include <QByteArray>
#include <QString>

#include <array>
#include <vector>

namespace vantor {

// Function types of record 6 this program writes and reads.
inline constexpr int kUffTimeResponse = 1;
inline constexpr int kUffSpectrum = 12;

// Specific data types of records 8 to 11.
inline constexpr int kUffDataUnknown = 0;
inline constexpr int kUffDataVelocity = 11;
inline constexpr int kUffDataAcceleration = 12;
inline constexpr int kUffDataTime = 17;
inline constexpr int kUffDataFrequency = 18;

// Ordinate data types of record 7.
inline constexpr int kUffRealSingle = 2;
inline constexpr int kUffRealDouble = 4;

enum class UffEncoding {
    Ascii,        // dataset 58, values in double precision (4E20.12)
    BinaryDouble, // dataset 58b, little-endian IEEE doubles
    BinarySingle, // dataset 58b, little-endian IEEE singles
};

// One of the data-characteristic records 8 to 11.
struct UffAxis {
    int specificDataType = kUffDataUnknown;
    int lengthExponent = 0;
    int forceExponent = 0;
    int temperatureExponent = 0;
    QString label = QStringLiteral("NONE");
    QString unitsLabel = QStringLiteral("NONE");
};

// One dataset 58: an evenly spaced real function.
struct UffFunction {
    std::array<QString, 5> idLines{QStringLiteral("NONE"), QStringLiteral("NONE"), QStringLiteral("NONE"),
                                   QStringLiteral("NONE"), QStringLiteral("NONE")};
    int functionType = kUffTimeResponse;
    int functionId = 0;
    int versionNumber = 0;
    int loadCase = 0;
    QString responseEntity = QStringLiteral("NONE");
    int responseNode = 0;
    int responseDirection = 0;
    QString referenceEntity = QStringLiteral("NONE");
    int referenceNode = 0;
    int referenceDirection = 0;
    double abscissaMinimum = 0;
    double abscissaIncrement = 0; // seconds per sample, or Hz per line
    double zAxisValue = 0;
    UffAxis abscissa;
    UffAxis ordinate;
    UffAxis denominator;
    UffAxis zAxis;
    std::vector<double> values;

    // Where a read function came from: its place among the file's datasets (1-based) and the line
    // its dataset starts on.
    int recordNumber = 0;
    int firstLine = 0;
};

// The tag that keeps an increment at full precision in ID line 5: "dx=" and the shortest text that
// reads back as the same double.
QString UffExactIncrementTag(double increment);

// The file image of the functions, one dataset each.
QByteArray WriteUff(const std::vector<UffFunction>& functions, UffEncoding encoding);

struct UffReadResult {
    std::vector<UffFunction> functions;
    QString error; // empty when the whole file was read
    bool Ok() const { return error.isEmpty(); }
};

// Reads every dataset 58/58b of a file image. Datasets 151 (header) and 164 (units) are passed
// over; any other dataset type, a truncated dataset, a value count that differs from record 7,
// complex or unevenly spaced data, or a malformed field stops the reading with an error that names
// the record ("record 2 (line 31): ...").
UffReadResult ReadUff(const QByteArray& image);

} // namespace vantor
