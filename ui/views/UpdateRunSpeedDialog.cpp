#include "ui/views/UpdateRunSpeedDialog.h"

#include "analysis/ViewData.h"
#include "analysis/ViewTexts.h"
#include "graphviews/GraphViews.h"
#include "platform/Prompter.h"
#include "ui/common/AxisSetupDialog.h"
#include "ui/common/PointViewTexts.h"
#include "ui/views/CursorTools.h"
#include "ui/views/GraphPane.h"
#include "ui/views/PointViewsState.h"

#include <VantorGraph/VantorGraphCtrl.h>

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vantor {
namespace {
constexpr int kDialogWidth = 720;
constexpr int kDialogHeight = 480;
// The frequency axis reaches this many times the run speed.
constexpr double kShownRunSpeedOrders = 10.0;
} // namespace

UpdateRunSpeedDialog::UpdateRunSpeedDialog(PointViewsState& state, QWidget* parent)
    : QDialog(parent), state_(state) {
    setWindowTitle(UiText(text::UpdateRunSpeedTitle));
    pane_ = new GraphPane(state.app.UserPrompter(), this);
    auto* tip = new QLabel(UiText(text::UpdateRunSpeedTip), this);
    tip->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* update = buttons->addButton(UiText(text::views::Update), QDialogButtonBox::AcceptRole);
    QPushButton* exit = buttons->addButton(UiText(text::views::Exit), QDialogButtonBox::RejectRole);
    connect(update, &QPushButton::clicked, this, &UpdateRunSpeedDialog::Update);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pane_, 1);
    layout->addWidget(tip);
    layout->addWidget(buttons);
    resize(kDialogWidth, kDialogHeight);

    auto* readout = new CursorReadout(pane_->Graph(), pane_->Readout(), this);
    connect(&pane_->Graph(), &CVantorGraphCtrl::SimpleCursorInfo, this,
            [this](double x, double) { cursorX_ = x; });
    if (const ViewedReading* reading = state_.Reading()) {
        const DisplayUnits units = state_.Units();
        if (std::optional<SpectrumViewData> view = MakeSpectrumViewData(
                reading->decoded, MeasureKind::IsoVelocity, units, state_.Consolidate())) {
            // The low orders fill the width, so the cursor can be placed to a line.
            if (view->runSpeed > 0 && view->xAxis.maximum > kShownRunSpeedOrders * view->runSpeed) {
                view->xAxis = FrequencyAxisRange(0, kShownRunSpeedOrders * view->runSpeed,
                                                 units.Frequency() != FrequencyUnit::Hz);
            }
            ShowSpectrumView(pane_->Graph(), *view, BandAlarmLevel(*reading, units), ReadingTitle(*reading),
                             SpectrumDrawingOf(state_.FftLineOrBar()));
            readout->SetUnits(view->xLabel, view->xAxis.decimals + 1, view->yLabel, view->yAxis.decimals + 1);
            cursorX_ = view->runSpeed;
        }
    }
    update->setEnabled(pane_->Graph().GetSeriesCount() > 0);
    PlaceCursor();
}

void UpdateRunSpeedDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // At its final size the control snaps the cursor to the drawn lines again.
    PlaceCursor();
}

void UpdateRunSpeedDialog::PlaceCursor() {
    if (pane_->Graph().GetSeriesCount() == 0) {
        return;
    }
    pane_->LayOut();
    SetGraphCursor(pane_->Graph(), GraphCursor::Simple, cursorX_);
    pane_->Graph().ReFireCursorData();
    placed_ = true;
}

void UpdateRunSpeedDialog::Update() {
    const ViewedReading* reading = state_.Reading();
    if (!reading || !placed_) {
        return;
    }
    const float newSpeed = RunSpeedFromCursor(cursorX_, state_.Units().FrequencyFactor());
    result_ = UpdateRunSpeedOf(state_.app, state_.processor, state_.readingGuid, newSpeed);
    switch (result_.outcome) {
    case RunSpeedOutcome::Updated:
    case RunSpeedOutcome::CacheFailed: // the row holds the new speed; the cache is rebuilt from it
        accept();
        break;
    case RunSpeedOutcome::Declined:
        reject();
        break;
    case RunSpeedOutcome::LoadFailed:
        state_.app.UserPrompter().ShowMessage(UiText(text::ErrorLoadingRecord));
        break;
    case RunSpeedOutcome::SaveFailed:
        // Nothing was written; the dialog stays for another try.
        state_.app.UserPrompter().ShowMessage(UiText(text::ErrorSavingRecord));
        break;
    }
}

} // namespace vantor
