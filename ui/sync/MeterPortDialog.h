#pragma once
// Shown when a From Meter or To Meter run found no cradle or no meter: the serial device to try
// instead (an adapter, the emulator's pseudo-terminal), or "USB" to look for the cradle again. The
// choice is kept in the MeterPort setting.

#include <QDialog>

class QComboBox;

namespace vantor {

class CMeterPortDialog : public QDialog {
    Q_OBJECT
public:
    // `current` is the stored port; empty means the cradle on the USB bus. `message` is the reason
    // shown above the choice.
    CMeterPortDialog(const QString& current, const QString& message, QWidget* parent = nullptr);

    // The chosen device path; empty for the cradle.
    QString Port() const;
    QComboBox* Choice() const { return choice_; }

private:
    QComboBox* choice_;
};

} // namespace vantor
