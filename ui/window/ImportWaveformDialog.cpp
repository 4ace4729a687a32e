#include "ui/window/ImportWaveformDialog.h"

#include "analysis/SignalProcessor.h"
#include "texts/UiText.h"
#include "ui/common/DialogButtons.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace vantor {
namespace {

constexpr int kSamplingFrequencyText = 341; // "Sampling Frequency" of the documented table
constexpr double kMostSamplingHz = 1e6;
constexpr double kMostRunSpeedHz = 1000;
constexpr int kMostRecord = 9999;

// The unit choices after "From the file", as the command line names them.
struct UnitChoice {
    const char* name;
    SignalUnit unit;
};
constexpr UnitChoice kUnits[] = {
    {"g", SignalUnit::G},
    {"mm/s", SignalUnit::MillimetresPerSecond},
    {"inch/s", SignalUnit::InchesPerSecond},
};

} // namespace

ImportWaveformDialog::ImportWaveformDialog(CAppData& app, QString pointGuid, const QString& pointName,
                                           FileQuestion ask, QWidget* parent)
    : QDialog(parent), app_(app), pointGuid_(std::move(pointGuid)), ask_(std::move(ask)) {
    setObjectName(QStringLiteral("ImportWaveformDialog"));
    setWindowTitle(QStringLiteral("%1 - %2").arg(UiText(text::added::ImportWaveform), pointName));
    file_ = new QLineEdit(this);
    auto* browse = new QPushButton(UiText(text::added::Browse), this);
    connect(browse, &QPushButton::clicked, this, &ImportWaveformDialog::Browse);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(file_, 1);
    fileRow->addWidget(browse);

    dateFromFile_ = new QCheckBox(UiText(text::added::FromTheFile), this);
    dateFromFile_->setChecked(true);
    date_ = new QDateTimeEdit(QDateTime::currentDateTime(), this);
    date_->setCalendarPopup(true);
    date_->setEnabled(false);
    connect(dateFromFile_, &QCheckBox::toggled, date_,
            [this](bool fromFile) { date_->setEnabled(!fromFile); });
    auto* dateRow = new QHBoxLayout;
    dateRow->addWidget(dateFromFile_);
    dateRow->addWidget(date_, 1);

    channel_ = new QComboBox(this);
    channel_->addItem(UiText(text::added::TotalChannel));
    channel_->addItem(UiText(text::added::IsoChannel));
    unit_ = new QComboBox(this);
    unit_->addItem(UiText(text::added::FromTheFile));
    for (const UnitChoice& choice : kUnits) {
        unit_->addItem(QString::fromUtf8(choice.name));
    }
    fs_ = new QDoubleSpinBox(this);
    fs_->setRange(0, kMostSamplingHz);
    fs_->setDecimals(1);
    fs_->setSuffix(QStringLiteral(" Hz"));
    fs_->setSpecialValueText(UiText(text::added::FromTheFile));

    runSpeedFromFile_ = new QCheckBox(UiText(text::added::FileOrPoint), this);
    runSpeedFromFile_->setChecked(true);
    runSpeed_ = new QDoubleSpinBox(this);
    runSpeed_->setRange(0, kMostRunSpeedHz);
    runSpeed_->setDecimals(2);
    runSpeed_->setSuffix(QStringLiteral(" Hz"));
    runSpeed_->setEnabled(false);
    connect(runSpeedFromFile_, &QCheckBox::toggled, runSpeed_,
            [this](bool fromFile) { runSpeed_->setEnabled(!fromFile); });
    auto* runSpeedRow = new QHBoxLayout;
    runSpeedRow->addWidget(runSpeedFromFile_);
    runSpeedRow->addWidget(runSpeed_, 1);

    record_ = new QSpinBox(this);
    record_->setRange(0, kMostRecord);
    record_->setSpecialValueText(UiText(text::added::FromTheFile));

    error_ = new QLabel(this);
    error_->setObjectName(QStringLiteral("ImportError"));
    error_->setWordWrap(true);
    error_->setStyleSheet(QStringLiteral("color: #c00000"));
    error_->setVisible(false);

    auto* form = new QFormLayout;
    form->addRow(UiText(text::added::FileLabel), fileRow);
    form->addRow(UiText(text::DateTime), dateRow);
    form->addRow(UiText(text::added::ChannelLabel), channel_);
    form->addRow(UiText(text::UnitsTitle), unit_);
    form->addRow(UiText(kSamplingFrequencyText), fs_);
    form->addRow(UiText(text::RunSpeedLabel), runSpeedRow);
    form->addRow(UiText(text::added::RecordInFile), record_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(error_);
    layout->addWidget(MakeOkCancelButtons(this));
    setMinimumWidth(480);
}

QString ImportWaveformDialog::Error() const {
    return error_->isVisible() ? error_->text() : QString();
}

SignalImportRequest ImportWaveformDialog::Request() const {
    SignalImportRequest request;
    request.pointGuid = pointGuid_;
    request.path = file_->text().trimmed();
    if (!dateFromFile_->isChecked()) {
        // Whole seconds, as the command line's "YYYY-MM-DD HH:MM:SS".
        QDateTime taken = date_->dateTime();
        taken.setTime(QTime(taken.time().hour(), taken.time().minute(), taken.time().second()));
        request.taken = taken;
    }
    request.choice.channel = channel_->currentIndex() == 1 ? vantor::Channel::Iso : vantor::Channel::Total;
    if (unit_->currentIndex() > 0) {
        request.choice.unit = kUnits[unit_->currentIndex() - 1].unit;
    }
    request.choice.samplingFrequencyHz = fs_->value();
    request.choice.source = record_->value();
    if (!runSpeedFromFile_->isChecked()) {
        request.runSpeedHz = static_cast<float>(runSpeed_->value());
    }
    return request;
}

void ImportWaveformDialog::Browse() {
    if (!ask_) {
        return;
    }
    FileRequest request;
    request.title = UiText(text::added::ImportWaveform);
    request.startPath = QFileInfo(file_->text()).absolutePath();
    request.filter = QStringLiteral("UFF, WAV, CSV (*.uff *.unv *.wav *.csv *.txt);;* (*)");
    const QString chosen = ask_(this, request);
    if (!chosen.isEmpty()) {
        file_->setText(chosen);
    }
}

void ImportWaveformDialog::accept() {
    SignalProcessor processor;
    const SignalImportOutcome outcome = ImportReadingSignals(app_, processor, Request());
    if (!outcome.ok) {
        error_->setText(outcome.error);
        error_->setVisible(true);
        return;
    }
    imported_ = outcome.reading;
    QDialog::accept();
}

} // namespace vantor
