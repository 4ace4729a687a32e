#pragma once
// The bearing library's editor and a point's bearings, as the desktop's dialogs and the command
// line both use them: every change is checked first (an absurd geometry, a fifth bearing on a
// point) and refused with its message through the prompter, storing nothing.

#include "analysis/FaultFamilies.h"
#include "app/CAppData.h"
#include "app/EditOutcome.h"
#include "store/BearingChecks.h"
#include "store/BearingStore.h"

#include <optional>
#include <vector>

namespace vantor {

class BearingEditor {
public:
    BearingEditor(CMainConnection& db, Prompter& prompter);

    // The library in its order, and a point's assignments in theirs; nothing after "Error loading
    // record, please try again" when the database fails.
    std::optional<std::vector<CBearing>> ListBearings();
    std::optional<std::vector<CPointBearing>> ListPointBearings(const QString& point);

    // A bearing list spreadsheet read, checked row by row and stored in one transaction: the
    // refusals ("line N: ...") or the summary ("Bearings: 2 new, 1 updated") are shown; true when
    // stored.
    bool ImportCsvFile(const QString& path);
    // The whole library into a spreadsheet; false after "Error exporting data".
    bool ExportCsvFile(const QString& path);

    // The bearing named by its GUID or by a designation only one bearing carries; shows why not
    // ("no bearing ...", "2 bearings are designated ...") and gives nothing.
    std::optional<CBearing> FindBearing(const QString& key);

    // Adds (empty GUID; placed last) or updates a bearing after its checks; its GUID when stored.
    std::optional<QString> SaveBearing(CBearing bearing);
    // Asks first, naming how many points watch it; removes its assignments with it.
    EditOutcome DeleteBearing(const QString& guid);

    // The message refusing an assignment, or none: a location of 1 to 50 characters, a ratio above 0
    // and at most 100 (CheckPointBearing).
    static std::optional<QString> CheckAssignment(const CPointBearing& assignment);
    // Adds a bearing to a vibration point (its GUID when stored); a fifth one is refused.
    std::optional<QString> AssignBearing(const QString& point, const QString& bearingKey,
                                         const QString& location, double speedRatio = 1.0);
    // Removes the point's bearing number n (from 1, in the point's order).
    EditOutcome RemovePointBearing(const QString& point, int number);
    // Replaces the point's bearings (the point set-up's bearing section), after every check.
    EditOutcome SavePointBearings(const QString& point, const std::vector<CPointBearing>& assignments);
    // The checks made before a point's bearings are replaced: at most four rows, each acceptable.
    // Shows the refusal and gives false.
    bool AcceptPointBearings(const std::vector<CPointBearing>& assignments);
    // Replaces the point's bearings without a message, joining the caller's transaction: false when
    // a bearing is not in the library or a row was not stored (a DatabaseError may also escape), and
    // the caller must then not commit.
    bool StorePointBearings(const QString& point, const std::vector<CPointBearing>& assignments);

private:
    bool Refuse(const QString& message);

    CMainConnection& db_;
    Prompter& prompter_;
    CBearingStore store_;
};

// The bearings a point watches, with their factors, for the views that draw their families: none
// for an empty GUID, and none (the failure logged, nothing shown) when the database fails, so that
// a view draws its spectrum as it would without bearings.
std::vector<BearingAtPoint> BearingsAtPointShown(CAppData& app, const QString& point);

} // namespace vantor
