#pragma once
// "Axis Setup": the minimum and maximum of a graph's two axes, checked before they are taken.

#include "analysis/ViewData.h"

#include <QDialog>

#include <optional>

class QDoubleSpinBox;
class QLabel;

namespace vantor {

enum class AxisSetupKind { Frequency, Time };

struct AxisLimits {
    double xMinimum = 0;
    double xMaximum = 1;
    double yMinimum = 0;
    double yMaximum = 1;
};

// The text index of the message refusing the limits, or none: a negative X minimum gives "Minimum
// frequency value cannot be negative" (or the time one), a minimum not below its maximum on either
// axis "Minimum value cannot be greater than Maximum value".
std::optional<int> ValidateAxisLimits(AxisSetupKind kind, const AxisLimits& limits);

// The axis ranges of limits: ticks and label decimals follow the new extent.
AxisRange FrequencyAxisRange(double minimum, double maximum, bool rpm);
AxisRange TimeAxisRange(double minimum, double maximum);
AxisRange AmplitudeAxisRange(double minimum, double maximum);

class AxisSetupDialog : public QDialog {
    Q_OBJECT
public:
    AxisSetupDialog(AxisSetupKind kind, const AxisLimits& current, QWidget* parent = nullptr);
    AxisLimits Limits() const;
    // The refusal shown by the last OK press; empty when none.
    QString Refusal() const { return refusal_; }

    void accept() override;

private:
    AxisSetupKind kind_;
    QDoubleSpinBox* xMinimum_ = nullptr;
    QDoubleSpinBox* xMaximum_ = nullptr;
    QDoubleSpinBox* yMinimum_ = nullptr;
    QDoubleSpinBox* yMaximum_ = nullptr;
    QLabel* message_ = nullptr;
    QString refusal_;
};

} // namespace vantor
