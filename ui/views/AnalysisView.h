#pragma once
// "Analysis": the point's trend and the selected reading's waveform in the upper row, its spectrum and
// envelope spectrum (with the point's fault families; its cepstrum on a second tab) in the lower
// one, linked: a click on a trend
// point opens that reading in the others, Previous/Next step through the point's readings (each view
// keeps its cursor's place, so a 1x line can be followed through time). How the page is divided is
// remembered between sessions.

#include <QString>
#include <QWidget>

class QPushButton;
class QSplitter;
class QTabWidget;

namespace vantor {

class CepstrumView;
class EnvelopeView;
class SpectrumView;
class TrendView;
class WaveformView;
class ReadingView;
struct PointViewsState;

class AnalysisView : public QWidget {
    Q_OBJECT
public:
    // layoutFile: where the division of the page is kept (an INI file); empty keeps nothing.
    AnalysisView(PointViewsState& state, QString layoutFile, QWidget* parent = nullptr);
    ~AnalysisView() override;

    TrendView& Trend() const { return *trend_; }
    SpectrumView& Spectrum() const { return *spectrum_; }
    WaveformView& Waveform() const { return *waveform_; }
    EnvelopeView& Envelope() const { return *envelope_; }
    CepstrumView& Cepstrum() const { return *cepstrum_; }
    // The lower right pane's tabs: the envelope spectrum (first) and the cepstrum.
    QTabWidget& FamilyTabs() const { return *familyTabs_; }

    // The four graphs as they show the point views' state.
    void RedrawAll();
    // The selected reading changed: only the spectrum, the waveform and the envelope redraw.
    void RedrawReading();
    void RefreshTexts();

    // The reading `steps` places later (negative: earlier) than the shown one; empty at either end.
    QString NeighbourReading(int steps) const;

    void SaveLayout() const;

signals:
    // The user chose a reading (trend click or Previous/Next).
    void ReadingChosen(const QString& readingGuid);

private:
    void RestoreLayout();
    void UpdateButtons();

    PointViewsState& state_;
    QString layoutFile_;
    TrendView* trend_ = nullptr;
    SpectrumView* spectrum_ = nullptr;
    WaveformView* waveform_ = nullptr;
    EnvelopeView* envelope_ = nullptr;
    CepstrumView* cepstrum_ = nullptr;
    QTabWidget* familyTabs_ = nullptr; // envelope | cepstrum
    QSplitter* outer_ = nullptr;       // the two rows
    QSplitter* upper_ = nullptr;       // trend | waveform
    QSplitter* lower_ = nullptr;       // spectrum | envelope; its columns are the upper row's too
    QPushButton* previous_ = nullptr;
    QPushButton* next_ = nullptr;
};

} // namespace vantor
