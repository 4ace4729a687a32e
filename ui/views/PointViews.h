#pragma once
// The reading views of a vibration point, as tabs: its trend, the spectrum of one reading (Single
// FFT), the spectra of its latest readings (Waterfall FFT), the waveform of one reading and the
// status list of its readings. Every graph is the graph control, filled through GraphViews as the
// command line's pictures are.

#include "app/CAppData.h"

#include <QString>
#include <QTabWidget>

#include <memory>

namespace vantor {

class TrendView;
class SpectrumView;
class WaterfallView;
class WaveformView;
class ReadingListView;
struct PointViewsState;

class PointViews : public QTabWidget { // tabs: Trend, Single FFT, Waterfall FFT, Waveform, Readings
    Q_OBJECT
public:
    enum Tab { TrendTab = 0, SpectrumTab, WaterfallTab, WaveformTab, ReadingsTab };

    explicit PointViews(CAppData& app, QWidget* parent = nullptr);
    ~PointViews() override;

    void ShowPoint(const QString& vibGuid);       // a vibration point: trend + its newest reading
    void ShowReading(const QString& readingGuid); // that reading in the FFT/waveform views
    void Clear();                                 // nothing selected
    void Redraw();       // display settings changed (units, decimals, bar/line, OVO, scale lock)
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

    // Asks "Do you want to delete this Vibration Reading?"; on Yes deletes it (its cache file with
    // it), shows the point again and emits ReadingsChanged. False when declined or the delete failed.
    bool DeleteReading(const QString& readingGuid);

signals:
    void ReadingsChanged(); // a reading was deleted or its run speed updated: the tree refreshes

private:
    void ReloadPoint();
    void LoadCurrentTab();

    CAppData& app_;
    std::unique_ptr<PointViewsState> state_;
    TrendView* trend_ = nullptr;
    SpectrumView* spectrum_ = nullptr;
    WaterfallView* waterfall_ = nullptr;
    WaveformView* waveform_ = nullptr;
    ReadingListView* readings_ = nullptr;
    // Views whose data changed while another tab was shown; they redraw when shown.
    bool spectrumStale_ = false;
    bool waveformStale_ = false;
    bool waterfallStale_ = false;
};

} // namespace vantor
