#include "ui/views/NoteMarks.h"

#include "analysis/TrendProjection.h"
#include "texts/DisplayFormat.h"
#include "texts/UiText.h"

#include <VantorGraph/VantorGraphCtrl.h>

#include <QEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QToolTip>

#include <cmath>

namespace vantor {
namespace {

// The flag's size and how near the mouse must come to a note's line for its tooltip, in pixels.
constexpr int kFlagWidth = 9;
constexpr int kFlagHeight = 8;
constexpr int kReach = 5;
// Notes are drawn in a colour none of the status colours use, so a note never reads as an alarm.
const QColor kNoteColour(90, 60, 160);

} // namespace

QString NoteTipText(const NoteView& note) {
    return UiText(text::added::NoteTip)
        .arg(DisplayDateTime(note.note.written), note.note.author, note.note.text);
}

NoteMarks::NoteMarks(CVantorGraphCtrl& graph) : QObject(&graph), graph_(graph) {
    setObjectName(QStringLiteral("NoteMarks"));
    graph.installEventFilter(this);
    graph.setUnderlay([marks = QPointer<NoteMarks>(this)](QPainter& painter) {
        if (marks) {
            marks->PaintUnder(painter);
        }
    });
}

void NoteMarks::Show(std::vector<NoteView> notes) {
    notes_ = std::move(notes);
    active_ = true;
    graph_.update();
}

void NoteMarks::Clear() {
    notes_.clear();
    active_ = false;
    graph_.update();
}

std::optional<int> NoteMarks::ScreenX(const NoteView& note) const {
    // The trend's X axis is linear in minutes, XAxisMin at the plot's left edge and XAxisMax at its
    // right. A note's X is the first reading's X plus the minutes from that reading to the note, so
    // it lines up with the readings' markers whatever the axis counts from.
    const int count = graph_.seriesPointCount(0);
    const QRect plot = graph_.plotRect();
    const double minimum = graph_.GetXAxisMin();
    const double maximum = graph_.GetXAxisMax();
    if (!active_ || count < 1 || plot.width() <= 0 || !(maximum > minimum)) {
        return std::nullopt;
    }
    const QVariantMap first = graph_.seriesPoint(0, 0);
    const QDateTime firstTaken = first.value(QStringLiteral("dateTime")).toDateTime();
    if (!firstTaken.isValid()) {
        return std::nullopt;
    }
    const double x =
        first.value(QStringLiteral("x")).toDouble() + TrendMinutes(firstTaken, note.note.written);
    if (x < minimum || x > maximum) {
        return std::nullopt;
    }
    return plot.left() + static_cast<int>(std::lround((x - minimum) / (maximum - minimum) * plot.width()));
}

std::vector<std::optional<int>> NoteMarks::MarkedX() const {
    std::vector<std::optional<int>> marked;
    for (const NoteView& note : notes_) {
        marked.push_back(ScreenX(note));
    }
    return marked;
}

void NoteMarks::PaintUnder(QPainter& painter) {
    const QRect plot = graph_.plotRect();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    for (const NoteView& note : notes_) {
        const std::optional<int> x = ScreenX(note);
        if (!x) {
            continue;
        }
        painter.setPen(QPen(kNoteColour, 1, Qt::DotLine));
        painter.drawLine(QPointF(*x + 0.5, plot.top()), QPointF(*x + 0.5, plot.bottom()));
        // A flag standing on the time axis: its pole the line's foot, its cloth to the right.
        const double foot = plot.bottom() + 0.5;
        QPolygonF flag;
        flag << QPointF(*x + 0.5, foot) << QPointF(*x + 0.5, foot - kFlagHeight - 4)
             << QPointF(*x + 0.5 + kFlagWidth, foot - kFlagHeight / 2.0 - 4) << QPointF(*x + 0.5, foot - 4);
        painter.setPen(QPen(kNoteColour.darker(140), 1));
        painter.setBrush(kNoteColour);
        painter.drawPolygon(flag);
    }
    painter.restore();
}

QString NoteMarks::TipAt(const QPoint& position) const {
    const QRect plot = graph_.plotRect();
    if (position.y() < plot.top() || position.y() > plot.bottom() + kReach) {
        return {};
    }
    QStringList tips;
    for (const NoteView& note : notes_) {
        const std::optional<int> x = ScreenX(note);
        if (x && position.x() >= *x - kReach && position.x() <= *x + kFlagWidth + kReach) {
            tips << NoteTipText(note);
        }
    }
    return tips.join(QStringLiteral("\n\n"));
}

bool NoteMarks::eventFilter(QObject* watched, QEvent* event) {
    // On a note's mark its text goes in a tooltip of its own; elsewhere the graph's tooltip stays as
    // it is. The event goes on to the graph either way.
    if (watched == &graph_ && event->type() == QEvent::MouseMove && !notes_.empty()) {
        const QPoint position = static_cast<QMouseEvent*>(event)->position().toPoint();
        const QString tip = TipAt(position);
        if (!tip.isEmpty()) {
            QToolTip::showText(graph_.mapToGlobal(position), tip, &graph_);
            tipShown_ = true;
        } else if (tipShown_) {
            QToolTip::hideText();
            tipShown_ = false;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace vantor
