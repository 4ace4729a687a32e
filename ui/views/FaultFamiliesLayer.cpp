#include "ui/views/FaultFamiliesLayer.h"

#include "texts/UiText.h"
#include "ui/common/PointViewTexts.h"

#include <VantorGraph/VantorGraphCtrl.h>

#include <QActionGroup>
#include <QEvent>
#include <QMenu>
#include <QPainter>
#include <QPointer>

#include <algorithm>

namespace vantor {

FaultFamiliesLayer::FaultFamiliesLayer(CVantorGraphCtrl& graph) : QWidget(&graph), graph_(graph) {
    setObjectName(QStringLiteral("FaultFamiliesLayer"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setGeometry(graph.rect());
    graph.installEventFilter(this);
    // The families and the graph's bands are painted behind the spectrum's lines, so neither hides
    // a peak; the layer itself paints nothing.
    graph.setDrawingsBehindData(true);
    graph.setUnderlay([layer = QPointer<FaultFamiliesLayer>(this)](QPainter& painter) {
        if (layer) {
            layer->PaintUnder(painter);
        }
    });
}

void FaultFamiliesLayer::Repaint() {
    graph_.update();
    update();
}

int FaultFamiliesLayer::DrawnHarmonics(int harmonics) {
    return harmonics == kFaultHarmonicsToViewEnd ? kMostFaultHarmonics
                                                 : std::clamp(harmonics, 1, kMostFaultHarmonics);
}

void FaultFamiliesLayer::Show(std::vector<BearingAtPoint> bearings, double runSpeedHz, double frequencyFactor,
                              int harmonics) {
    harmonics_ = harmonics == kFaultHarmonicsToViewEnd ? harmonics : DrawnHarmonics(harmonics);
    runSpeedHz_ = runSpeedHz;
    frequencyFactor_ = frequencyFactor;
    // To the view's end: every harmonic the families have; those past the X axis are not drawn.
    overlay_ = MakeFaultOverlay(bearings, runSpeedHz, frequencyFactor, DrawnHarmonics(harmonics_));
    bearings_ = std::move(bearings);
    for (OverlayFamily& family : overlay_.families) {
        family.shown = !hidden_[family.legend];
    }
    layout_ = {};
    Repaint();
}

void FaultFamiliesLayer::SetHarmonics(int harmonics) {
    if (bearings_.empty()) {
        harmonics_ = harmonics == kFaultHarmonicsToViewEnd ? harmonics : DrawnHarmonics(harmonics);
        return;
    }
    Show(bearings_, runSpeedHz_, frequencyFactor_, harmonics);
}

void FaultFamiliesLayer::Clear() {
    overlay_ = {};
    layout_ = {};
    bearings_.clear();
    Repaint();
}

void FaultFamiliesLayer::SetOn(bool on) {
    on_ = on;
    layout_ = {};
    Repaint();
}

void FaultFamiliesLayer::SetFamilyShown(const QString& legend, bool shown) {
    hidden_[legend] = !shown;
    for (OverlayFamily& family : overlay_.families) {
        if (family.legend == legend) {
            family.shown = shown;
        }
    }
    Repaint();
}

void FaultFamiliesLayer::AddToMenu(QMenu& menu, const std::function<void(int)>& feedBearingCursor) {
    QMenu* families = menu.addMenu(UiText(text::added::FaultFamilies));
    families->setObjectName(QStringLiteral("FaultFamiliesMenu"));
    families->setEnabled(!overlay_.families.empty());
    QAction* all = families->addAction(UiText(text::added::ShowFaultFamilies));
    all->setCheckable(true);
    all->setChecked(on_);
    connect(all, &QAction::toggled, this, &FaultFamiliesLayer::SetOn);
    families->addSeparator();
    for (const OverlayFamily& family : overlay_.families) {
        QAction* toggle = families->addAction(family.legend);
        toggle->setCheckable(true);
        toggle->setChecked(family.shown);
        toggle->setEnabled(on_);
        const QString legend = family.legend;
        connect(toggle, &QAction::toggled, this,
                [this, legend](bool shown) { SetFamilyShown(legend, shown); });
    }
    families->addSeparator();
    // "Harmonic" > "1x", "1x-2x", ... "1x-20x": the harmonics each family shows.
    QMenu* harmonics = families->addMenu(UiText(text::views::CursorHarmonic));
    harmonics->setObjectName(QStringLiteral("FaultHarmonicsMenu"));
    auto* counts = new QActionGroup(harmonics);
    QAction* toEnd = harmonics->addAction(UiText(text::added::ToTheViewsEnd));
    toEnd->setCheckable(true);
    toEnd->setChecked(harmonics_ == kFaultHarmonicsToViewEnd);
    toEnd->setActionGroup(counts);
    connect(toEnd, &QAction::triggered, this, [this] { emit HarmonicsChosen(kFaultHarmonicsToViewEnd); });
    for (int n = 1; n <= kMostFaultHarmonics; ++n) {
        QAction* count =
            harmonics->addAction(n == 1 ? QStringLiteral("1x") : QStringLiteral("1x-%1x").arg(n));
        count->setCheckable(true);
        count->setChecked(n == harmonics_);
        count->setActionGroup(counts);
        connect(count, &QAction::triggered, this, [this, n] { emit HarmonicsChosen(n); });
    }
    if (!feedBearingCursor) {
        return;
    }
    QMenu* cursor = menu.addMenu(UiText(text::added::BearingCursorFrom));
    cursor->setObjectName(QStringLiteral("BearingCursorMenu"));
    cursor->setEnabled(!bearings_.empty());
    for (int i = 0; i < static_cast<int>(bearings_.size()); ++i) {
        const BearingAtPoint& bearing = bearings_[static_cast<std::size_t>(i)];
        cursor->addAction(QStringLiteral("%1 (%2)").arg(bearing.location, bearing.designation), this,
                          [feedBearingCursor, i] { feedBearingCursor(i); });
    }
}

void FaultFamiliesLayer::paintEvent(QPaintEvent*) {
    // The labels and legend over the graph, clear of the cursors it has just drawn.
    if (!on_ || overlay_.families.empty()) {
        layout_ = {};
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    layout_ = PaintFaultOverlay(painter, graph_, overlay_, OverlayParts::LabelsAndLegend);
}

void FaultFamiliesLayer::PaintUnder(QPainter& painter) {
    // The family lines behind the spectrum's lines.
    if (!on_ || overlay_.families.empty()) {
        return;
    }
    painter.setRenderHint(QPainter::Antialiasing);
    PaintFaultOverlay(painter, graph_, overlay_, OverlayParts::Lines);
}

bool FaultFamiliesLayer::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &graph_ && event->type() == QEvent::Resize) {
        setGeometry(graph_.rect());
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace vantor
