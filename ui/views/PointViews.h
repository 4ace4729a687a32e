#pragma once
// The reading views of a vibration point, as tabs: its trend, the spectrum of one reading (Single
// FFT), the spectra of its latest readings (Waterfall FFT), the waveform of one reading and the
// status list of its readings. Every graph is the graph control, filled through GraphViews as the
// command line's pictures are.

#include "app/CAppData.h"

#include <QString>
#include <QTabWidget>

#include <array>
#include <memory>
#include <vector>

namespace vantor {

class AnalysisView;
class TrendView;
class SpectrumView;
class WaterfallView;
class WaveformView;
class EnvelopeView;
class FindingsView;
enum class EvidenceSpectrum;
class ReadingListView;
class ReadingView;
struct PointViewsState;

// tabs: Trend, Single FFT, Waterfall FFT, Waveform, Readings, Envelope, Analysis (trend, spectrum and
// waveform on one page), Findings (the automatic diagnosis of the shown reading)
class PointViews : public QTabWidget {
    Q_OBJECT
public:
    enum Tab {
        TrendTab = 0,
        SpectrumTab,
        WaterfallTab,
        WaveformTab,
        ReadingsTab,
        EnvelopeTab,
        AnalysisTab,
        FindingsTab,
        TabCount
    };

    explicit PointViews(CAppData& app, QWidget* parent = nullptr);
    ~PointViews() override;

    void ShowPoint(const QString& vibGuid);       // a vibration point: trend + its newest reading
    void ShowReading(const QString& readingGuid); // that reading in the FFT/waveform views
    void Clear();                                 // nothing selected
    void Redraw(); // display settings changed (units, decimals, bar/line, OVO, scale lock)
    // The shown point read again (its readings changed): the shown reading stays while it exists.
    void ReloadPoint();
    void RefreshTexts(); // language changed: re-read every caption from the UI text table

    // Scale Lock: while on, the spectrum views keep their amplitude axis from reading to reading.
    void SetScaleLock(bool locked);
    bool ScaleLock() const;

    // The shown point and reading; empty when none.
    QString PointGuid() const;
    QString ReadingGuid() const;

    TrendView& Trend() const { return *trend_; }
    SpectrumView& Spectrum() const { return *spectrum_; }
    WaterfallView& Waterfall() const { return *waterfall_; }
    WaveformView& Waveform() const { return *waveform_; }
    ReadingListView& Readings() const { return *readings_; }
    EnvelopeView& Envelope() const { return *envelope_; }
    AnalysisView& Analysis() const { return *analysis_; }
    FindingsView& Findings() const { return *findings_; }

    // Asks "Do you want to delete this Vibration Reading?"; on Yes deletes it (its cache file with
    // it), shows the point again and emits ReadingsChanged. False when declined or the delete failed.
    bool DeleteReading(const QString& readingGuid);
    // An evidence line of the findings: its spectrum shown (Single FFT, or Envelope) with the cursor
    // at hz.
    void ShowEvidence(EvidenceSpectrum spectrum, double hz);

signals:
    void ReadingsChanged(); // a reading was deleted or its run speed updated: the tree refreshes

private:
    // Every view's fault families follow the harmonics in the views' state, which are kept in the
    // user's views file (beside the settings, with the analysis page's division).
    void ApplyFaultHarmonics();
    // The views that draw fault families (the spectra, the waterfall, the envelope; the analysis
    // page's too).
    std::vector<ReadingView*> FamilyViews() const;
    void LoadCurrentTab();
    // Marks the tabs that show the point (all) or only the shown reading as to be redrawn.
    void PointChanged();
    void ReadingChanged();

    CAppData& app_;
    std::unique_ptr<PointViewsState> state_;
    TrendView* trend_ = nullptr;
    SpectrumView* spectrum_ = nullptr;
    WaterfallView* waterfall_ = nullptr;
    WaveformView* waveform_ = nullptr;
    ReadingListView* readings_ = nullptr;
    EnvelopeView* envelope_ = nullptr;
    AnalysisView* analysis_ = nullptr;
    FindingsView* findings_ = nullptr;
    // The graph views of each tab (none for the reading list).
    std::array<ReadingView*, TabCount> views_{};
    // Tabs whose data changed while another tab was shown; they redraw when shown. The analysis
    // page redraws only its reading graphs when only the reading changed.
    std::array<bool, TabCount> stale_{};
    bool analysisReadingStale_ = false;
};

} // namespace vantor
