#include "ui/views/CursorTools.h"

#include "analysis/AxisScale.h"
#include "texts/DisplayFormat.h"
#include "ui/common/DialogButtons.h"
#include "ui/common/PointViewTexts.h"

#include <VantorGraph/VantorGraphCtrl.h>

#include <QActionGroup>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <cmath>
#include <iterator>

namespace vantor {
namespace {

constexpr int kBearingFaults = 4;
// Where the control stands a cursor that has no data point to stand on.
constexpr double kCursorNowhere = -100.0;
constexpr double kMostFaultMultiplier = 1000.0;
constexpr int kFaultMultiplierDecimals = 3;

QString TypeItem(int typeText) {
    return QString::asprintf("%s (%s)", qUtf8Printable(UiText(typeText)),
                             qUtf8Printable(UiText(text::views::CursorType)));
}

QString HarmonicItem(int actionText) {
    return QString::asprintf("%s: %s", qUtf8Printable(UiText(text::views::CursorHarmonic)),
                             qUtf8Printable(UiText(actionText)));
}

QString FaultName(const CVantorGraphCtrl& graph, int fault) {
    switch (fault) {
    case 0:
        return graph.GetBearingFault1Translation();
    case 1:
        return graph.GetBearingFault2Translation();
    case 2:
        return graph.GetBearingFault3Translation();
    default:
        return graph.GetBearingFault4Translation();
    }
}

double FaultMultiplier(const CVantorGraphCtrl& graph, int fault) {
    switch (fault) {
    case 0:
        return graph.GetBearingFault1Multiplier();
    case 1:
        return graph.GetBearingFault2Multiplier();
    case 2:
        return graph.GetBearingFault3Multiplier();
    default:
        return graph.GetBearingFault4Multiplier();
    }
}

void SetFaultMultiplier(CVantorGraphCtrl& graph, int fault, double value) {
    switch (fault) {
    case 0:
        graph.SetBearingFault1Multiplier(value);
        break;
    case 1:
        graph.SetBearingFault2Multiplier(value);
        break;
    case 2:
        graph.SetBearingFault3Multiplier(value);
        break;
    default:
        graph.SetBearingFault4Multiplier(value);
        break;
    }
}

} // namespace

void AddCursorItems(QMenu& menu, CVantorGraphCtrl& graph, GraphCursor current, CursorOffer offer,
                    const std::function<void(GraphCursor)>& choose) {
    // The bearing cursor's name follows the language shown when the menu opens (menu and read-out).
    graph.SetBearingTranslation(UiText(text::added::Bearing));
    auto* group = new QActionGroup(&menu);
    auto addType = [&](const QString& caption, GraphCursor type) {
        QAction* action = menu.addAction(caption, [choose, type] { choose(type); });
        action->setCheckable(true);
        action->setChecked(current == type);
        group->addAction(action);
    };
    addType(TypeItem(text::views::CursorOff), GraphCursor::None);
    addType(TypeItem(text::views::CursorSimple), GraphCursor::Simple);
    if (offer.harmonic) {
        addType(TypeItem(text::views::CursorHarmonic), GraphCursor::Harmonic);
    }
    if (offer.bearing) {
        addType(QString::asprintf("%s (%s)", qUtf8Printable(graph.GetBearingTranslation()),
                                  qUtf8Printable(UiText(text::views::CursorType))),
                GraphCursor::Bearing);
    }
    if (offer.harmonic) {
        menu.addSeparator();
        const bool harmonicOn = current == GraphCursor::Harmonic;
        menu.addAction(HarmonicItem(text::views::Add), [&graph] { graph.AddHarmonicCursor(); })
            ->setEnabled(harmonicOn);
        menu.addAction(HarmonicItem(text::views::Minus), [&graph] { graph.RemoveHarmonicCursor(); })
            ->setEnabled(harmonicOn);
    }
    if (offer.bearing) {
        QWidget* parent = menu.parentWidget();
        menu.addAction(graph.GetBearingTranslation() + QStringLiteral("…"),
                       [&graph, parent] { EditBearingFaults(graph, parent); })
            ->setEnabled(current == GraphCursor::Bearing);
    }
}

bool EditBearingFaults(CVantorGraphCtrl& graph, QWidget* parent) {
    QDialog dialog(parent);
    dialog.setWindowTitle(graph.GetBearingTranslation());
    auto* explanation = new QLabel(UiText(text::added::BearingFaultsExplanation), &dialog);
    explanation->setWordWrap(true);
    auto* form = new QFormLayout;
    std::array<QDoubleSpinBox*, kBearingFaults> boxes{};
    for (int fault = 0; fault < kBearingFaults; ++fault) {
        auto* box = new QDoubleSpinBox(&dialog);
        box->setDecimals(kFaultMultiplierDecimals);
        box->setRange(0.0, kMostFaultMultiplier);
        box->setValue(FaultMultiplier(graph, fault));
        box->setSuffix(QLatin1Char(' ') + UiText(text::added::TimesRunSpeedSuffix));
        form->addRow(FaultName(graph, fault), box);
        boxes[static_cast<std::size_t>(fault)] = box;
    }
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(explanation);
    layout->addLayout(form);
    layout->addWidget(MakeOkCancelButtons(&dialog));
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    for (int fault = 0; fault < kBearingFaults; ++fault) {
        SetFaultMultiplier(graph, fault, boxes[static_cast<std::size_t>(fault)]->value());
    }
    graph.ReFireCursorData();
    return true;
}

CursorReadout::CursorReadout(CVantorGraphCtrl& graph, QLabel& label, QObject* parent)
    : QObject(parent), graph_(graph), label_(label) {
    connect(&graph, &CVantorGraphCtrl::SimpleCursorInfo, this,
            [this](double x, double y) { Set(QStringLiteral("0"), UiText(text::views::Cursor), x, y); });
    connect(&graph, &CVantorGraphCtrl::HarmonicCursorInfo, this, [this](short position, double x, double y) {
        Set(QStringLiteral("1 %1").arg(position, 3, 10, QLatin1Char('0')),
            QStringLiteral("%1 %2").arg(UiText(text::views::CursorHarmonic)).arg(position + 1), x, y,
            position + 1);
    });
    connect(&graph, &CVantorGraphCtrl::BearingRSCursorInfo, this, [this](double x, double y) {
        Set(QStringLiteral("2"), graph_.GetBearingTranslation(), x, y, 1);
    });
    connect(&graph, &CVantorGraphCtrl::BearingHarmonicCursorInfo, this,
            [this](short fault, short harmonic, double x, double y) {
                Set(QStringLiteral("3 %1 %2").arg(fault).arg(harmonic, 3, 10, QLatin1Char('0')),
                    QStringLiteral("%1 %2x").arg(FaultName(graph_, fault)).arg(harmonic + 1), x, y,
                    FaultMultiplier(graph_, fault) * (harmonic + 1));
            });
}

void CursorReadout::SetUnits(const QString& xUnit, int xDecimals, const QString& yUnit, int yDecimals) {
    xUnit_ = xUnit;
    yUnit_ = yUnit;
    xDecimals_ = xDecimals;
    yDecimals_ = yDecimals;
    Show();
}

std::optional<std::size_t> NearestLine(const std::vector<double>& lines, double x) {
    if (lines.empty()) {
        return std::nullopt;
    }
    const auto after = std::lower_bound(lines.begin(), lines.end(), x);
    if (after == lines.begin()) {
        return 0;
    }
    if (after == lines.end()) {
        return lines.size() - 1;
    }
    const auto before = std::prev(after);
    return static_cast<std::size_t>((x - *before <= *after - x ? before : after) - lines.begin());
}

std::optional<std::size_t> LineFor(const std::vector<double>& x, const std::vector<double>& y, double target,
                                   bool largestNear) {
    std::optional<std::size_t> line = NearestLine(x, target);
    if (!line || !largestNear || !(target > 0) || y.size() < x.size()) {
        return line;
    }
    const auto first = std::lower_bound(x.begin(), x.end(), target * (1 - kOrderTolerance));
    const auto end = std::upper_bound(x.begin(), x.end(), target * (1 + kOrderTolerance));
    // The nearest line lies in the window whenever any does.
    for (auto at = first; at != end; ++at) {
        const auto i = static_cast<std::size_t>(at - x.begin());
        if (y[i] > y[*line]) {
            line = i;
        }
    }
    return line;
}

void CursorReadout::SetLines(std::vector<double> x, std::vector<double> y) {
    lineX_ = std::move(x);
    lineY_ = std::move(y);
    lineY_.resize(lineX_.size());
    Show();
}

void CursorReadout::SetFamilyFundamental(std::optional<double> fundamental, bool largestNear) {
    fundamental_ = fundamental;
    largestNear_ = largestNear;
    Show();
}

std::optional<std::pair<double, double>> CursorReadout::ValueAt(double x, double y) const {
    if (x == kCursorNowhere || !std::isfinite(x)) {
        return std::nullopt;
    }
    const std::optional<std::size_t> line = NearestLine(lineX_, x);
    if (!line) {
        return std::make_pair(x, y);
    }
    return std::make_pair(lineX_[*line], lineY_[*line]);
}

void CursorReadout::Reset() {
    entries_.clear();
    label_.clear();
}

QString CursorReadout::Text() const {
    return label_.text();
}

void CursorReadout::Set(const QString& key, const QString& caption, double x, double y, double multiple) {
    if (x == kCursorNowhere || !std::isfinite(x)) {
        entries_.remove(key);
    } else {
        entries_.insert(key, Entry{caption, x, y, multiple});
    }
    Show();
}

QString CursorReadout::EntryText(const Entry& entry) const {
    double x = entry.x;
    double y = entry.y;
    const bool family = entry.multiple > 0 && fundamental_ && *fundamental_ > 0;
    const double target = family ? entry.multiple * *fundamental_ : entry.x;
    if (const std::optional<std::size_t> line = LineFor(lineX_, lineY_, target, family && largestNear_)) {
        x = lineX_[*line];
        y = lineY_[*line];
    }
    const int xDecimals = lineX_.empty() ? xDecimals_ : ExactDecimals(x, xDecimals_);
    return QStringLiteral("%1: %2 %3, %4 %5")
        .arg(entry.caption, DisplayNumber(x, xDecimals), xUnit_, DisplayNumber(y, yDecimals_), yUnit_)
        .trimmed();
}

void CursorReadout::Show() {
    QStringList shown;
    for (const Entry& entry : entries_) {
        shown << EntryText(entry);
    }
    label_.setText(shown.join(QStringLiteral("   ")));
}

} // namespace vantor
