#pragma once
// "Trend Line": switches the trend line on or off and sets its fit (Linear, Second Order), the
// "From" reading before which readings are left out, and what the line is projected to or by.

#include "analysis/TrendProjection.h"

#include <QDateTime>
#include <QDialog>

#include <vector>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QRadioButton;
class QSpinBox;

namespace vantor {

class Prompter;

// The trend line settings kept between trend views while the program runs.
struct TrendLineChoice {
    bool on = false;
    TrendLineSettings settings;
};

class TrendLineDialog : public QDialog {
    Q_OBJECT
public:
    // readingDates: the point's reading date-times, oldest first (the "From" list). With fewer than
    // two readings the line is switched off and cannot be switched on. valueFactor turns a stored
    // value into the displayed one (the entered target value is displayed units).
    TrendLineDialog(const TrendLineChoice& current, const std::vector<QDateTime>& readingDates,
                    double valueFactor, Prompter& prompter, QWidget* parent = nullptr);

    TrendLineChoice Choice() const;
    void accept() override;

    // The controls, for the owner's tests.
    QCheckBox& OnOff() const { return *on_; }
    QComboBox& Mode() const { return *mode_; }
    QSpinBox& Days() const { return *days_; }
    QDoubleSpinBox& Value() const { return *value_; }

private:
    void UpdateEnabled();

    Prompter& prompter_;
    double valueFactor_ = 1;
    QCheckBox* on_ = nullptr;
    QRadioButton* linear_ = nullptr;
    QRadioButton* secondOrder_ = nullptr;
    QComboBox* from_ = nullptr;
    QComboBox* mode_ = nullptr;
    QDoubleSpinBox* value_ = nullptr;
    QSpinBox* days_ = nullptr;
};

} // namespace vantor
