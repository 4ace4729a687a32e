#pragma once
// Dated notes on the trend's time axis: each note on the shown point or its machine as a small flag
// on the axis at its date with a dotted line up through the plot, painted by the graph control as
// its underlay (behind the trend's markers and lines, so a note never hides a reading). Resting the
// mouse on a flag or its line shows the note's date, author and text.

#include "app/FollowUpNotes.h"

#include <QDateTime>
#include <QObject>
#include <QPoint>

#include <optional>
#include <vector>

class CVantorGraphCtrl;
class QPainter;

namespace vantor {

class NoteMarks : public QObject {
    Q_OBJECT
public:
    explicit NoteMarks(CVantorGraphCtrl& graph);

    // The notes to mark on the trend drawn (placed by its readings' markers).
    void Show(std::vector<NoteView> notes);
    void Clear();

    const std::vector<NoteView>& Notes() const { return notes_; }
    // Where the last paint put each note's line (the graph's coordinates; none when off the axis).
    std::vector<std::optional<int>> MarkedX() const;
    // The tooltip text for a point of the graph: the notes whose marks are within reach of it.
    QString TipAt(const QPoint& position) const;
    // Paints the marks; the graph's underlay calls it (an owner that paints more under the trend
    // installs its own underlay and calls it from there).
    void PaintUnder(QPainter& painter);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::optional<int> ScreenX(const NoteView& note) const;

    CVantorGraphCtrl& graph_;
    std::vector<NoteView> notes_;
    bool active_ = false;
    bool tipShown_ = false; // the tooltip up is a note's
};

// A note's tooltip line: "Note, <date>, <author>:\n<text>" in the display language.
QString NoteTipText(const NoteView& note);

} // namespace vantor
