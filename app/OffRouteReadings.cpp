#include "app/OffRouteReadings.h"

#include "analysis/AlarmStatus.h"
#include "analysis/ReadingIndices.h"
#include "app/AlarmEvents.h"
#include "loaders/IndicesStore.h"
#include "platform/Prompter.h"
#include "store/SqlConnection.h"
#include "texts/DisplayFormat.h"
#include "texts/UiText.h"

#include <QLocale>
#include <QRegularExpression>

namespace vantor {
namespace {

// A value the meter did not produce shows as an empty cell.
QString Cell(MeasureKind kind, float value, const MeasureFormat& format) {
    return IsNoValue(value) ? QString() : FormatMeasure(kind, value, format);
}

} // namespace

QString ReadingDateText(const QDateTime& taken, const QLocale& locale) {
    if (!DisplayDatePattern().isEmpty()) {
        return DisplayDateTime(taken); // a language chosen in the desktop: its own dates
    }
    // The long time format ends in the time zone, which a reading's local time does not carry.
    static const QRegularExpression zone(QStringLiteral("\\s*\\bt+\\b"));
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    timeFormat.remove(zone);
    return locale.toString(taken.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
           locale.toString(taken.time(), timeFormat.trimmed());
}

OffRouteReadingList::OffRouteReadingList(CAppData& app)
    : SyncConnectionList(app), format_(MeasureFormatOf(app.settings)) {}

std::optional<COffRouteReading> OffRouteReadingList::Load(const QString& guid) {
    return LoadForEdit<COffRouteReading>(guid, prompter_, [this](const QString& g, COffRouteReading& r) {
        return Sync().GetOffRouteReading(g, r);
    });
}

bool OffRouteReadingList::Open() {
    if (app_.MainConnection() == nullptr || !app_.MainConnection()->IsOpen()) {
        return false;
    }
    return SyncConnectionList::Open();
}

QStringList OffRouteReadingList::Headers(const DisplayUnits& units) {
    QStringList headers{UiText(text::DateTime)};
    for (const MeasureKind kind : {MeasureKind::IsoVelocity, MeasureKind::BearingNoise,
                                   MeasureKind::Acceleration, MeasureKind::Displacement}) {
        headers << MeasureNameWithUnit(kind, {}, units); // no band among them
    }
    return headers;
}

void OffRouteReadingList::FillRows(CRecordSyncConnection& sync) {
    for (const COffRouteReading& reading : sync.ListOffRouteReadings()) {
        rows_.push_back({reading.sItemGUID, reading.ctDateTaken, ReadingDateText(reading.ctDateTaken),
                         Cell(MeasureKind::IsoVelocity, reading.fISOMMS, format_),
                         Cell(MeasureKind::BearingNoise, reading.fBearingBDU, format_),
                         Cell(MeasureKind::Acceleration, reading.fTotalG, format_),
                         Cell(MeasureKind::Displacement, reading.fDisplacementMicrons, format_)});
    }
}

EditOutcome OffRouteReadingList::Delete(const QString& guid) {
    if (!IsOpen()) {
        return EditOutcome::Failed;
    }
    if (!Load(guid)) {
        return EditOutcome::Failed;
    }
    return ConfirmAndDelete(text::DeleteVibReadingQuestion, [&guid](CRecordSyncConnection& sync) {
        return sync.DeleteOffRouteReading(guid);
    });
}

EditOutcome OffRouteReadingList::MoveTo(const QString& guid, const PointChooser& choose) {
    if (!IsOpen()) {
        return EditOutcome::Failed;
    }
    CMainConnection& db = *app_.MainConnection();
    const std::optional<COffRouteReading> loaded = Load(guid);
    if (!loaded) {
        return EditOutcome::Failed;
    }
    const COffRouteReading& offRoute = *loaded;
    const std::optional<QString> pointGuid = choose();
    if (!pointGuid) {
        return EditOutcome::Declined;
    }

    // Only a point that exists may receive the reading: a reading under a missing parent would be
    // stored where nothing ever shows or deletes it.
    const std::optional<CVib> point = LoadForEdit<CVib>(
        *pointGuid, prompter_, [&db](const QString& g, CVib& v) { return db.GetVib(g, v); });
    if (!point) {
        return EditOutcome::Failed;
    }

    CVibReading reading;
    static_cast<VibReadingValues&>(reading) = offRoute;
    reading.sItemGUID = offRoute.sItemGUID;
    reading.sParentGUID = point->sItemGUID;
    bool stored = false;
    try {
        stored = db.UpsertVibReading(reading);
    } catch (const DatabaseError& error) {
        qCWarning(lcApp) << "off-route reading" << reading.sItemGUID << "could not be moved to point"
                         << reading.sParentGUID << ":" << error.what();
        stored = false;
    }
    if (!stored) {
        prompter_.ShowMessage(UiText(text::ErrorSavingRecord));
        return EditOutcome::Failed;
    }
    EnvelopeAnalyzer analyzer;
    RecordReadingIndices(db.Connection(), reading, analyzer);
    RecordAlarmEvent(db, reading.sParentGUID);

    const bool deleted = Guarded(
        [&offRoute](CRecordSyncConnection& sync) { return sync.DeleteOffRouteReading(offRoute.sItemGUID); });
    Refill();
    // The reading is stored under the point either way; a row left behind can be deleted, and
    // moving it again only updates the same reading.
    return deleted ? EditOutcome::Done : EditOutcome::Failed;
}

} // namespace vantor
