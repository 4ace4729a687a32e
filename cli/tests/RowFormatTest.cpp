#include "cli/RowFormat.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace vantor;
using namespace vantor::cli;

TEST(RowFormat, JsonKeepsColumnOrderAndTheDocumentedValueForms) {
    CVibReading reading;
    reading.sItemGUID = QStringLiteral("{r}");
    reading.sDeviceName = QStringLiteral("Meter \"A\"\r\n\t\\");
    reading.ctDateTaken = QDateTime(QDate(2024, 2, 29), QTime(23, 59, 58));
    reading.fISOMMS = 0.1f;
    reading.iADCBits = 16;
    reading.rawADCISODataByteArray = QByteArray(4096, 'x');
    const QByteArray json = RowsAsJson(RowsOf(std::vector<CVibReading>{reading}));

    // Keys appear in column order.
    EXPECT_LT(json.indexOf("\"sItemGUID\""), json.indexOf("\"sParentGUID\""));
    EXPECT_LT(json.indexOf("\"sParentGUID\""), json.indexOf("\"sDeviceGUID\""));
    EXPECT_LT(json.indexOf("\"iADCBits\""), json.indexOf("\"rawADCISODataByteArray\""));
    EXPECT_TRUE(json.contains("\"fISOMMS\": 0.1,"));

    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << json.toStdString();
    const QJsonObject row = doc.array().at(0).toObject();
    EXPECT_EQ(row.size(), 34);
    EXPECT_EQ(row.value(QStringLiteral("sDeviceName")).toString(), reading.sDeviceName);
    EXPECT_EQ(row.value(QStringLiteral("ctDateTaken")).toString(), QStringLiteral("2024-02-29 23:59:58"));
    EXPECT_EQ(row.value(QStringLiteral("rawADCISODataByteArray")).toInt(), 4096);
    EXPECT_EQ(row.value(QStringLiteral("rawADCTotalDataByteArray")).toInt(), 0);
    EXPECT_EQ(row.value(QStringLiteral("iADCBits")).toInt(), 16);

    CVibReading undated;
    const QJsonObject empty = QJsonDocument::fromJson(RowsAsJson(RowsOf(std::vector<CVibReading>{undated})))
                                  .array()
                                  .at(0)
                                  .toObject();
    EXPECT_TRUE(empty.value(QStringLiteral("ctDateTaken")).isNull());
    EXPECT_EQ(RowsAsJson({}), QByteArray("[]\n"));
}

TEST(RowFormat, TextIsOneLinePerRowUnderAHeader) {
    CVib vib;
    vib.sItemGUID = QStringLiteral("{v}");
    vib.sName = QStringLiteral("Drive\tend\r\nA");
    vib.fRunSpeedHz = 24.6f;
    vib.bISOAlarmsOn = true;
    const QString text = RowsAsText(ColumnNames<CVib>(), RowsOf(std::vector<CVib>{vib}));
    const QStringList lines = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("sItemGUID\tsParentGUID\tfOrder\tsName")));
    EXPECT_EQ(lines[1], QStringLiteral("{v}\t\t0\tDrive end  A\t\t24.6\t1\t0\t0\t0\t0\t0"));
}
