// Status of values and points against alarm limits, status-table cells and the ISO zone table.
#include "analysis/AlarmStatus.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>

namespace vantor {
namespace {

constexpr float kNoValue = -100.0f;

CVib PointWithLimits() {
    CVib point;
    point.sItemGUID = MakeItemGuid();
    point.bISOAlarmsOn = true;
    point.fISOWarningMMS = 4.5f;
    point.fISOCriticalMMS = 7.1f;
    point.bBDUAlarmsOn = true;
    point.fBDUWarning = 20.0f;
    point.fBDUCritical = 40.0f;
    return point;
}

CVibReading QuietReading() {
    CVibReading reading;
    reading.ctDateTaken = QDateTime(QDate(2024, 3, 5), QTime(10, 0));
    reading.fISOMMS = 1.0f;
    reading.fBearingBDU = 5.0f;
    reading.fTotalG = 0.5f;
    reading.fDisplacementMicrons = 12.0f;
    reading.fVABand1MMS = 0.5f;
    reading.fVABand2MMS = 0.4f;
    reading.fVABand3MMS = 0.3f;
    return reading;
}

TEST(ClassifyValueTest, ALimitItselfTakesTheHigherStatus) {
    EXPECT_EQ(ClassifyValue(4.49f, true, 4.5f, 7.1f), StatusCode::Ok);
    EXPECT_EQ(ClassifyValue(4.5f, true, 4.5f, 7.1f), StatusCode::Warning);
    EXPECT_EQ(ClassifyValue(7.09f, true, 4.5f, 7.1f), StatusCode::Warning);
    EXPECT_EQ(ClassifyValue(7.1f, true, 4.5f, 7.1f), StatusCode::Critical);
    EXPECT_EQ(ClassifyValue(100.0f, false, 4.5f, 7.1f), StatusCode::NotConfigured);
    // Critical below warning: between the two the value is still OK here.
    EXPECT_EQ(ClassifyValue(5.0f, true, 6.0f, 4.0f), StatusCode::Ok);
    EXPECT_EQ(ClassifyValue(6.0f, true, 6.0f, 4.0f), StatusCode::Critical);
}

TEST(ClassifyValueTest, NoValueMarkerIsItsBitPatternOnly) {
    EXPECT_EQ(std::bit_cast<std::uint32_t>(kNoValue), kNoValueBits);
    EXPECT_TRUE(IsNoValue(kNoValue));
    EXPECT_EQ(ClassifyValue(kNoValue, true, -200.0f, -150.0f), StatusCode::NoReadings);
    EXPECT_EQ(ClassifyValue(kNoValue, false, 0, 0), StatusCode::NoReadings);
    // The neighbouring floats are ordinary values.
    const float below = std::nextafter(kNoValue, -1000.0f);
    const float above = std::nextafter(kNoValue, 0.0f);
    EXPECT_FALSE(IsNoValue(below));
    EXPECT_FALSE(IsNoValue(above));
    EXPECT_EQ(ClassifyValue(above, true, -200.0f, -150.0f), StatusCode::Critical);
}

TEST(ClassifyValueTest, NonFiniteValuesAreInvalidData) {
    EXPECT_EQ(ClassifyValue(std::numeric_limits<float>::quiet_NaN(), true, 4.5f, 7.1f),
              StatusCode::InvalidData);
    EXPECT_EQ(ClassifyValue(std::numeric_limits<float>::infinity(), false, 4.5f, 7.1f),
              StatusCode::InvalidData);
    EXPECT_EQ(ClassifyValue(-std::numeric_limits<float>::infinity(), true, 4.5f, 7.1f),
              StatusCode::InvalidData);
}

TEST(StatusCodeTest, TextsColoursAndSeverity) {
    EXPECT_EQ(StatusText(StatusCode::NoReadings), QStringLiteral("No Readings"));
    EXPECT_EQ(StatusText(StatusCode::InvalidData), QStringLiteral("INVALID DATA"));
    EXPECT_EQ(StatusText(StatusCode::Critical), QStringLiteral("CRITICAL"));
    EXPECT_EQ(StatusColour(StatusCode::NotConfigured), (Rgb{0, 0, 255}));
    EXPECT_EQ(StatusColour(StatusCode::Ok), (Rgb{0, 192, 0}));
    EXPECT_EQ(StatusColour(StatusCode::Warning), (Rgb{255, 160, 0}));
    EXPECT_EQ(StatusColour(StatusCode::Critical), (Rgb{255, 0, 0}));
    EXPECT_EQ(MostSevere(StatusCode::Warning, StatusCode::InvalidData), StatusCode::Warning);
    EXPECT_EQ(MostSevere(StatusCode::NotConfigured, StatusCode::Critical), StatusCode::Critical);
}

TEST(PointStatusTest, MostSevereOfAllSevenKindsWithTheReadingDate) {
    const CVib point = PointWithLimits();
    CVibReading reading = QuietReading();
    EXPECT_EQ(PointStatus(point, &reading).code, StatusCode::Ok);
    reading.fBearingBDU = 40.0f;
    const DatedStatus status = PointStatus(point, &reading);
    EXPECT_EQ(status.code, StatusCode::Critical);
    EXPECT_EQ(status.dateTime, reading.ctDateTaken);
    // A VA band is judged against the ISO limits.
    reading = QuietReading();
    reading.fVABand3MMS = 5.0f;
    EXPECT_EQ(PointStatus(point, &reading).code, StatusCode::Warning);
    EXPECT_EQ(PointStatus(point, nullptr).code, StatusCode::NoReadings);
    EXPECT_FALSE(PointStatus(point, nullptr).dateTime.isValid());
}

TEST(PointStatusTest, EveryValueMissingGivesNoReadingsAndAlarmsOffNotConfigured) {
    CVib point = PointWithLimits();
    CVibReading reading;
    for (float* value :
         {&reading.fISOMMS, &reading.fBearingBDU, &reading.fTotalG, &reading.fDisplacementMicrons,
          &reading.fVABand1MMS, &reading.fVABand2MMS, &reading.fVABand3MMS}) {
        *value = kNoValue;
    }
    EXPECT_EQ(PointStatus(point, &reading).code, StatusCode::NoReadings);

    reading = QuietReading();
    reading.fISOMMS = 50.0f;
    point.bISOAlarmsOn = false;
    point.bBDUAlarmsOn = false;
    EXPECT_EQ(PointStatus(point, &reading).code, StatusCode::NotConfigured);
    reading.fTotalG = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(PointStatus(point, &reading).code, StatusCode::InvalidData);
}

TEST(PointStatusTest, CombineKeepsTheMostSevereAndTheLaterDateAtEqualSeverity) {
    const QDateTime early(QDate(2024, 1, 1), QTime(8, 0));
    const QDateTime late(QDate(2024, 2, 1), QTime(8, 0));
    DatedStatus combined;
    Combine(combined, {StatusCode::Warning, late});
    Combine(combined, {StatusCode::Ok, QDateTime(QDate(2025, 1, 1), QTime(0, 0))});
    EXPECT_EQ(combined.code, StatusCode::Warning);
    EXPECT_EQ(combined.dateTime, late);
    Combine(combined, {StatusCode::Warning, early});
    EXPECT_EQ(combined.dateTime, late);
    Combine(combined, {StatusCode::Critical, early});
    EXPECT_EQ(combined.code, StatusCode::Critical);
    EXPECT_EQ(combined.dateTime, early);
}

TEST(StatusCellTest, WordsOrValuesWithNoValueStillNoReadings) {
    CVib point = PointWithLimits();
    CVibReading reading = QuietReading();
    reading.fISOMMS = 4.5f;
    reading.fBearingBDU = kNoValue;
    const MeasureFormat format;
    StatusCell cell = MakeStatusCell(point, &reading, MeasureKind::IsoVelocity, false, format);
    EXPECT_EQ(cell.code, StatusCode::Warning);
    EXPECT_EQ(cell.text, QStringLiteral("WARNING"));
    EXPECT_EQ(cell.colour, (Rgb{255, 160, 0}));
    cell = MakeStatusCell(point, &reading, MeasureKind::IsoVelocity, true, format);
    EXPECT_EQ(cell.code, StatusCode::Warning);
    EXPECT_EQ(cell.text, QStringLiteral("4.500"));
    cell = MakeStatusCell(point, &reading, MeasureKind::BearingNoise, true, format);
    EXPECT_EQ(cell.code, StatusCode::NoReadings);
    EXPECT_EQ(cell.text, QStringLiteral("No Readings"));
    cell = MakeStatusCell(point, nullptr, MeasureKind::IsoVelocity, true, format);
    EXPECT_EQ(cell.text, QStringLiteral("No Readings"));
    EXPECT_EQ(cell.colour, (Rgb{0, 0, 255}));
    point.bISOAlarmsOn = false;
    EXPECT_EQ(MakeStatusCell(point, &reading, MeasureKind::VaBand1, false, format).text,
              QStringLiteral("NOT CONFIGURED"));
    EXPECT_EQ(MakeStatusCell(point, &reading, MeasureKind::Displacement, true, format).text,
              QStringLiteral("12"));
}

TEST(IsoLimitsTest, ZoneBoundariesPerGroupAndFoundation) {
    EXPECT_EQ(IsoLimitsForGroup(1, 0), (IsoLimits{4.5f, 7.1f}));
    EXPECT_EQ(IsoLimitsForGroup(1, 1), (IsoLimits{7.1f, 11.0f}));
    EXPECT_EQ(IsoLimitsForGroup(2, 0), (IsoLimits{2.8f, 4.5f}));
    EXPECT_EQ(IsoLimitsForGroup(2, 1), (IsoLimits{4.5f, 7.1f}));
    EXPECT_EQ(IsoLimitsForGroup(3, 1), (IsoLimits{7.1f, 11.0f}));
    EXPECT_EQ(IsoLimitsForGroup(4, 0), (IsoLimits{2.8f, 4.5f}));
    EXPECT_FALSE(IsoLimitsForGroup(0, 0).has_value());
    EXPECT_FALSE(IsoLimitsForGroup(5, 0).has_value());
    EXPECT_FALSE(IsoLimitsForGroup(2, 2).has_value());
    EXPECT_FALSE(IsoLimitsForGroup(2, -1).has_value());
}

} // namespace
} // namespace vantor
