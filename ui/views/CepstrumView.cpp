#include "ui/views/CepstrumView.h"

#include "analysis/AxisScale.h"
#include "analysis/Cepstrum.h"
#include "analysis/CepstrumViewData.h"
#include "app/BearingEditor.h"
#include "app/ViewedReading.h"
#include "graphviews/GraphViews.h"
#include "texts/UiText.h"
#include "ui/common/PointViewTexts.h"
#include "ui/views/GraphPane.h"
#include "ui/views/PointViewsState.h"

#include <VantorGraph/VantorGraphCtrl.h>

#include <QLabel>

#include <algorithm>

namespace vantor {
namespace {
constexpr int kQuefrencyReadoutDecimals = 3;
constexpr int kCepstrumReadoutDecimals = 4;
} // namespace

CepstrumView::CepstrumView(PointViewsState& state, QWidget* parent) : ReadingView(state, {}, parent) {
    caption_ = new QLabel(this);
    caption_->setObjectName(QStringLiteral("CepstrumCaption"));
    caption_->setWordWrap(true);
    AddFillingToBar(caption_);
}

QString CepstrumView::Caption() const {
    return caption_->text();
}

void CepstrumView::Clear() {
    ShowCepstrumView(Pane().Graph(), CepstrumViewData{}, QString());
    Emptied();
    caption_->clear();
}

void CepstrumView::Redraw() {
    const ViewedReading* reading = state_.Reading();
    if (!reading) {
        Clear();
        return;
    }
    const ChannelSignals& total = reading->decoded.total;
    const std::optional<Cepstrum> cepstrum = RealCepstrum(total.waveform, total.samplingFrequencyHz);
    if (!cepstrum) {
        Clear();
        caption_->setText(UiText(text::added::CepstrumTab) + QStringLiteral(": ") +
                          UiText(text::added::NoCaptureForCepstrum));
        return;
    }
    const std::vector<BearingAtPoint> bearings =
        reading->point ? BearingsAtPointShown(state_.app, reading->point->sItemGUID)
                       : std::vector<BearingAtPoint>{};
    CepstrumViewData view =
        MakeCepstrumViewData(*cepstrum, CepstrumMarks(*cepstrum, reading->decoded.runSpeedHz, bearings));
    ShowCepstrumView(Pane().Graph(), view, ReadingTitle(*reading));
    caption_->setText(view.marks.empty()
                          ? QString()
                          : UiText(text::added::CepstrumPeriods).arg(CepstrumMarksText(view.marks)));

    DrawnGraph drawn;
    drawn.xUnit = QStringLiteral("ms");
    drawn.xDecimals = kQuefrencyReadoutDecimals;
    drawn.yUnit = QString();
    drawn.yDecimals = kCepstrumReadoutDecimals;
    drawn.cursorStart =
        view.marks.empty() ? (view.xAxis.minimum + view.xAxis.maximum) / 2 : view.marks.front().periodMs;
    drawn.source = state_.readingGuid + QStringLiteral("/cepstrum");
    drawn.lineX = std::move(view.x);
    drawn.lineY = std::move(view.y);
    Drawn(std::move(drawn));
}

} // namespace vantor
