#pragma once
// The bearing library's editor and a point's bearings, as the desktop's dialogs and the command
// line both use them: every change is checked first (an absurd geometry, a fifth bearing on a
// point) and refused with its message through the prompter, storing nothing.

#include "app/EditOutcome.h"
#include "store/BearingStore.h"

#include <optional>
#include <vector>

namespace vantor {

inline constexpr int kBearingTextLimit = 50;   // designation, maker, location
inline constexpr double kMostSpeedRatio = 100; // a bearing's shaft against the point's run speed

class BearingEditor {
public:
    BearingEditor(CMainConnection& db, Prompter& prompter);

    // The bearing named by its GUID or by a designation only one bearing carries; shows why not
    // ("no bearing ...", "2 bearings are designated ...") and gives nothing.
    std::optional<CBearing> FindBearing(const QString& key);

    // Adds (empty GUID; placed last) or updates a bearing after its checks; its GUID when stored.
    std::optional<QString> SaveBearing(CBearing bearing);
    // Asks first, naming how many points watch it; removes its assignments with it.
    EditOutcome DeleteBearing(const QString& guid);

    // The message refusing an assignment, or none: a location of 1 to 50 characters, a ratio above 0
    // and at most 100.
    static std::optional<QString> CheckAssignment(const CPointBearing& assignment);
    // Adds a bearing to a vibration point (its GUID when stored); a fifth one is refused.
    std::optional<QString> AssignBearing(const QString& point, const QString& bearingKey,
                                         const QString& location, double speedRatio = 1.0);
    // Removes the point's bearing number n (from 1, in the point's order).
    EditOutcome RemovePointBearing(const QString& point, int number);
    // Replaces the point's bearings (the point set-up's bearing section), after every check.
    EditOutcome SavePointBearings(const QString& point, const std::vector<CPointBearing>& assignments);

private:
    bool Refuse(const QString& message);

    CMainConnection& db_;
    Prompter& prompter_;
    CBearingStore store_;
};

} // namespace vantor
