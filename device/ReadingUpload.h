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

// Stores a parsed reading (see GetMeasurementPoint). 0 or kReadingNotStored.
int StoreUploadedReading(const MeasurementPointHeader& header, const CVibReading& reading,
                         ReadingUploadContext& context);

// Names taken from a header for a new machine or point, made fit for the columns: characters no
// name may hold (* $ \ / ? > < : " |) and control characters become "_", surrounding blanks go,
// the display name keeps at most 50 characters, the meter name at most 14 ASCII characters. An
// empty result becomes `fallback`.
QString HeaderDisplayName(const QString& name, const QString& fallback);
QString HeaderMeterName(const QString& name, const QString& fallback);

} // namespace vantor
