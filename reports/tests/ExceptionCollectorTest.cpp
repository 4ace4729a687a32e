#include "reports/mail/ExceptionCollector.h"

#include <gtest/gtest.h>

#include <limits>
#include <thread>

namespace vantor {
namespace {

constexpr float kNoValue = -100.0f;

CMachine Machine(const QString& guid, const QString& name, const QString& emails) {
    CMachine machine;
    machine.sItemGUID = guid;
    machine.sName = name;
    machine.sEMails = emails;
    return machine;
}

// ISO limits 2/4 mm/s, bearing-noise limits 20/30 BDU, both switches on.
CVib Point(const QString& name) {
    CVib point;
    point.sItemGUID = QStringLiteral("{p-") + name + QLatin1Char('}');
    point.sName = name;
    point.bISOAlarmsOn = true;
    point.fISOWarningMMS = 2.0f;
    point.fISOCriticalMMS = 4.0f;
    point.bBDUAlarmsOn = true;
    point.fBDUWarning = 20.0f;
    point.fBDUCritical = 30.0f;
    return point;
}

// A reading with every reported measure quiet.
CVibReading Reading(int minute) {
    CVibReading reading;
    reading.ctDateTaken = QDateTime(QDate(2026, 3, 4), QTime(10, minute, 0));
    reading.fISOMMS = 1.0f;
    reading.fBearingBDU = 10.0f;
    reading.fVABand1MMS = 0.5f;
    reading.fVABand2MMS = 0.5f;
    reading.fVABand3MMS = 0.5f;
    return reading;
}

ExceptionCollectOptions Options() {
    return {};
}

const MeasureException& Measure(const PointException& entry, ExceptionMeasure measure) {
    return entry.measures[static_cast<std::size_t>(measure)];
}

TEST(ExceptionStatusTest, LimitsTakeTheHigherStatusAndCriticalBelowWarningIsCritical) {
    EXPECT_EQ(ExceptionStatusOf(1.99f, 2.0f, 4.0f), ExceptionStatus::None);
    EXPECT_EQ(ExceptionStatusOf(2.0f, 2.0f, 4.0f), ExceptionStatus::Warning);
    EXPECT_EQ(ExceptionStatusOf(3.99f, 2.0f, 4.0f), ExceptionStatus::Warning);
    EXPECT_EQ(ExceptionStatusOf(4.0f, 2.0f, 4.0f), ExceptionStatus::Critical);
    // Warning 10 above critical 5: everything from 5 up is critical, even below the warning level.
    EXPECT_EQ(ExceptionStatusOf(4.9f, 10.0f, 5.0f), ExceptionStatus::None);
    EXPECT_EQ(ExceptionStatusOf(5.0f, 10.0f, 5.0f), ExceptionStatus::Critical);
    EXPECT_EQ(ExceptionStatusOf(7.0f, 10.0f, 5.0f), ExceptionStatus::Critical);
    EXPECT_EQ(ExceptionStatusOf(12.0f, 10.0f, 5.0f), ExceptionStatus::Critical);
    EXPECT_EQ(ExceptionStatusOf(std::numeric_limits<float>::quiet_NaN(), 2.0f, 4.0f), ExceptionStatus::None);
}

TEST(CollectExceptionTest, ValuesAtTheLimitsAreReportedWithTheirTexts) {
    ExceptionList list;
    CVibReading reading = Reading(0);
    reading.fISOMMS = 2.0f;      // = warning
    reading.fBearingBDU = 30.0f; // = critical
    reading.fVABand2MMS = 4.0f;  // = critical
    CollectException(list, Options(), Machine("{m1}", "Fan", "a@x.org"), Point("Motor DE"), reading);

    const auto groups = list.Groups();
    ASSERT_EQ(groups.size(), 1u);
    ASSERT_EQ(groups[0].points.size(), 1u);
    const PointException& entry = groups[0].points[0];
    EXPECT_EQ(entry.pointName, "Motor DE");
    EXPECT_EQ(entry.dateTaken, reading.ctDateTaken);
    EXPECT_EQ(Measure(entry, ExceptionMeasure::IsoVelocity),
              (MeasureException{"2.000", ExceptionStatus::Warning}));
    EXPECT_EQ(Measure(entry, ExceptionMeasure::BearingNoise),
              (MeasureException{"30", ExceptionStatus::Critical}));
    EXPECT_EQ(Measure(entry, ExceptionMeasure::VaBand1), MeasureException{});
    EXPECT_EQ(Measure(entry, ExceptionMeasure::VaBand2),
              (MeasureException{"4.000", ExceptionStatus::Critical}));
    EXPECT_EQ(Measure(entry, ExceptionMeasure::VaBand3), MeasureException{});
}

TEST(CollectExceptionTest, CriticalBelowWarningIsCriticalWhereTheStatusViewWouldSayOk) {
    ExceptionList list;
    CVib point = Point("P");
    point.fISOWarningMMS = 10.0f;
    point.fISOCriticalMMS = 5.0f;
    CVibReading reading = Reading(0);
    reading.fISOMMS = 7.0f;
    CollectException(list, Options(), Machine("{m1}", "Fan", "a@x.org"), point, reading);
    ASSERT_EQ(list.Groups().size(), 1u);
    EXPECT_EQ(Measure(list.Groups()[0].points[0], ExceptionMeasure::IsoVelocity).status,
              ExceptionStatus::Critical);
}

TEST(CollectExceptionTest, IsoSwitchOffSuppressesIsoAndBandsButNotBearingNoise) {
    ExceptionList list;
    CVib point = Point("P");
    point.bISOAlarmsOn = false;
    CVibReading reading = Reading(0);
    reading.fISOMMS = 9.0f;
    reading.fVABand1MMS = 9.0f;
    reading.fVABand3MMS = 9.0f;
    CollectException(list, Options(), Machine("{m1}", "Fan", "a@x.org"), point, reading);
    EXPECT_TRUE(list.Empty());

    reading.fBearingBDU = 25.0f;
    CollectException(list, Options(), Machine("{m1}", "Fan", "a@x.org"), point, reading);
    ASSERT_EQ(list.Groups().size(), 1u);
    const PointException& entry = list.Groups()[0].points[0];
    EXPECT_EQ(Measure(entry, ExceptionMeasure::BearingNoise).status, ExceptionStatus::Warning);
    for (auto m : {ExceptionMeasure::IsoVelocity, ExceptionMeasure::VaBand1, ExceptionMeasure::VaBand2,
                   ExceptionMeasure::VaBand3}) {
        EXPECT_EQ(Measure(entry, m), MeasureException{});
    }
}

TEST(CollectExceptionTest, MissingValueIsNeverReportedEvenBeyondNegativeLimits) {
    ExceptionList list;
    CVib point = Point("P");
    point.fISOWarningMMS = -300.0f; // -100 would be critical if it were a value
    point.fISOCriticalMMS = -200.0f;
    point.fBDUWarning = -300.0f;
    point.fBDUCritical = -200.0f;
    CVibReading reading = Reading(0);
    reading.fISOMMS = kNoValue;
    reading.fBearingBDU = kNoValue;
    reading.fVABand1MMS = kNoValue;
    reading.fVABand2MMS = kNoValue;
    reading.fVABand3MMS = kNoValue;
    CollectException(list, Options(), Machine("{m1}", "Fan", "a@x.org"), point, reading);
    EXPECT_TRUE(list.Empty());

    reading.fVABand3MMS = -99.0f; // a real value still counts
    CollectException(list, Options(), Machine("{m1}", "Fan", "a@x.org"), point, reading);
    ASSERT_FALSE(list.Empty());
    EXPECT_EQ(Measure(list.Groups()[0].points[0], ExceptionMeasure::VaBand3).status,
              ExceptionStatus::Critical);
    EXPECT_EQ(Measure(list.Groups()[0].points[0], ExceptionMeasure::IsoVelocity), MeasureException{});
}

TEST(CollectExceptionTest, NothingWithoutAddressesOrWithExceptionMailsOff) {
    ExceptionList list;
    CVibReading reading = Reading(0);
    reading.fISOMMS = 50.0f;
    CollectException(list, Options(), Machine("{m1}", "Fan", ""), Point("P"), reading);
    EXPECT_TRUE(list.Empty());

    ExceptionCollectOptions off;
    off.emailExceptionsOnUpload = false;
    CollectException(list, off, Machine("{m1}", "Fan", "a@x.org"), Point("P"), reading);
    EXPECT_TRUE(list.Empty());
}

TEST(CollectExceptionTest, ReadingsOfOneMachineShareOneGroupInUploadOrder) {
    ExceptionList list;
    CVibReading hot = Reading(1);
    hot.fISOMMS = 5.0f;
    CollectException(list, Options(), Machine("{m1}", "Fan", "a@x.org"), Point("First"), hot);
    hot.ctDateTaken = hot.ctDateTaken.addSecs(60);
    CollectException(list, Options(), Machine("{m2}", "Pump", "b@x.org"), Point("Other"), hot);
    hot.ctDateTaken = hot.ctDateTaken.addSecs(60);
    CollectException(list, Options(), Machine("{m1}", "Fan 2", "a@x.org;c@x.org"), Point("Second"), hot);
    // A machine GUID differing only in case is another machine.
    CollectException(list, Options(), Machine("{M1}", "Fan", "a@x.org"), Point("Third"), hot);

    const auto groups = list.Groups();
    ASSERT_EQ(groups.size(), 3u);
    EXPECT_EQ(groups[0].machineGuid, "{m1}");
    EXPECT_EQ(groups[0].machineName, "Fan 2"); // the latest values win
    EXPECT_EQ(groups[0].recipients, "a@x.org;c@x.org");
    ASSERT_EQ(groups[0].points.size(), 2u);
    EXPECT_EQ(groups[0].points[0].pointName, "First");
    EXPECT_EQ(groups[0].points[1].pointName, "Second");
    EXPECT_EQ(groups[1].machineGuid, "{m2}");
    EXPECT_EQ(groups[2].machineGuid, "{M1}");

    list.Clear();
    EXPECT_TRUE(list.Empty());
}

TEST(CollectExceptionTest, ValueTextsFollowUnitsAndDecimals) {
    ExceptionList list;
    ExceptionCollectOptions options;
    options.format.units = DisplayUnits(FrequencyUnit::Hz, AmplitudeUnit::Imperial);
    options.format.decimalsInchS = 2;
    CVibReading reading = Reading(0);
    reading.fISOMMS = 25.4f;
    reading.fBearingBDU = 31.6f;
    CollectException(list, options, Machine("{m1}", "Fan", "a@x.org"), Point("P"), reading);
    const PointException& entry = list.Groups()[0].points[0];
    EXPECT_EQ(Measure(entry, ExceptionMeasure::IsoVelocity).valueText, "1.00");
    EXPECT_EQ(Measure(entry, ExceptionMeasure::BearingNoise).valueText, "32");
}

TEST(ExceptionListTest, WorkerThreadsAddWhileAnotherReads) {
    ExceptionList list;
    constexpr int kPerThread = 500;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&list, t] {
            for (int i = 0; i < kPerThread; ++i) {
                list.Add(QStringLiteral("{m%1}").arg(t % 2), QStringLiteral("M"), QStringLiteral("a@x"), {});
            }
        });
    }
    for (int i = 0; i < 100; ++i) {
        (void)list.Groups();
    }
    for (auto& thread : threads) {
        thread.join();
    }
    const auto groups = list.Groups();
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(groups[0].points.size() + groups[1].points.size(), 4u * kPerThread);
}

} // namespace
} // namespace vantor
