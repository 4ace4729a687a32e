#pragma once
// "ISO Standards": the ISO 10816-3:1998 machine groups, each with a Rigid and a Flexible button
// that shows the zone limits it proposes; pressing one closes the dialog with that choice.

#include <QDialog>

namespace vantor {

class CIsoLimitsDialog : public QDialog {
    Q_OBJECT
public:
    explicit CIsoLimitsDialog(const QString& velocityUnit, float amplitudeFactor, QWidget* parent = nullptr);

    // The group pressed (1 to 4) and its foundation (0 rigid, 1 flexible); 0 before a press.
    int Group() const { return group_; }
    int Foundation() const { return foundation_; }
    // Presses a group's button.
    void Choose(int group, int foundation);

private:
    int group_ = 0;
    int foundation_ = 0;
};

} // namespace vantor
