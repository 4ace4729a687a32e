#pragma once
// "Update Run Speed": the reading's ISO spectrum with a cursor standing at its run speed. The user
// drags the cursor to the true running speed; "Update" asks for confirmation and writes the new
// speed into the reading (its row, overall values and cache file).

#include "app/RunSpeedUpdate.h"

#include <QDialog>

namespace vantor {

class GraphPane;
struct PointViewsState;

class UpdateRunSpeedDialog : public QDialog {
    Q_OBJECT
public:
    UpdateRunSpeedDialog(PointViewsState& state, QWidget* parent = nullptr);

    GraphPane& Pane() const { return *pane_; }
    // Where the cursor stands, in displayed frequency units.
    double CursorFrequency() const { return cursorX_; }
    // The "Update" button: confirmation, then the update; the dialog closes unless the reading could
    // not be loaded or saved ("Error loading record" / "Error saving record" is shown).
    void Update();
    // The reading holds the new speed (also when only its cache file could not be rewritten: it
    // was removed and is decoded afresh from the updated row).
    bool Updated() const {
        return result_.outcome == RunSpeedOutcome::Updated || result_.outcome == RunSpeedOutcome::CacheFailed;
    }
    const RunSpeedResult& Result() const { return result_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void PlaceCursor();

    PointViewsState& state_;
    GraphPane* pane_ = nullptr;
    double cursorX_ = 0;
    bool placed_ = false;
    RunSpeedResult result_;
};

} // namespace vantor
