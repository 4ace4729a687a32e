#include "ui/setup/PointBearingsSection.h"

#include "app/CatalogueEditor.h"
#include "texts/UiText.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>

namespace vantor {
namespace {

constexpr int kRatioDecimals = 3;
constexpr double kLeastRatio = 0.001;

bool SameAssignments(const std::vector<CPointBearing>& a, const std::vector<CPointBearing>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const CPointBearing& x, const CPointBearing& y) {
                          return x.sBearingGUID == y.sBearingGUID && x.sLocation == y.sLocation &&
                                 x.fSpeedRatio == y.fSpeedRatio;
                      });
}

} // namespace

PointBearingsSection::PointBearingsSection(CatalogueEditor& catalogue, Prompter& prompter,
                                           const QString& point, QWidget* parent)
    : QGroupBox(UiText(text::added::Bearings), parent), editor_(catalogue.Database(), prompter) {
    setObjectName(QStringLiteral("PointBearings"));
    const std::vector<CBearing> library = editor_.ListBearings().value_or(std::vector<CBearing>{});
    if (!point.isEmpty()) {
        stored_ = editor_.ListPointBearings(point).value_or(std::vector<CPointBearing>{});
    }
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(UiText(text::added::Bearing), this), 0, 0);
    grid->addWidget(new QLabel(UiText(text::added::Location), this), 0, 1);
    grid->addWidget(new QLabel(UiText(text::added::SpeedRatio), this), 0, 2);
    for (int i = 0; i < kBearingsPerPoint; ++i) {
        Row& row = rows_[static_cast<std::size_t>(i)];
        row.bearing = new QComboBox(this);
        row.bearing->setObjectName(QStringLiteral("Bearing%1").arg(i + 1));
        row.bearing->addItem(UiText(text::added::NoBearing), QString());
        for (const CBearing& bearing : library) {
            const QString text = bearing.sMaker.isEmpty()
                                     ? bearing.sDesignation
                                     : QStringLiteral("%1 (%2)").arg(bearing.sDesignation, bearing.sMaker);
            row.bearing->addItem(text, bearing.sItemGUID);
        }
        row.location = new QLineEdit(this);
        row.location->setObjectName(QStringLiteral("Bearing%1Location").arg(i + 1));
        row.location->setPlaceholderText(UiText(text::added::LocationExample));
        row.location->setMaxLength(kBearingTextLimit);
        row.ratio = new QDoubleSpinBox(this);
        row.ratio->setObjectName(QStringLiteral("Bearing%1Ratio").arg(i + 1));
        row.ratio->setRange(kLeastRatio, kMostSpeedRatio);
        row.ratio->setDecimals(kRatioDecimals);
        row.ratio->setValue(1.0);
        grid->addWidget(row.bearing, i + 1, 0);
        grid->addWidget(row.location, i + 1, 1);
        grid->addWidget(row.ratio, i + 1, 2);
        if (i < static_cast<int>(stored_.size())) {
            const CPointBearing& assignment = stored_[static_cast<std::size_t>(i)];
            SetRow(i, assignment.sBearingGUID, assignment.sLocation, assignment.fSpeedRatio);
        }
    }
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 2);
}

void PointBearingsSection::SetRow(int index, const QString& bearing, const QString& location, double ratio) {
    Row& row = rows_.at(static_cast<std::size_t>(index));
    row.bearing->setCurrentIndex(std::max(0, row.bearing->findData(bearing)));
    row.location->setText(location);
    row.ratio->setValue(ratio);
}

std::vector<CPointBearing> PointBearingsSection::Assignments() const {
    std::vector<CPointBearing> assignments;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const Row& row = rows_[i];
        const QString bearing = row.bearing->currentData().toString();
        if (bearing.isEmpty()) {
            continue;
        }
        CPointBearing assignment;
        // A row that still holds its stored bearing keeps its assignment's GUID.
        if (i < stored_.size() && stored_[i].sBearingGUID == bearing) {
            assignment.sItemGUID = stored_[i].sItemGUID;
        }
        assignment.sBearingGUID = bearing;
        assignment.sLocation = row.location->text().trimmed();
        assignment.fSpeedRatio = static_cast<float>(row.ratio->value());
        assignments.push_back(assignment);
    }
    return assignments;
}

std::optional<QString> PointBearingsSection::Check() const {
    for (const CPointBearing& assignment : Assignments()) {
        if (const auto refused = BearingEditor::CheckAssignment(assignment)) {
            return refused;
        }
    }
    return std::nullopt;
}

bool PointBearingsSection::Changed() const {
    return !SameAssignments(Assignments(), stored_);
}

void PointBearingsSection::MarkStored() {
    stored_ = Assignments();
}

} // namespace vantor
