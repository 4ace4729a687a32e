#include "ui/sync/MeterPortDialog.h"

#include "app/CAppData.h"
#include "texts/UiText.h"
#include "ui/common/Log.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QSerialPortInfo>
#include <QVBoxLayout>

namespace vantor {
namespace {

// What earlier versions stored and offered for the cradle; still understood when typed.
const QString kCradleWord = QStringLiteral("USB");
constexpr int kLeastChoiceWidth = 360;

// "/dev/ttyUSB0 - FT232R USB UART": the path first, so that a typed path and a listed one read alike.
QString PortEntry(const QSerialPortInfo& port) {
    const QString about = port.description().isEmpty() ? port.manufacturer() : port.description();
    return about.isEmpty() ? port.systemLocation()
                           : QStringLiteral("%1 - %2").arg(port.systemLocation(), about);
}

} // namespace

CMeterPortDialog::CMeterPortDialog(const QString& current, const QString& message, QWidget* parent)
    : QDialog(parent), choice_(new QComboBox(this)), message_(new QLabel(message, this)) {
    // The title is short and fixed; the reason, however long, wraps in the dialog.
    setWindowTitle(UiText(text::added::MeterPort));
    choice_->setObjectName(QStringLiteral("MeterPort"));
    choice_->setEditable(true);
    choice_->setMinimumWidth(kLeastChoiceWidth);
    choice_->addItem(UiText(text::added::MeterPortAutomatic), QString());
    for (const QSerialPortInfo& port : QSerialPortInfo::availablePorts()) {
        choice_->addItem(PortEntry(port), port.systemLocation());
    }
    if (current.isEmpty()) {
        choice_->setCurrentIndex(0);
    } else {
        const int listed = choice_->findData(current);
        if (listed < 0) {
            choice_->addItem(current, current);
        }
        choice_->setCurrentIndex(listed < 0 ? choice_->count() - 1 : listed);
    }
    message_->setObjectName(QStringLiteral("Reason"));
    message_->setWordWrap(true);
    message_->setVisible(!message.isEmpty());
    auto* hint = new QLabel(UiText(text::added::MeterPortHint), this);
    hint->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(this);
    const bool inRun = !message.isEmpty();
    QPushButton* accept =
        buttons->addButton(UiText(inRun ? text::Retry : text::Ok), QDialogButtonBox::AcceptRole);
    accept->setObjectName(QStringLiteral("AcceptButton"));
    accept->setDefault(true);
    if (inRun) {
        // Retry searches the same port again; another port is tried in a new run.
        connect(choice_, &QComboBox::currentTextChanged, this, [this, accept, current] {
            accept->setText(UiText(Port() == current ? text::Retry : text::added::TryThisPort));
        });
    }
    buttons->addButton(UiText(text::Cancel), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(message_);
    layout->addWidget(new QLabel(UiText(text::added::MeterPort) + QLatin1Char(':'), this));
    layout->addWidget(choice_);
    layout->addWidget(hint);
    layout->addWidget(buttons);
}

QString CMeterPortDialog::Port() const {
    const QString text = choice_->currentText().trimmed();
    // A listed entry stands for its device path; anything else is a typed path.
    const int listed = choice_->findText(text);
    if (listed >= 0) {
        return choice_->itemData(listed).toString();
    }
    return text.compare(kCradleWord, Qt::CaseInsensitive) == 0 ? QString() : text;
}

bool RunMeterPortSetting(CAppData& app, QWidget* parent) {
    CMeterPortDialog dialog(app.settings.meterPort, QString(), parent);
    if (dialog.exec() != QDialog::Accepted || dialog.Port() == app.settings.meterPort) {
        return false;
    }
    app.settings.meterPort = dialog.Port();
    app.WriteSettings();
    return true;
}

MeterPortPrompter::MeterPortPrompter(CAppData& app, Prompter& next, QWidget* parent)
    : app_(app), next_(next), dialog_([parent](const QString& current, const QString& message) {
          CMeterPortDialog dialog(current, message, parent);
          return dialog.exec() == QDialog::Accepted ? std::optional<QString>(dialog.Port()) : std::nullopt;
      }) {}

bool MeterPortPrompter::AskRetryCancel(const QString& text) {
    if (text != UiText(text::NoCradleDetected) && text != UiText(text::NoDeviceDetected)) {
        return next_.AskRetryCancel(text);
    }
    const std::optional<QString> port = dialog_(app_.settings.meterPort, text);
    if (!port) {
        return false;
    }
    if (*port == app_.settings.meterPort) {
        return true;
    }
    qCInfo(lcUi) << "meter port changed to" << (port->isEmpty() ? QStringLiteral("automatic") : *port);
    app_.settings.meterPort = *port;
    app_.WriteSettings();
    portChanged_ = true;
    return false;
}

} // namespace vantor
