#include "archive/ArchiveReader.h"
#include "archive/ArchiveWriter.h"

#include <QBuffer>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace vantor;

namespace {

QByteArray Bytes(std::initializer_list<int> values) {
    QByteArray bytes;
    for (int value : values) {
        bytes.append(static_cast<char>(value));
    }
    return bytes;
}

QByteArray Encoded(const QString& text) {
    QByteArray bytes;
    ArchiveWriter(bytes).WriteString(text);
    return bytes;
}

QString Decoded(const QByteArray& bytes, bool* ok = nullptr) {
    ArchiveReader reader(bytes);
    QString text = reader.ReadString();
    if (ok != nullptr) {
        *ok = reader.Ok() && reader.AtEnd();
    }
    return text;
}

} // namespace

TEST(ArchiveTest, NumbersAndDatesRoundTripLittleEndian) {
    QByteArray bytes;
    ArchiveWriter writer(bytes);
    writer.WriteInt32(-2);
    writer.WriteFloat(1.0F);
    writer.WriteBool(true);
    writer.WriteBool(false);
    writer.WriteDouble(-0.1);
    writer.WriteDouble(std::numeric_limits<double>::infinity());
    writer.WriteInt32(std::numeric_limits<qint32>::min());
    writer.WriteDate({ArchiveDate::Null, 0.0});
    writer.WriteDate({ArchiveDate::Valid, 45000.75});
    ASSERT_TRUE(writer.Ok());
    ASSERT_EQ(bytes.size(), 4 + 4 + 4 + 4 + 8 + 8 + 4 + 12 + 12);
    EXPECT_EQ(bytes.left(8), Bytes({0xFE, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x80, 0x3F}));

    ArchiveReader reader(bytes);
    EXPECT_EQ(reader.ReadInt32(), -2);
    EXPECT_EQ(reader.ReadFloat(), 1.0F);
    EXPECT_TRUE(reader.ReadBool());
    EXPECT_FALSE(reader.ReadBool());
    EXPECT_EQ(reader.ReadDouble(), -0.1);
    EXPECT_TRUE(std::isinf(reader.ReadDouble()));
    EXPECT_EQ(reader.ReadInt32(), std::numeric_limits<qint32>::min());
    EXPECT_EQ(reader.ReadDate(), (ArchiveDate{ArchiveDate::Null, 0.0}));
    EXPECT_EQ(reader.ReadDate(), (ArchiveDate{ArchiveDate::Valid, 45000.75}));
    EXPECT_TRUE(reader.Ok());
    EXPECT_TRUE(reader.AtEnd());
}

TEST(ArchiveTest, AnyNonZeroBooleanIsTrue) {
    ArchiveReader reader(Bytes({0x00, 0x01, 0x00, 0x00}));
    EXPECT_TRUE(reader.ReadBool());
    EXPECT_TRUE(reader.Ok());
}

TEST(ArchiveTest, DatesCountDaysFromTheEndOf1899WithTheTimeAsFraction) {
    const auto at = [](int y, int m, int d, int h, int min) {
        return QDateTime(QDate(y, m, d), QTime(h, min));
    };
    EXPECT_EQ(ArchiveDate::FromDateTime(at(1899, 12, 30, 0, 0)).days, 0.0);
    EXPECT_EQ(ArchiveDate::FromDateTime(at(1900, 1, 1, 18, 0)).days, 2.75);
    EXPECT_EQ(ArchiveDate::FromDateTime(at(1899, 12, 29, 6, 0)).days, -1.25);
    EXPECT_EQ((ArchiveDate{ArchiveDate::Valid, -1.25}).ToDateTime(), at(1899, 12, 29, 6, 0));
    EXPECT_EQ((ArchiveDate{ArchiveDate::Valid, 2.75}).ToDateTime(), at(1900, 1, 1, 18, 0));
    EXPECT_EQ(ArchiveDate::FromDateTime(QDateTime()).status, ArchiveDate::Invalid);

    // Every millisecond of a day survives the round trip, also just before midnight.
    for (const QDateTime& value :
         {at(2079, 6, 6, 0, 0), QDateTime(QDate(2024, 2, 29), QTime(23, 59, 59, 999)),
          QDateTime(QDate(1900, 1, 1), QTime(0, 0, 0, 1)),
          QDateTime(QDate(1800, 5, 1), QTime(13, 14, 15, 16))}) {
        QByteArray bytes;
        ArchiveWriter(bytes).WriteDateTime(value);
        EXPECT_EQ(ArchiveReader(bytes).ReadDateTime(), value)
            << value.toString(Qt::ISODateWithMs).toStdString();
    }
    // A value a hair below midnight rounds into the next day.
    EXPECT_EQ((ArchiveDate{ArchiveDate::Valid, 1.0 - 1e-12}).ToDateTime(), at(1899, 12, 31, 0, 0));
    EXPECT_EQ((ArchiveDate{ArchiveDate::Valid, -2.0 + 1e-12}).ToDateTime(), at(1899, 12, 30, 0, 0));
    // Not valid, not finite or absurdly far: no date.
    EXPECT_FALSE((ArchiveDate{ArchiveDate::Null, 5.0}).ToDateTime().isValid());
    EXPECT_FALSE((ArchiveDate{ArchiveDate::Valid, std::nan("")}).ToDateTime().isValid());
    EXPECT_FALSE((ArchiveDate{ArchiveDate::Valid, 1e300}).ToDateTime().isValid());
}

TEST(ArchiveTest, StringsUseTheShortestUnicodeLengthForm) {
    EXPECT_EQ(Encoded(QString()), Bytes({0xFF, 0xFE, 0xFF, 0x00}));
    EXPECT_EQ(Encoded(QStringLiteral("Ab")), Bytes({0xFF, 0xFE, 0xFF, 0x02, 'A', 0, 'b', 0}));
    EXPECT_EQ(Encoded(QString(300, u'x')).left(6), Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0x2C, 0x01}));

    struct Form {
        int length;
        QByteArray prefix;
    };
    const Form forms[] = {
        {254, Bytes({0xFF, 0xFE, 0xFF, 0xFE})},
        {255, Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0x00})},
        {0xFFFD, Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFD, 0xFF})},
        // 0xFFFE would read as the marker and 0xFFFF announces a 32-bit length.
        {0xFFFE, Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00})},
        {0xFFFF, Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00})},
        {70000, Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00})},
    };
    for (const Form& form : forms) {
        QString text(form.length, Qt::Uninitialized);
        for (int i = 0; i < form.length; ++i) {
            text[i] = QChar(static_cast<char16_t>(0x20 + i % 0xD000));
        }
        const QByteArray bytes = Encoded(text);
        EXPECT_EQ(bytes.size(), form.prefix.size() + 2 * form.length) << form.length;
        EXPECT_EQ(bytes.left(form.prefix.size()), form.prefix) << form.length;
        bool ok = false;
        EXPECT_EQ(Decoded(bytes, &ok), text) << form.length;
        EXPECT_TRUE(ok) << form.length;
    }
}

TEST(ArchiveTest, UnicodeTextKeepsEveryCodeUnit) {
    const QString text = QString::fromUtf8("Fran\xC3\xA7"
                                           "ais \xF0\x9F\x94\xA7 \xE2\x82\xAC\r\n") +
                         QChar(0xD800);
    const QByteArray bytes = Encoded(text);
    EXPECT_EQ(static_cast<quint8>(bytes.at(3)), text.size()); // surrogate pairs count as two
    bool ok = false;
    EXPECT_EQ(Decoded(bytes, &ok), text);
    EXPECT_TRUE(ok);
}

TEST(ArchiveTest, LengthsAreReadInAnyFormAndSingleByteTextIsWindows1252) {
    bool ok = false;
    // Longer forms than needed still read.
    EXPECT_EQ(Decoded(Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0x01, 0x00, 'a', 0}), &ok), QStringLiteral("a"));
    EXPECT_TRUE(ok);
    EXPECT_EQ(Decoded(Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0x01, 0, 0, 0, 'a', 0}), &ok),
              QStringLiteral("a"));
    EXPECT_TRUE(ok);
    // Without the marker the characters are single bytes, with the same length forms.
    EXPECT_EQ(Decoded(Bytes({0x00}), &ok), QString());
    EXPECT_TRUE(ok);
    EXPECT_EQ(Decoded(Bytes({0x04, 'E', 0x80, 0xE9, 0x81}), &ok),
              QString::fromUtf8("E\xE2\x82\xAC\xC3\xA9\xC2\x81"));
    EXPECT_TRUE(ok);
    QByteArray longSingle = Bytes({0xFF, 0x2C, 0x01});
    longSingle.append(QByteArray(300, 'z'));
    EXPECT_EQ(Decoded(longSingle, &ok), QString(300, u'z'));
    EXPECT_TRUE(ok);
    longSingle = Bytes({0xFF, 0xFF, 0xFF, 0x03, 0, 0, 0, 'a', 'b', 'c'});
    EXPECT_EQ(Decoded(longSingle, &ok), QStringLiteral("abc"));
    EXPECT_TRUE(ok);
}

TEST(ArchiveTest, TruncatedDataFailsAtEveryOffset) {
    QByteArray bytes;
    ArchiveWriter writer(bytes);
    writer.WriteFloat(1.0F);
    writer.WriteDate({ArchiveDate::Valid, 1.5});
    writer.WriteString(QStringLiteral("short"));
    writer.WriteString(QString(300, u'y'));
    writer.WriteString(QString(70000, u'z'));
    writer.WriteInt32(7);
    const auto readAll = [](ArchiveReader& reader) {
        reader.ReadFloat();
        reader.ReadDate();
        reader.ReadString();
        reader.ReadString();
        reader.ReadString();
        return reader.ReadInt32();
    };
    {
        ArchiveReader whole(bytes);
        EXPECT_EQ(readAll(whole), 7);
        EXPECT_TRUE(whole.Ok());
    }
    for (qsizetype cut = 0; cut < bytes.size(); ++cut) {
        ArchiveReader reader(bytes.left(cut));
        EXPECT_EQ(readAll(reader), 0) << cut;
        ASSERT_FALSE(reader.Ok()) << cut;
        EXPECT_EQ(reader.Remaining(), 0);
        // The failure is sticky.
        EXPECT_TRUE(reader.ReadString().isEmpty());
    }
}

TEST(ArchiveTest, AbsurdLengthsAndCountsFailWithoutAllocating) {
    // A 32-bit length of four billion characters with six bytes behind it.
    ArchiveReader huge(
        Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 'a', 0, 'b', 0, 'c', 0}));
    EXPECT_TRUE(huge.ReadString().isEmpty());
    EXPECT_EQ(huge.Error(), ArchiveError::BadLength);

    ArchiveReader single(Bytes({0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x80, 'a'}));
    single.ReadString();
    EXPECT_EQ(single.Error(), ArchiveError::BadLength);

    ArchiveReader twoMarkers(Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFE, 0xFF, 0x00}));
    twoMarkers.ReadString();
    EXPECT_EQ(twoMarkers.Error(), ArchiveError::BadString);

    QByteArray counted;
    ArchiveWriter writer(counted);
    writer.WriteInt32(3);
    writer.WriteString(QString());
    writer.WriteString(QString());
    writer.WriteString(QString());
    ArchiveReader fits(counted);
    EXPECT_EQ(fits.ReadCount(ArchiveReader::kMinStringSize), 3);
    EXPECT_TRUE(fits.Ok());
    // Three strings cannot hold three doubles.
    ArchiveReader tooMany(counted);
    EXPECT_EQ(tooMany.ReadCount(ArchiveReader::kDoubleSize), 0);
    EXPECT_EQ(tooMany.Error(), ArchiveError::BadLength);

    for (qint32 count : {-1, std::numeric_limits<qint32>::max()}) {
        QByteArray bytes;
        ArchiveWriter(bytes).WriteInt32(count);
        bytes.append(QByteArray(64, '\0'));
        ArchiveReader reader(bytes);
        EXPECT_EQ(reader.ReadCount(1), 0) << count;
        EXPECT_EQ(reader.Error(), ArchiveError::BadLength) << count;
    }
    ArchiveReader raw(Bytes({1, 2}));
    EXPECT_TRUE(raw.ReadRaw(-1).isEmpty());
    EXPECT_EQ(raw.Error(), ArchiveError::BadLength);
}

TEST(ArchiveTest, DevicesAreWrittenAndReadFromTheirCurrentPosition) {
    QBuffer buffer;
    ASSERT_TRUE(buffer.open(QIODevice::ReadWrite));
    buffer.write("head");
    ArchiveWriter writer(buffer);
    writer.WriteString(QStringLiteral("on a device"));
    writer.WriteInt32(42);
    EXPECT_TRUE(writer.Ok());

    buffer.seek(4);
    ArchiveReader reader(buffer);
    EXPECT_EQ(reader.Remaining(), buffer.size() - 4);
    EXPECT_EQ(reader.ReadString(), QStringLiteral("on a device"));
    EXPECT_EQ(reader.ReadInt32(), 42);
    EXPECT_TRUE(reader.Ok());
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_EQ(reader.ReadInt32(), 0);
    EXPECT_EQ(reader.Error(), ArchiveError::Truncated);

    // A device that refuses writes fails the writer for good.
    QBuffer readOnly;
    ASSERT_TRUE(readOnly.open(QIODevice::ReadOnly));
    ArchiveWriter refused(readOnly);
    refused.WriteInt32(1);
    EXPECT_FALSE(refused.Ok());
}

TEST(ArchiveTest, CallerCanFailTheReaderOnBadContent) {
    ArchiveReader reader(Bytes({1, 0, 0, 0, 2, 0, 0, 0}));
    EXPECT_EQ(reader.ReadInt32(), 1);
    reader.Fail();
    EXPECT_EQ(reader.Error(), ArchiveError::BadContent);
    EXPECT_EQ(reader.ReadInt32(), 0);
    reader.Fail(ArchiveError::Truncated);
    EXPECT_EQ(reader.Error(), ArchiveError::BadContent);
}
