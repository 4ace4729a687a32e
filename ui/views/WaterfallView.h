#pragma once
// "Waterfall FFT": the ISO or Total spectra of the point's latest readings one behind the other,
// the newest in front; how many is chosen up to "Max Waterfall graphs allowed".

#include "analysis/Measures.h"
#include "graphviews/GraphViews.h"

#include <QWidget>

class QLabel;
class QMenu;
class QSpinBox;

namespace vantor {

class MeasureKindBox;

class CursorReadout;
class GraphPane;
struct PointViewsState;

class WaterfallView : public QWidget {
    Q_OBJECT
public:
    WaterfallView(PointViewsState& state, QWidget* parent = nullptr);

    // Loads the signals of the point's newest readings (at most Count()) and draws them.
    void Redraw();
    void Clear();
    void RefreshTexts();

    MeasureKind Kind() const;
    void SetKind(MeasureKind kind);
    int Count() const;
    void SetCount(int count);
    // The readings drawn, newest first.
    const QStringList& Shown() const { return shown_; }

    GraphPane& Pane() const { return *pane_; }
    void FillMenu(QMenu& menu);

signals:
    // A trace was clicked: its reading.
    void ReadingClicked(const QString& readingGuid);

private:
    void PlaceCursor();

    PointViewsState& state_;
    MeasureKindBox* kind_ = nullptr;
    QLabel* countLabel_ = nullptr;
    QSpinBox* count_ = nullptr;
    GraphPane* pane_ = nullptr;
    CursorReadout* readout_ = nullptr;
    GraphCursor cursor_ = GraphCursor::None;
    QStringList shown_;
};

} // namespace vantor
