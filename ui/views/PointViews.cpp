#include "ui/views/PointViews.h"

#include "platform/Prompter.h"
#include "ui/views/PointViewTexts.h"
#include "ui/views/PointViewsState.h"
#include "ui/views/ReadingListView.h"
#include "ui/views/SpectrumView.h"
#include "ui/views/TrendView.h"
#include "ui/views/WaterfallView.h"
#include "ui/views/WaveformView.h"

#include <algorithm>

namespace vantor {

PointViews::PointViews(CAppData& app, QWidget* parent)
    : QTabWidget(parent), app_(app), state_(std::make_unique<PointViewsState>(app)) {
    trend_ = new TrendView(*state_, this);
    spectrum_ = new SpectrumView(*state_, this);
    waterfall_ = new WaterfallView(*state_, this);
    waveform_ = new WaveformView(*state_, this);
    readings_ = new ReadingListView(*state_, this);
    addTab(trend_, QString());
    addTab(spectrum_, QString());
    addTab(waterfall_, QString());
    addTab(waveform_, QString());
    addTab(readings_, QString());
    RefreshTexts();

    auto openReading = [this](const QString& guid) {
        ShowReading(guid);
        setCurrentIndex(SpectrumTab);
    };
    connect(trend_, &TrendView::ReadingClicked, this, openReading);
    connect(waterfall_, &WaterfallView::ReadingClicked, this, openReading);
    connect(readings_, &ReadingListView::ReadingActivated, this, openReading);
    connect(readings_, &ReadingListView::DeleteRequested, this, &PointViews::DeleteReading);
    connect(spectrum_, &SpectrumView::RunSpeedUpdated, this, [this] {
        ReloadPoint();
        emit ReadingsChanged();
    });
    connect(this, &QTabWidget::currentChanged, this, &PointViews::LoadCurrentTab);
}

PointViews::~PointViews() = default;

QString PointViews::PointGuid() const {
    return state_->point ? state_->point->sItemGUID : QString();
}

QString PointViews::ReadingGuid() const {
    return state_->readingGuid;
}

bool PointViews::ScaleLock() const {
    return state_->scaleLock;
}

void PointViews::SetScaleLock(bool locked) {
    state_->scaleLock = locked;
}

void PointViews::ShowPoint(const QString& vibGuid) {
    state_->point.reset();
    state_->machineName.clear();
    state_->readings.clear();
    std::optional<ViewedPoint> viewed = LoadViewedPoint(app_, vibGuid);
    if (!viewed) {
        Clear();
        return;
    }
    state_->point = viewed->point;
    state_->machineName = viewed->machineName;
    state_->readings = std::move(viewed->readings);
    state_->readingGuid = state_->readings.empty() ? QString() : state_->readings.back().sItemGUID;
    state_->ForgetReading();
    trend_->Redraw();
    readings_->Redraw();
    // The signal views load their readings when they are shown.
    spectrumStale_ = waveformStale_ = waterfallStale_ = true;
    LoadCurrentTab();
}

void PointViews::ShowReading(const QString& readingGuid) {
    if (readingGuid == state_->readingGuid && state_->loaded) {
        return;
    }
    state_->readingGuid = readingGuid;
    state_->ForgetReading();
    readings_->Redraw();
    spectrumStale_ = waveformStale_ = true;
    LoadCurrentTab();
}

void PointViews::Clear() {
    state_->point.reset();
    state_->machineName.clear();
    state_->readings.clear();
    state_->readingGuid.clear();
    state_->ForgetReading();
    trend_->Clear();
    spectrum_->Clear();
    waterfall_->Clear();
    waveform_->Clear();
    readings_->Redraw();
    spectrumStale_ = waveformStale_ = waterfallStale_ = false;
}

void PointViews::Redraw() {
    trend_->Redraw();
    readings_->Redraw();
    spectrumStale_ = waveformStale_ = waterfallStale_ = true;
    LoadCurrentTab();
}

void PointViews::RefreshTexts() {
    setTabText(TrendTab, UiText(text::views::Trend));
    setTabText(SpectrumTab, UiText(text::views::SingleFft));
    setTabText(WaterfallTab, UiText(text::views::WaterfallFft));
    setTabText(WaveformTab, UiText(text::views::Waveform));
    setTabText(ReadingsTab, UiText(text::views::VibReadings));
    trend_->RefreshTexts();
    readings_->RefreshTexts();
    waterfall_->RefreshTexts();
    // The graphs' titles and captions come from the texts too.
    spectrum_->RefreshTexts();
    spectrumStale_ = false;
    waveformStale_ = waterfallStale_ = true;
    LoadCurrentTab();
}

void PointViews::ReloadPoint() {
    const QString reading = state_->readingGuid;
    ShowPoint(PointGuid());
    const bool kept = std::any_of(state_->readings.begin(), state_->readings.end(),
                                  [&reading](const CVibReading& row) { return row.sItemGUID == reading; });
    if (kept) {
        ShowReading(reading);
    }
}

void PointViews::LoadCurrentTab() {
    switch (currentIndex()) {
    case SpectrumTab:
        if (spectrumStale_) {
            spectrumStale_ = false;
            spectrum_->Redraw();
        }
        break;
    case WaterfallTab:
        if (waterfallStale_) {
            waterfallStale_ = false;
            waterfall_->Redraw();
        }
        break;
    case WaveformTab:
        if (waveformStale_) {
            waveformStale_ = false;
            waveform_->Redraw();
        }
        break;
    default:
        break;
    }
}

bool PointViews::DeleteReading(const QString& readingGuid) {
    if (!app_.MainConnection() || readingGuid.isEmpty() ||
        !app_.UserPrompter().AskYesNo(UiText(text::views::DeleteReadingQuestion))) {
        return false;
    }
    if (!DeleteReadingShown(app_, readingGuid)) {
        return false;
    }
    ReloadPoint();
    emit ReadingsChanged();
    return true;
}

} // namespace vantor
