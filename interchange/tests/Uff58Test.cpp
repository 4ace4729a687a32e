// Universal File Format dataset 58/58b: the writer's field positions against the published layout,
// a record written by hand from that layout, round trips of all three encodings, and the refusals.
#include "interchange/Uff58.h"

#include <gtest/gtest.h>

#include <QList>

#include <algorithm>
#include <cmath>

namespace vantor {
namespace {

UffFunction TimeRecord() {
    UffFunction f;
    f.idLines = {QStringLiteral("Total acceleration waveform"), QStringLiteral("Fan 3"),
                 QStringLiteral("2026-03-04 05:06:07"), QStringLiteral("Motor DE"),
                 UffExactIncrementTag(1.0 / 2560.123) + QStringLiteral(" rs=24.5")};
    f.functionType = kUffTimeResponse;
    f.functionId = 1;
    f.responseEntity = QStringLiteral("TOTAL");
    f.responseNode = 1;
    f.abscissaIncrement = 1.0 / 2560.123;
    f.abscissa = {kUffDataTime, 0, 0, 0, QStringLiteral("Time"), QStringLiteral("s")};
    f.ordinate = {kUffDataAcceleration, 1, 0, 0, QStringLiteral("Acceleration"), QStringLiteral("g")};
    for (int i = 0; i < 11; ++i) {
        f.values.push_back(std::sin(0.3 * i) * 1.25);
    }
    f.values[5] = 1e-120;
    f.values[7] = -3.5e7;
    return f;
}

UffFunction SpectrumRecord() {
    UffFunction f;
    f.functionType = kUffSpectrum;
    f.functionId = 2;
    f.responseEntity = QStringLiteral("ISO");
    f.abscissaIncrement = 1.25;
    f.abscissa = {kUffDataFrequency, 0, 0, 0, QStringLiteral("Frequency"), QStringLiteral("Hz")};
    f.ordinate = {kUffDataVelocity, 1, 0, 0, QStringLiteral("Velocity"), QStringLiteral("mm/s")};
    f.values = {0.0, 0.5, 2.25, 0.125, 1e-3};
    return f;
}

QList<QByteArray> LinesOf(const QByteArray& image) {
    QList<QByteArray> lines = image.split('\n');
    if (!lines.isEmpty() && lines.back().isEmpty()) {
        lines.pop_back();
    }
    return lines;
}

TEST(Uff58Test, AsciiHeaderFieldsSitInThePublishedColumns) {
    const QList<QByteArray> lines = LinesOf(WriteUff({TimeRecord()}, UffEncoding::Ascii));
    ASSERT_GE(lines.size(), 16);
    for (int i = 0; i < 13; ++i) {
        EXPECT_EQ(lines[i].size(), 80) << "header line " << i + 1 << " is 80 columns";
    }
    EXPECT_EQ(lines[0].left(6), "    -1");
    EXPECT_EQ(lines[1].left(6), "    58");
    EXPECT_EQ(lines[1].mid(6).trimmed(), "");
    EXPECT_EQ(lines[2].trimmed(), "Total acceleration waveform");
    EXPECT_EQ(lines[4].trimmed(), "2026-03-04 05:06:07");
    // Record 6: 2(I5,I10),2(1X,10A1,I10,I4).
    const QByteArray r6 = lines[7];
    EXPECT_EQ(r6.mid(0, 5), "    1");
    EXPECT_EQ(r6.mid(5, 10), "         1");
    EXPECT_EQ(r6.mid(15, 5), "    0");
    EXPECT_EQ(r6.mid(20, 10), "         0");
    EXPECT_EQ(r6.mid(30, 11), "      TOTAL");
    EXPECT_EQ(r6.mid(41, 10), "         1");
    EXPECT_EQ(r6.mid(51, 4), "   0");
    EXPECT_EQ(r6.mid(55, 11), "       NONE");
    // Record 7: 3I10,3E13.5 — real double, 11 values, even spacing.
    const QByteArray r7 = lines[8];
    EXPECT_EQ(r7.mid(0, 10), "         4");
    EXPECT_EQ(r7.mid(10, 10), "        11");
    EXPECT_EQ(r7.mid(20, 10), "         1");
    EXPECT_EQ(r7.mid(30, 13), "  0.00000E+00");
    EXPECT_EQ(r7.mid(43, 13), "  3.90606E-04");
    EXPECT_EQ(r7.mid(56, 13), "  0.00000E+00");
    // Records 8 and 9: I10,3I5,2(1X,20A1).
    EXPECT_EQ(lines[9].left(67),
              QByteArray("        17    0    0    0 Time                 s                   "));
    EXPECT_EQ(lines[10].left(67),
              QByteArray("        12    1    0    0 Acceleration         g                   "));
    EXPECT_EQ(lines[11].left(67),
              QByteArray("         0    0    0    0 NONE                 NONE                "));
    // Record 12: 4E20.12 per line; a magnitude below 1e-99 is written as 0.
    EXPECT_EQ(lines[13].size(), 80);
    EXPECT_EQ(lines[13].mid(0, 20), "  0.000000000000E+00");
    EXPECT_EQ(lines[14].mid(20, 20), "  0.000000000000E+00");
    EXPECT_EQ(lines[14].mid(40, 20), "  1.217309538598E+00");
    EXPECT_EQ(lines[14].mid(60, 20), " -3.500000000000E+07");
    EXPECT_EQ(lines[15].size(), 60) << "the last line holds the three remaining values";
    EXPECT_EQ(lines[16].left(6), "    -1");
}

TEST(Uff58Test, BinaryIdentifierLineFollowsThe58bLayout) {
    for (const auto& [encoding, bytes, type] :
         {std::tuple{UffEncoding::BinaryDouble, 88, 4}, std::tuple{UffEncoding::BinarySingle, 44, 2}}) {
        const QByteArray image = WriteUff({TimeRecord()}, encoding);
        qsizetype dataStart = 0;
        for (int i = 0; i < 13; ++i) {
            dataStart = image.indexOf('\n', dataStart) + 1;
        }
        const QList<QByteArray> lines = image.left(dataStart).split('\n');
        // (I6,1A1,I6,I6,I12,I12,I6,I6,I12,I12): 58, b, little endian, IEEE 754, 11 lines, bytes, zeros.
        const QByteArray id = lines[1];
        EXPECT_EQ(id.size(), 80);
        EXPECT_EQ(id.mid(0, 7), "    58b");
        EXPECT_EQ(id.mid(7, 6), "     1");
        EXPECT_EQ(id.mid(13, 6), "     2");
        EXPECT_EQ(id.mid(19, 12), "          11");
        EXPECT_EQ(id.mid(31, 12), QByteArray::number(bytes).rightJustified(12, ' '));
        EXPECT_EQ(id.mid(43, 36).trimmed(), "0     0           0           0");
        EXPECT_EQ(lines[8].mid(0, 10), QByteArray::number(type).rightJustified(10, ' '));
        // The data follows record 11 directly and the closing delimiter follows the data directly.
        EXPECT_TRUE(lines[12].startsWith("         0    0    0    0 NONE"));
        EXPECT_EQ(image.mid(image.size() - 81, 6), "    -1");
        EXPECT_EQ(image.size() - 81 - dataStart, bytes);
    }
}

// Written by hand from the published layout: single-precision ASCII (6E13.5), a units dataset 164
// before it (passed over), and an uneven abscissa on an even grid.
const char kReferenceFile[] =
    "    -1\n"
    "   164\n"
    "         1SI - mks (Newton)     2\n"
    "    1.00000000000000000E+00    1.00000000000000000E+00    1.00000000000000000E+00\n"
    "    2.73149999999999977E+02\n"
    "    -1\n"
    "    -1\n"
    "    58\n"
    "Accelerometer 7                                                                 \n"
    "Line 2 press                                                                    \n"
    "04-Mar-26 05:06:07                                                              \n"
    "NONE                                                                            \n"
    "NONE                                                                            \n"
    "    1         0    0         0 Ch07               7   3 NONE               0   0\n"
    "         2         8         1  0.00000E+00  5.00000E-04  0.00000E+00           \n"
    "        17    0    0    0 Time                 s                                \n"
    "        12    0    0    0 Acceleration         m/s^2                            \n"
    "         0    0    0    0 NONE                 NONE                             \n"
    "         0    0    0    0 NONE                 NONE                             \n"
    "  1.00000E+00 -2.50000E-01  3.12500E-02  0.00000E+00  7.50000E+02 -1.00000E-03\n"
    "  4.00000E+00  5.00000E+00\n"
    "    -1\n"
    "    -1\n"
    "    58\n"
    "Uneven\n"
    "NONE\n"
    "NONE\n"
    "NONE\n"
    "NONE\n"
    "    1         0    0         0 NONE               0   0 NONE               0   0\n"
    "         4         3         0  0.00000E+00  0.00000E+00  0.00000E+00\n"
    "        17    0    0    0 Time                 s\n"
    "        11    1    0    0 Velocity             mm/s\n"
    "         0    0    0    0 NONE                 NONE\n"
    "         0    0    0    0 NONE                 NONE\n"
    "  1.00000E-01  1.500000000000E+00  1.10000E-01 -2.500000000000E+00\n"
    "  1.20000E-01  3.500000000000E+00\n"
    "    -1\n";

TEST(Uff58Test, ReadsARecordWrittenByHandFromThePublishedLayout) {
    const UffReadResult read = ReadUff(QByteArray(kReferenceFile));
    ASSERT_TRUE(read.Ok()) << read.error.toStdString();
    ASSERT_EQ(read.functions.size(), 2u);
    const UffFunction& f = read.functions[0];
    EXPECT_EQ(f.recordNumber, 1);
    EXPECT_EQ(f.firstLine, 7);
    EXPECT_EQ(f.idLines[0], QStringLiteral("Accelerometer 7"));
    EXPECT_EQ(f.idLines[2], QStringLiteral("04-Mar-26 05:06:07"));
    EXPECT_EQ(f.functionType, kUffTimeResponse);
    EXPECT_EQ(f.responseEntity, QStringLiteral("Ch07"));
    EXPECT_EQ(f.responseNode, 7);
    EXPECT_EQ(f.responseDirection, 3);
    EXPECT_DOUBLE_EQ(f.abscissaIncrement, 5e-4);
    EXPECT_EQ(f.abscissa.specificDataType, kUffDataTime);
    EXPECT_EQ(f.ordinate.specificDataType, kUffDataAcceleration);
    EXPECT_EQ(f.ordinate.label, QStringLiteral("Acceleration"));
    EXPECT_EQ(f.ordinate.unitsLabel, QStringLiteral("m/s^2"));
    EXPECT_EQ(f.values, (std::vector<double>{1.0, -0.25, 0.03125, 0.0, 750.0, -0.001, 4.0, 5.0}));

    const UffFunction& uneven = read.functions[1];
    EXPECT_EQ(uneven.recordNumber, 2);
    EXPECT_DOUBLE_EQ(uneven.abscissaMinimum, 0.1);
    EXPECT_NEAR(uneven.abscissaIncrement, 0.01, 1e-15);
    EXPECT_EQ(uneven.values, (std::vector<double>{1.5, -2.5, 3.5}));
    EXPECT_EQ(uneven.ordinate.unitsLabel, QStringLiteral("mm/s"));
}

// As the widely used Python reader writes a time record: lower-case exponents, the abscissa in
// single precision (so the increment comes from the field, 7.8125e-05 being exact), the data in
// double precision four to a line, and the unit lines not padded to 80 columns.
const char kPythonReaderFile[] =
    "    -1\n"
    "    58                                                                          \n"
    "Pump test                                                                       \n"
    "NDE                                                                             \n"
    "2026-12-01 10:00:00                                                             \n"
    "                                                                                \n"
    "                                                                                \n"
    "    1         0    0         0       NONE         1   3       NONE         1   3\n"
    "         4         6         1  0.00000e+00  7.81250e-05  0.00000e+00\n"
    "        17    0    0    0 NONE                 s                   \n"
    "        12    0    0    0 NONE                 g                   \n"
    "        13    0    0    0 NONE                 NONE                \n"
    "         0    0    0    0 NONE                 NONE                \n"
    "   0.00000000000e+00   1.25000000000e-01  -2.50000000000e-01   5.00000000000e-01\n"
    "   1.00000000000e-07  -3.50000000000e+00\n"
    "    -1\n";

TEST(Uff58Test, ReadsARecordAsThePythonReaderWritesIt) {
    const UffReadResult read = ReadUff(QByteArray(kPythonReaderFile));
    ASSERT_TRUE(read.Ok()) << read.error.toStdString();
    ASSERT_EQ(read.functions.size(), 1u);
    const UffFunction& f = read.functions[0];
    EXPECT_EQ(f.idLines[0], QStringLiteral("Pump test"));
    EXPECT_EQ(f.idLines[2], QStringLiteral("2026-12-01 10:00:00"));
    EXPECT_EQ(f.functionType, kUffTimeResponse);
    EXPECT_EQ(f.responseEntity, QStringLiteral("NONE"));
    EXPECT_EQ(f.responseNode, 1);
    EXPECT_EQ(f.responseDirection, 3);
    EXPECT_DOUBLE_EQ(1.0 / f.abscissaIncrement, 12800.0);
    EXPECT_EQ(f.abscissa.specificDataType, kUffDataTime);
    EXPECT_EQ(f.ordinate.specificDataType, kUffDataAcceleration);
    EXPECT_EQ(f.ordinate.unitsLabel, QStringLiteral("g"));
    EXPECT_EQ(f.values, (std::vector<double>{0.0, 0.125, -0.25, 0.5, 1e-7, -3.5}));
}

TEST(Uff58Test, EveryEncodingReadsBackWhatWasWritten) {
    for (const UffEncoding encoding :
         {UffEncoding::Ascii, UffEncoding::BinaryDouble, UffEncoding::BinarySingle}) {
        SCOPED_TRACE(static_cast<int>(encoding));
        const std::vector<UffFunction> written = {TimeRecord(), SpectrumRecord()};
        QByteArray image = WriteUff(written, encoding);
        image.replace("\n", "\r\n"); // line endings of another system are read too (binary data aside)
        if (encoding != UffEncoding::Ascii) {
            image = WriteUff(written, encoding);
        }
        const UffReadResult read = ReadUff(image);
        ASSERT_TRUE(read.Ok()) << read.error.toStdString();
        ASSERT_EQ(read.functions.size(), 2u);
        for (std::size_t k = 0; k < 2; ++k) {
            const UffFunction& a = written[k];
            const UffFunction& b = read.functions[k];
            EXPECT_EQ(b.recordNumber, static_cast<int>(k) + 1);
            EXPECT_EQ(b.idLines, a.idLines);
            EXPECT_EQ(b.functionType, a.functionType);
            EXPECT_EQ(b.functionId, a.functionId);
            EXPECT_EQ(b.responseEntity, a.responseEntity);
            EXPECT_EQ(b.responseNode, a.responseNode);
            EXPECT_EQ(b.abscissa.unitsLabel, a.abscissa.unitsLabel);
            EXPECT_EQ(b.ordinate.specificDataType, a.ordinate.specificDataType);
            EXPECT_EQ(b.ordinate.lengthExponent, a.ordinate.lengthExponent);
            EXPECT_EQ(b.ordinate.unitsLabel, a.ordinate.unitsLabel);
            ASSERT_EQ(b.values.size(), a.values.size());
            const double tolerance = encoding == UffEncoding::BinarySingle ? 1e-7
                                     : encoding == UffEncoding::Ascii      ? 1e-12
                                                                           : 0.0;
            for (std::size_t i = 0; i < a.values.size(); ++i) {
                // Below 1e-99 ASCII writes 0 (and single precision has no such magnitudes).
                EXPECT_LE(std::fabs(b.values[i] - a.values[i]),
                          std::max(tolerance * std::fabs(a.values[i]), 1e-99))
                    << i;
            }
        }
        // The exact increment of ID line 5 beats record 7's six digits: the rate reads back exactly.
        EXPECT_NEAR(1.0 / read.functions[0].abscissaIncrement, 2560.123, 2560.123 * 1e-12);
        EXPECT_DOUBLE_EQ(read.functions[1].abscissaIncrement, 1.25);
    }
}

TEST(Uff58Test, RefusalsNameTheRecord) {
    const QByteArray good = WriteUff({TimeRecord(), SpectrumRecord()}, UffEncoding::Ascii);
    const QByteArray second = good.mid(good.indexOf("    -1", 100) + 81);
    const QByteArray binary = WriteUff({TimeRecord()}, UffEncoding::BinaryDouble);
    QByteArray miscounted = good;
    miscounted.replace("        11         1", "        12         1");
    QByteArray complexData = second;
    complexData.replace("         4         5         1", "         6         5         1");
    QByteArray badNumber = good;
    badNumber.replace("  2.250000000000E+00", "  2.2500000000x0E+00");
    QByteArray bigEndianFloats = binary;
    bigEndianFloats.replace("    58b     1     2", "    58b     1     3");
    // Two thousand million values announced over a few hundred bytes: nothing is sized from it.
    QByteArray overcounted = good;
    overcounted.replace("        11         1", "2000000000         1");
    QByteArray overcountedBinary = binary;
    overcountedBinary.replace("        11         1", "2000000000         1");

    const struct {
        const char* name;
        QByteArray image;
        const char* error;
    } cases[] = {
        {"another dataset type", "    -1\n    55\nmode shape\n    -1\n",
         "record 1 (line 1): dataset type 55; only 58 and 58b"},
        {"second record of another type", good + "    -1\n  2411\n    -1\n",
         "record 3 (line 34): dataset type 2411"},
        {"no closing delimiter", good.left(good.size() - 81),
         "record 2 (line 18): truncated: no closing \"-1\" after 5 of 5"},
        {"header cut short", good.left(good.indexOf("        18    0")),
         "record 2 (line 18): truncated: the dataset ends inside its header"},
        {"binary data cut short", binary.left(binary.size() - 100),
         "record 1 (line 1): truncated: fewer than the 88 data bytes"},
        {"binary without closing", binary.left(binary.size() - 81),
         "record 1 (line 1): truncated: no \"-1\" after the 88 data bytes"},
        {"counts differ", miscounted, "record 1 (line 1): record 7 announces 12 values, the data holds 11"},
        {"count far beyond the bytes", overcounted,
         "record 1 (line 1): record 7 announces 2000000000 values, the data holds 11"},
        {"binary count far beyond the bytes", overcountedBinary,
         "record 1 (line 1): 88 data bytes announced, 2000000000 values of record 7 need 16000000000"},
        {"complex data", good.left(good.indexOf("    -1", 100) + 81) + complexData,
         "record 2 (line 18): ordinate data type 6 is not real data"},
        {"malformed value", badNumber, "record 2 (line 18): line 31: \"2.2500000000x0E+00\" is not a number"},
        {"other floating-point format", bigEndianFloats,
         "record 1 (line 1): floating-point format 3 is not IEEE 754"},
        {"empty file", "", "the file holds no dataset 58"},
        {"not a UFF file", "time,value\n0,1\n", "record 1 (line 1): a dataset starts with"},
    };
    for (const auto& c : cases) {
        const UffReadResult read = ReadUff(c.image);
        EXPECT_FALSE(read.Ok()) << c.name;
        EXPECT_TRUE(read.functions.empty()) << c.name;
        EXPECT_TRUE(read.error.startsWith(QLatin1String(c.error)))
            << c.name << ": " << read.error.toStdString();
    }
}

} // namespace
} // namespace vantor
