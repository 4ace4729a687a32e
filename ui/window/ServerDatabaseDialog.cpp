#include "ui/window/ServerDatabaseDialog.h"

#include "app/CAppData.h"
#include "app/ServerDatabase.h"
#include "texts/UiText.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vantor {
namespace {

// The width of the address field: a URL with host, port and database fits.
constexpr int kAddressChars = 48;

// Turns the wait cursor on for the life of a probe or a switch (a server may take seconds to answer).
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace

ServerDatabaseDialog::ServerDatabaseDialog(CAppData& app, QWidget* parent)
    : QDialog(parent), app_(app), address_(new QComboBox(this)), password_(new QLineEdit(this)),
      test_(new QPushButton(UiText(text::added::TestConnection), this)),
      connect_(new QPushButton(UiText(text::added::ConnectServer), this)), result_(new QLabel(this)) {
    setWindowTitle(UiText(text::added::ServerDatabase));
    address_->setEditable(true);
    address_->addItems(RememberedServers(app_.settings));
    address_->setCurrentText(app_.server ? app_.server->ToStorable() : address_->itemText(0));
    address_->setMinimumContentsLength(kAddressChars);
    address_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    address_->lineEdit()->setPlaceholderText(QStringLiteral("postgresql://host:5432/plant?user=analyst"));
    password_->setEchoMode(QLineEdit::Password);
    password_->setPlaceholderText(UiText(text::added::PasswordHint));
    result_->setWordWrap(true);
    result_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* form = new QFormLayout;
    form->addRow(UiText(text::added::ServerAddressLabel), address_);
    form->addRow(UiText(text::added::ServerPassword), password_);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(test_, QDialogButtonBox::ActionRole);
    buttons->addButton(connect_, QDialogButtonBox::AcceptRole);
    buttons->addButton(QDialogButtonBox::Cancel)->setText(UiText(text::Cancel));
    connect(test_, &QPushButton::clicked, this, [this] { Test(); });
    connect(connect_, &QPushButton::clicked, this, [this] { Connect(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect_->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(result_);
    layout->addWidget(buttons);
}

std::optional<ServerAddress> ServerDatabaseDialog::TypedAddress() {
    QString error;
    std::optional<ServerAddress> address = ServerAddress::Parse(address_->currentText().trimmed(), &error);
    if (!address) {
        Show(ServerProbeMessage({ServerProblem::BadAddress, 0, error}, ServerAddress()), false);
        return std::nullopt;
    }
    if (!password_->text().isEmpty()) {
        address->SetOption(QStringLiteral("password"), password_->text());
    }
    // A remembered server is listed without its key passphrase, which the secret store keeps.
    return WithKeptPassphrase(app_, *address);
}

void ServerDatabaseDialog::Show(const QString& text, bool good) {
    result_->setText(text);
    result_->setStyleSheet(good ? QString() : QStringLiteral("color: #b00000;"));
}

bool ServerDatabaseDialog::Test() {
    const std::optional<ServerAddress> address = TypedAddress();
    if (!address) {
        return false;
    }
    const WaitCursor wait;
    const ServerProbe probe = ProbeServer(*address);
    Show(ServerProbeMessage(probe, *address), probe.Usable());
    return probe.Usable();
}

bool ServerDatabaseDialog::Connect() {
    const std::optional<ServerAddress> address = TypedAddress();
    if (!address) {
        return false;
    }
    // Probed here first, so a failure is explained in the dialog, which stays open for a correction.
    ServerProbe probe;
    {
        const WaitCursor wait;
        probe = ProbeServer(*address);
    }
    if (!probe.Usable()) {
        Show(ServerProbeMessage(probe, *address), false);
        return false;
    }
    bool used = false;
    {
        const WaitCursor wait;
        used = UseServer(app_, *address);
    }
    if (!used) {
        Show(ServerProbeMessage(probe, *address), false);
        return false;
    }
    accept();
    return true;
}

bool RunServerDatabaseDialog(CAppData& app, QWidget* parent) {
    ServerDatabaseDialog dialog(app, parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace vantor
