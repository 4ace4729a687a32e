#pragma once
// The off-route readings list: readings a meter took on the Off Route points, newest first, with
// the commands that delete one or move it to a real vibration point. Works on the secondary
// connection (off-route rows) and the main connection (the vibration reading a move stores).

#include "analysis/MeasureFormat.h"
#include "app/OptionsFromSettings.h"
#include "app/SyncConnectionList.h"

#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace vantor {

// One row as the list shows it.
struct OffRouteRow {
    QString guid;
    QDateTime taken;
    QString date;         // the date and time taken, in the user's locale
    QString iso;          // velocity in the current unit
    QString bearingNoise; // BDU
    QString total;        // g
    QString displacement; // in the current unit
};

class OffRouteReadingList final : public SyncConnectionList {
public:
    // Chooses the vibration point a reading moves to; empty when the user cancels.
    using PointChooser = std::function<std::optional<QString>()>;

    explicit OffRouteReadingList(CAppData& app);

    // Opens the secondary connection and fills the list; false when the connection (or the main
    // database) is not available — the list's window then closes at once.
    bool Open() override;

    // Headers of the visible columns: Date/Time, ISO (velocity unit), Brg. Noise (BDU), Total (g),
    // Displacement (displacement unit).
    static QStringList Headers(const DisplayUnits& units);
    QStringList Headers() const { return Headers(format_.units); }

    const std::vector<OffRouteRow>& Rows() const { return rows_; }

    // Asks "Do you want to delete this Vibration Reading?"; on Yes deletes the row and refills.
    EditOutcome Delete(const QString& guid);

    // Loads the off-route reading ("Error loading record, please try again" when it cannot be
    // loaded), lets `choose` pick a vibration point, stores the reading under that point (an
    // existing reading of the point taken at the same instant is updated) and, only once that
    // store succeeded, deletes the off-route row and refills. A failed store keeps the row.
    EditOutcome MoveTo(const QString& guid, const PointChooser& choose);

private:
    void FillRows(CRecordSyncConnection& sync) override;
    void ClearRows() override { rows_.clear(); }
    // The off-route reading with this GUID; shows "Error loading record" when there is none.
    std::optional<COffRouteReading> Load(const QString& guid);

    MeasureFormat format_;
    std::vector<OffRouteRow> rows_;
};

// A reading's date and time in the locale's short date and its time with seconds.
QString ReadingDateText(const QDateTime& taken, const QLocale& locale = QLocale::system());

} // namespace vantor
