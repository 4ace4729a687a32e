#pragma once
// "Import Waveform": a waveform from a UFF 58, WAV or CSV file stored as a reading of a vibration
// point, with the choices `vantor import-signal` offers (the date, the channel it becomes, its unit,
// the sampling frequency of a one-column CSV, the run speed, the file's record or channel) and the
// same use case behind it. A refused file keeps the dialog open with the reason; nothing is stored.

#include "app/SignalTransfer.h"
#include "ui/common/FileQuestion.h"

#include <QDialog>

#include <optional>

class QCheckBox;
class QComboBox;
class QDateTimeEdit;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace vantor {

class CAppData;

class ImportWaveformDialog : public QDialog {
    Q_OBJECT
public:
    ImportWaveformDialog(CAppData& app, QString pointGuid, const QString& pointName, FileQuestion ask,
                         QWidget* parent = nullptr);

    // What the fields ask for, as the command line's options would.
    SignalImportRequest Request() const;
    // The reading stored (after the dialog was accepted).
    const std::optional<CVibReading>& Imported() const { return imported_; }

    // The fields, for tests and scripting.
    QLineEdit& File() const { return *file_; }
    QCheckBox& DateFromFile() const { return *dateFromFile_; }
    QDateTimeEdit& Date() const { return *date_; }
    QComboBox& Channel() const { return *channel_; }
    QComboBox& Unit() const { return *unit_; }
    QDoubleSpinBox& SamplingFrequency() const { return *fs_; }
    QCheckBox& RunSpeedFromFile() const { return *runSpeedFromFile_; }
    QDoubleSpinBox& RunSpeed() const { return *runSpeed_; }
    QSpinBox& Record() const { return *record_; }
    // The refusal shown (empty while none).
    QString Error() const;

    // Imports; accepted when stored, else the reason is shown and the dialog stays.
    void accept() override;

private:
    void Browse();

    CAppData& app_;
    QString pointGuid_;
    FileQuestion ask_;
    QLineEdit* file_ = nullptr;
    QCheckBox* dateFromFile_ = nullptr;
    QDateTimeEdit* date_ = nullptr;
    QComboBox* channel_ = nullptr;
    QComboBox* unit_ = nullptr;
    QDoubleSpinBox* fs_ = nullptr;
    QCheckBox* runSpeedFromFile_ = nullptr;
    QDoubleSpinBox* runSpeed_ = nullptr;
    QSpinBox* record_ = nullptr;
    QLabel* error_ = nullptr;
    std::optional<CVibReading> imported_;
};

} // namespace vantor
