#include "ui/common/AxisSetupDialog.h"

#include "analysis/AxisScale.h"
#include "analysis/ViewTexts.h"
#include "ui/common/DialogButtons.h"
#include "ui/common/PointViewTexts.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QVBoxLayout>

#include <cmath>
#include <limits>

namespace vantor {
namespace {

constexpr int kEntryDecimals = 4;
constexpr double kLargestEntry = 1e9;

QDoubleSpinBox* Entry(double value, QWidget* parent) {
    auto* box = new QDoubleSpinBox(parent);
    box->setDecimals(kEntryDecimals);
    // Any number can be typed: the checks on OK say what is wrong with it.
    box->setRange(-kLargestEntry, kLargestEntry);
    box->setValue(value);
    return box;
}

QGroupBox* AxisGroup(int title, QDoubleSpinBox* minimum, QDoubleSpinBox* maximum, QWidget* parent) {
    auto* group = new QGroupBox(UiText(title), parent);
    auto* form = new QFormLayout(group);
    form->addRow(UiText(text::views::Min), minimum);
    form->addRow(UiText(text::views::Max), maximum);
    return group;
}

} // namespace

std::optional<int> ValidateAxisLimits(AxisSetupKind kind, const AxisLimits& limits) {
    if (limits.xMinimum < 0) {
        return kind == AxisSetupKind::Frequency ? text::views::NegativeMinimumFrequency
                                                : text::views::NegativeMinimumTime;
    }
    // Equal limits would leave an axis without extent, so they are refused with the same message.
    if (!(limits.xMinimum < limits.xMaximum) || !(limits.yMinimum < limits.yMaximum)) {
        return text::views::MinimumAboveMaximum;
    }
    return std::nullopt;
}

AxisRange FrequencyAxisRange(double minimum, double maximum, bool rpm) {
    const double step = FrequencyTickStep(minimum, maximum, rpm);
    return {minimum, maximum, step, std::max(AxisDecimals(maximum), StepDecimals(step))};
}

AxisRange TimeAxisRange(double minimum, double maximum) {
    const double step = RoundTickStep(minimum, maximum);
    return {minimum, maximum, step, std::max(AxisDecimals(maximum) + 1, StepDecimals(step))};
}

AxisRange AmplitudeAxisRange(double minimum, double maximum) {
    const double step = RoundTickStep(minimum, maximum);
    return {minimum, maximum, step,
            std::max(AmplitudeAxisDecimals(std::max(std::fabs(minimum), std::fabs(maximum))),
                     StepDecimals(step))};
}

AxisSetupDialog::AxisSetupDialog(AxisSetupKind kind, const AxisLimits& current, QWidget* parent)
    : QDialog(parent), kind_(kind) {
    setWindowTitle(UiText(text::views::AxisSetup));
    xMinimum_ = Entry(current.xMinimum, this);
    xMaximum_ = Entry(current.xMaximum, this);
    yMinimum_ = Entry(current.yMinimum, this);
    yMaximum_ = Entry(current.yMaximum, this);
    const bool frequency = kind == AxisSetupKind::Frequency;
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(AxisGroup(frequency ? text::views::XAxisFrequency : text::views::XAxisTime, xMinimum_,
                                xMaximum_, this));
    // The vertical axis is the amplitude in both graphs.
    layout->addWidget(AxisGroup(text::AmplitudeLabel, yMinimum_, yMaximum_, this));
    message_ = new QLabel(this);
    message_->setWordWrap(true);
    message_->setStyleSheet(QStringLiteral("color: #c00000"));
    message_->hide();
    layout->addWidget(message_);
    layout->addWidget(MakeOkCancelButtons(this));
}

AxisLimits AxisSetupDialog::Limits() const {
    return {xMinimum_->value(), xMaximum_->value(), yMinimum_->value(), yMaximum_->value()};
}

void AxisSetupDialog::accept() {
    if (const std::optional<int> refused = ValidateAxisLimits(kind_, Limits())) {
        // Shown in the dialog, which stays open for a correction.
        refusal_ = UiText(*refused);
        message_->setText(refusal_);
        message_->show();
        return;
    }
    refusal_.clear();
    QDialog::accept();
}

} // namespace vantor
