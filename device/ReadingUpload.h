#pragma once
// One reading fetched from the meter and stored: GetMeasurementPoint collects the measurement-point
// record, parses it, has the user correct an impossible date, and stores the result as a vibration
// reading (creating an unknown machine or point from the header) or, for the Off Route asset, as an
// off-route reading.

#include "device/MeasurementPointRecord.h"
#include "device/MeterResults.h"
#include "store/Records.h"

#include <QString>

#include <functional>

namespace vantor {

class CMainConnection;
class CMeterLink;
class CRecordSyncConnection;
class Prompter;

// Everything the upload of one reading needs besides the meter: the run's connections (of the
// calling thread), the prompter for the date correction and the exception collector.
struct ReadingUploadContext {
    CMainConnection& main;
    CRecordSyncConnection& sync;
    Prompter& prompter;
    QString offRouteAssetGuid;
    // Offered every reading stored under a route point, with its machine and point as stored.
    std::function<void(const CMachine&, const CVib&, const CVibReading&)> collectException;
    // Told, for the run's summary, of every reading whose header gave a run speed outside the
    // meter's range (see StoreUploadedReading).
    std::function<void(const QString&)> noteRunSpeed;
    // Offered every reading stored under a route point, with the run's connection (alarm events).
    std::function<void(CMainConnection&, const CVib&, const CVibReading&)> readingStored;
};

// Fetches the reading in `slot` of meter point `meterPoint` and stores it. 0 when stored; -73 when
// the user cancelled the date correction (nothing stored); otherwise the failure's code (nothing
// stored): -36 to -42 for the exchange, -43 to -110 for the header, kReadingNotStored for the
// database.
int GetMeasurementPoint(CMeterLink& link, int meterPoint, int slot, const CDevice& device,
                        ReadingUploadContext& context);

// The reading record a parsed reply gives: a new GUID, the point as parent, the device copies, the
// date, the header's values and both captures.
CVibReading MakeUploadedReading(const MeasurementPointHeader& header, const MeasurementPointReply& reply,
                                const CDevice& device, const QDateTime& taken);

// The run speeds a meter holds: the point editor's range (above 0, at most 1000 Hz) as the meter
// keeps it, with two decimals (CMD*CRTMPT sends "%.2f"), so from 0.01 Hz (0.005 rounds to it).
inline constexpr double kLeastMeterRunSpeedHz = 0.005;
bool IsMeterRunSpeed(double hz);

// Stores a parsed reading (see GetMeasurementPoint). 0 or kReadingNotStored. A header whose run
// speed lies outside the meter's range (IsMeterRunSpeed: not finite, below 0.01 Hz, above the
// 1000 Hz its point editor allows) still has its reading stored, with the point's run speed in place of the
// meter's (a point created from that header gets none, 0, until the user sets one; an off-route reading takes
// the off-route points' 25 Hz); a known point keeps its run speed, and noteRunSpeed is told.
int StoreUploadedReading(const MeasurementPointHeader& header, const CVibReading& reading,
                         ReadingUploadContext& context);

// Names taken from a header for a new machine or point, made fit for the columns: characters no
// name may hold (* $ \ / ? > < : " |) and control characters become "_", surrounding blanks go,
// the display name keeps at most 50 characters, the meter name at most 14 ASCII characters. An
// empty result becomes `fallback`.
QString HeaderDisplayName(const QString& name, const QString& fallback);
QString HeaderMeterName(const QString& name, const QString& fallback);

} // namespace vantor
