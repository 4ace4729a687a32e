#include "ui/views/PointViews.h"

#include "app/Database.h"
#include "app/Settings.h"
#include "platform/Prompter.h"
#include "ui/common/Log.h"
#include "ui/common/PointViewTexts.h"
#include "ui/views/AnalysisView.h"
#include "ui/views/EnvelopeView.h"
#include "ui/views/FaultFamiliesLayer.h"
#include "ui/views/FindingsView.h"
#include "ui/views/PointViewsState.h"
#include "ui/views/ReadingListView.h"
#include "ui/views/SpectrumView.h"
#include "ui/views/TrendView.h"
#include "ui/views/WaterfallView.h"
#include "ui/views/WaveformView.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include <algorithm>

namespace vantor {

namespace {

// The analysis page's division is kept in a file of its own beside the user's settings.
QString LayoutFile(const CAppData& app) {
    const QString settings = SettingsStore(app.edition).FilePath();
    if (settings.isEmpty()) {
        return {};
    }
    const QFileInfo file(settings);
    return file.dir().filePath(file.completeBaseName() + QStringLiteral("-views.ini"));
}

// The user's choice of harmonics per fault family, in the same file.
const QString kFaultHarmonicsKey = QStringLiteral("FaultFamilies/Harmonics");

} // namespace

PointViews::PointViews(CAppData& app, QWidget* parent)
    : QTabWidget(parent), app_(app), state_(std::make_unique<PointViewsState>(app)) {
    if (const QString file = LayoutFile(app); !file.isEmpty()) {
        const int harmonics =
            QSettings(file, QSettings::IniFormat).value(kFaultHarmonicsKey, kFaultHarmonicsToViewEnd).toInt();
        state_->faultHarmonics = std::clamp(harmonics, kFaultHarmonicsToViewEnd, kMostFaultHarmonics);
    }
    trend_ = new TrendView(*state_, this);
    spectrum_ = new SpectrumView(*state_, this);
    waterfall_ = new WaterfallView(*state_, this);
    waveform_ = new WaveformView(*state_, this);
    readings_ = new ReadingListView(*state_, this);
    envelope_ = new EnvelopeView(*state_, this);
    analysis_ = new AnalysisView(*state_, LayoutFile(app), this);
    findings_ = new FindingsView(*state_, this);
    views_ = {trend_, spectrum_, waterfall_, waveform_, nullptr, nullptr, nullptr, nullptr};
    addTab(trend_, QString());
    addTab(spectrum_, QString());
    addTab(waterfall_, QString());
    addTab(waveform_, QString());
    addTab(readings_, QString());
    // After the documented tabs, so their places stay as they were.
    addTab(envelope_, QString());
    addTab(analysis_, QString());
    addTab(findings_, QString());
    RefreshTexts();

    auto openReading = [this](const QString& guid) {
        ShowReading(guid);
        setCurrentIndex(SpectrumTab);
    };
    connect(trend_, &ReadingView::ReadingClicked, this, openReading);
    connect(waterfall_, &ReadingView::ReadingClicked, this, openReading);
    connect(readings_, &ReadingListView::ReadingActivated, this, openReading);
    // The analysis page shows the chosen reading in place.
    connect(analysis_, &AnalysisView::ReadingChosen, this, &PointViews::ShowReading);
    connect(readings_, &ReadingListView::DeleteRequested, this, &PointViews::DeleteReading);
    connect(spectrum_, &SpectrumView::RunSpeedUpdated, this, [this] {
        ReloadPoint();
        emit ReadingsChanged();
    });
    connect(&analysis_->Spectrum(), &SpectrumView::RunSpeedUpdated, this, [this] {
        ReloadPoint();
        emit ReadingsChanged();
    });
    connect(findings_, &FindingsView::EvidenceChosen, this, &PointViews::ShowEvidence);
    for (ReadingView* view : FamilyViews()) {
        connect(view, &ReadingView::FaultHarmonicsChanged, this, &PointViews::ApplyFaultHarmonics);
    }
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
    readings_->Redraw();
    // Every view loads what it shows when it is shown.
    PointChanged();
    LoadCurrentTab();
}

void PointViews::ShowReading(const QString& readingGuid) {
    if (readingGuid == state_->readingGuid && state_->loaded) {
        return;
    }
    state_->readingGuid = readingGuid;
    state_->ForgetReading();
    readings_->Redraw();
    ReadingChanged();
    LoadCurrentTab();
}

void PointViews::Clear() {
    state_->point.reset();
    state_->machineName.clear();
    state_->readings.clear();
    state_->readingGuid.clear();
    state_->ForgetReading();
    for (ReadingView* view : views_) {
        if (view) {
            view->Clear();
        }
    }
    analysis_->Trend().Clear();
    analysis_->Spectrum().Clear();
    analysis_->Waveform().Clear();
    envelope_->Clear();
    findings_->Clear();
    readings_->Redraw();
    stale_.fill(false);
    analysisReadingStale_ = false;
}

void PointViews::Redraw() {
    readings_->Redraw();
    PointChanged();
    LoadCurrentTab();
}

std::vector<ReadingView*> PointViews::FamilyViews() const {
    std::vector<ReadingView*> views;
    for (ReadingView* view :
         {static_cast<ReadingView*>(spectrum_), static_cast<ReadingView*>(waterfall_),
          static_cast<ReadingView*>(envelope_), static_cast<ReadingView*>(&analysis_->Spectrum()),
          static_cast<ReadingView*>(&analysis_->Envelope())}) {
        if (view->Families()) {
            views.push_back(view);
        }
    }
    return views;
}

void PointViews::ApplyFaultHarmonics() {
    if (const QString file = LayoutFile(app_); !file.isEmpty()) {
        QSettings views(file, QSettings::IniFormat);
        views.setValue(kFaultHarmonicsKey, state_->faultHarmonics);
        views.sync();
        if (views.status() != QSettings::NoError) {
            qCWarning(lcUi) << "the fault family harmonics were not stored in" << file;
        }
    }
    for (ReadingView* view : FamilyViews()) {
        view->Families()->SetHarmonics(state_->faultHarmonics);
    }
}

void PointViews::PointChanged() {
    stale_.fill(true);
}

void PointViews::ReadingChanged() {
    stale_[SpectrumTab] = stale_[WaveformTab] = stale_[EnvelopeTab] = stale_[FindingsTab] = true;
    analysisReadingStale_ = true;
}

void PointViews::RefreshTexts() {
    setTabText(TrendTab, UiText(text::views::Trend));
    setTabText(SpectrumTab, UiText(text::views::SingleFft));
    setTabText(WaterfallTab, UiText(text::views::WaterfallFft));
    setTabText(WaveformTab, UiText(text::views::Waveform));
    setTabText(ReadingsTab, UiText(text::views::VibReadings));
    setTabText(EnvelopeTab, UiText(text::added::Envelope));
    setTabText(AnalysisTab, UiText(text::added::AnalysisTab));
    setTabText(FindingsTab, UiText(text::added::Findings));
    findings_->RefreshTexts();
    readings_->RefreshTexts();
    // The graphs' titles and captions come from the texts too: every chooser now, the graphs
    // when shown.
    trend_->RefreshTexts();
    spectrum_->RefreshTexts();
    waterfall_->RefreshTexts();
    waveform_->RefreshTexts();
    analysis_->RefreshTexts();
    PointChanged();
    LoadCurrentTab();
}

void PointViews::ReloadPoint() {
    const QString reading = state_->readingGuid;
    std::optional<ViewedPoint> viewed = LoadViewedPoint(app_, PointGuid());
    if (!viewed) {
        Clear();
        return;
    }
    state_->point = viewed->point;
    state_->machineName = viewed->machineName;
    state_->readings = std::move(viewed->readings);
    // The shown reading stays while it exists (drawn once, so its zoom and cursors stay too).
    const bool kept = std::any_of(state_->readings.begin(), state_->readings.end(),
                                  [&reading](const CVibReading& row) { return row.sItemGUID == reading; });
    state_->readingGuid = kept                       ? reading
                          : state_->readings.empty() ? QString()
                                                     : state_->readings.back().sItemGUID;
    state_->ForgetReading();
    readings_->Redraw();
    PointChanged();
    LoadCurrentTab();
}

void PointViews::LoadCurrentTab() {
    const int tab = currentIndex();
    if (tab < 0 || tab >= TabCount) {
        return;
    }
    const auto index = static_cast<std::size_t>(tab);
    if (tab == AnalysisTab) {
        if (stale_[index]) {
            analysis_->RedrawAll();
        } else if (analysisReadingStale_) {
            analysis_->RedrawReading();
        }
        stale_[index] = analysisReadingStale_ = false;
        return;
    }
    if (tab == EnvelopeTab) {
        if (stale_[index]) {
            stale_[index] = false;
            envelope_->Redraw();
        }
        return;
    }
    if (tab == FindingsTab) {
        if (stale_[index]) {
            stale_[index] = false;
            findings_->Redraw();
        }
        return;
    }
    if (stale_[index] && views_[index]) {
        stale_[index] = false;
        views_[index]->Redraw();
    }
}

void PointViews::ShowEvidence(EvidenceSpectrum spectrum, double hz) {
    if (spectrum == EvidenceSpectrum::Envelope) {
        setCurrentIndex(EnvelopeTab);
        envelope_->PlaceCursorAt(hz);
        return;
    }
    setCurrentIndex(SpectrumTab);
    // Chosen after the tab is drawn: a changed kind redraws the spectrum once.
    spectrum_->SetKind(spectrum == EvidenceSpectrum::Iso ? MeasureKind::IsoVelocity
                                                         : MeasureKind::Acceleration);
    spectrum_->PlaceCursorAt(hz);
}

bool PointViews::DeleteReading(const QString& readingGuid) {
    if (!DatabaseOpen(app_) || readingGuid.isEmpty() ||
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
