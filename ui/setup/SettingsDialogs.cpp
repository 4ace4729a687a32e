#include "ui/setup/SettingsDialogs.h"

#include "analysis/DisplayUnits.h"
#include "analysis/Measures.h"
#include "app/ExceptionAddresses.h"
#include "app/Secrets.h"
#include "app/TestMessage.h"
#include "app/TypedSettings.h"
#include "platform/Prompter.h"
#include "texts/DisplayFormat.h"
#include "texts/UiText.h"
#include "ui/common/DialogButtons.h"
#include "ui/setup/EditorFields.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace vantor {
namespace {

constexpr int kMaxPort = 65535;
constexpr int kMinimumWidth = 300; // room for the OK and Cancel buttons and a title

template <class Dialog> bool Run(CAppData& app, QWidget* parent) {
    Dialog dialog(app, parent);
    return dialog.exec() == QDialog::Accepted;
}

QRadioButton* Radio(QButtonGroup* group, int id, int textIndex, QWidget* parent) {
    auto* button = new QRadioButton(UiText(textIndex), parent);
    group->addButton(button, id);
    return button;
}

// The caption of a measure kind's status column.
QString KindCaption(int kind, const CSettings& settings) {
    return MeasureName(static_cast<MeasureKind>(kind),
                       {DisplayBandName(settings.band1Name), DisplayBandName(settings.band2Name),
                        DisplayBandName(settings.band3Name)});
}

// Quiet progress: the test message's steps need no window of their own.
class NoProgress final : public ExceptionProgress {};

} // namespace

bool RunUnitsDialog(CAppData& app, QWidget* parent) {
    return Run<CUnitsDialog>(app, parent);
}
bool RunDecimalPlacesDialog(CAppData& app, QWidget* parent) {
    return Run<CDecimalPlacesDialog>(app, parent);
}
bool RunFftDisplayDialog(CAppData& app, QWidget* parent) {
    return Run<CFftDisplayDialog>(app, parent);
}
bool RunBandNamesDialog(CAppData& app, QWidget* parent) {
    return Run<CBandNamesDialog>(app, parent);
}
bool RunMachineStatusDialog(CAppData& app, QWidget* parent) {
    return Run<CStatusColumnsDialog>(app, parent);
}
bool RunEmailExceptionsDialog(CAppData& app, QWidget* parent) {
    return Run<CEmailExceptionsDialog>(app, parent);
}
bool RunMailServerDialog(CAppData& app, QWidget* parent) {
    return Run<CMailServerDialog>(app, parent);
}
bool RunExceptionAddressesDialog(CAppData& app, QWidget* parent) {
    CExceptionAddressesDialog dialog(app, parent);
    return dialog.IsOpen() && dialog.exec() == QDialog::Accepted;
}

CSettingsDialog::CSettingsDialog(CAppData& app, const QString& title, QWidget* parent)
    : QDialog(parent), app_(app) {
    setWindowTitle(title);
}

void CSettingsDialog::SetFields(QLayout* fields) {
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(MakeOkCancelButtons(this));
    setMinimumWidth(kMinimumWidth);
}

void CSettingsDialog::accept() {
    CSettings settings = app_.settings;
    if (!Collect(settings)) {
        return;
    }
    app_.settings = settings;
    app_.WriteSettings();
    QDialog::accept();
}

CUnitsDialog::CUnitsDialog(CAppData& app, QWidget* parent)
    : CSettingsDialog(app, UiText(text::UnitsTitle), parent), xAxis_(new QComboBox(this)),
      yAxis_(new QComboBox(this)) {
    xAxis_->setObjectName(QStringLiteral("XAxisUnits"));
    yAxis_->setObjectName(QStringLiteral("YAxisUnits"));
    xAxis_->addItems({UiText(text::UnitHz), UiText(text::UnitRpm), UiText(text::UnitCpm)});
    yAxis_->addItems({UiText(text::UnitMmPerSecond), UiText(text::UnitInchPerSecond)});
    const DisplayUnits units = DisplayUnitsOf(app.settings);
    xAxis_->setCurrentIndex(units.XAxisUnits());
    yAxis_->setCurrentIndex(units.YAxisUnits());
    auto* form = new QFormLayout;
    form->addRow(UiText(text::XAxis), xAxis_);
    form->addRow(UiText(text::YAxis), yAxis_);
    SetFields(form);
}

bool CUnitsDialog::Collect(CSettings& settings) {
    SetFrequencyUnitCode(settings, xAxis_->currentIndex());
    SetAmplitudeUnitCode(settings, yAxis_->currentIndex());
    return true;
}

CDecimalPlacesDialog::CDecimalPlacesDialog(CAppData& app, QWidget* parent)
    : CSettingsDialog(app, UiText(text::DecimalPlaces), parent), g_(new QSpinBox(this)),
      mms_(new QSpinBox(this)), inchS_(new QSpinBox(this)) {
    auto* form = new QFormLayout;
    const auto row = [form](QSpinBox* box, const QString& name, const QString& unit, int value) {
        box->setObjectName(name);
        box->setRange(0, kMaxDecimals);
        box->setValue(std::clamp(value, 0, kMaxDecimals));
        form->addRow(unit, box);
    };
    row(g_, QStringLiteral("DecimalsG"), QStringLiteral("g"), app.settings.dpG);
    row(mms_, QStringLiteral("DecimalsMms"), UiText(text::UnitMmPerSecond), app.settings.dpMms);
    row(inchS_, QStringLiteral("DecimalsInchS"), UiText(text::UnitInchPerSecond), app.settings.dpInchS);
    SetFields(form);
}

bool CDecimalPlacesDialog::Collect(CSettings& settings) {
    settings.dpG = g_->value();
    settings.dpMms = mms_->value();
    settings.dpInchS = inchS_->value();
    return true;
}

CFftDisplayDialog::CFftDisplayDialog(CAppData& app, QWidget* parent)
    : CSettingsDialog(app, UiText(text::FftDisplayTitle), parent), lineOrBar_(new QButtonGroup(this)),
      ovo_(new QButtonGroup(this)) {
    // FFTLineOrBar: 0 lines, 1 bars. VarovudOVOOn: 1 on.
    auto* drawing = new QGroupBox(UiText(text::FftBarLine), this);
    auto* drawingRow = new QHBoxLayout(drawing);
    drawingRow->addWidget(Radio(lineOrBar_, 1, text::Bar, drawing));
    drawingRow->addWidget(Radio(lineOrBar_, 0, text::Line, drawing));
    auto* detection = new QGroupBox(UiText(text::VarovudOvo), this);
    auto* detectionColumn = new QVBoxLayout(detection);
    auto* detectionRow = new QHBoxLayout;
    detectionRow->addWidget(Radio(ovo_, 1, text::On, detection));
    detectionRow->addWidget(Radio(ovo_, 0, text::Off, detection));
    detectionColumn->addLayout(detectionRow);
    // What the switch does, under it and as the group's tooltip.
    auto* ovoHelp = new QLabel(UiText(text::added::VarovudOvoHelp), detection);
    ovoHelp->setObjectName(QStringLiteral("OvoHelp"));
    ovoHelp->setWordWrap(true);
    detectionColumn->addWidget(ovoHelp);
    detection->setToolTip(ovoHelp->text());
    lineOrBar_->button(static_cast<int>(SpectrumStyleOf(app.settings)))->setChecked(true);
    ovo_->button(ConsolidatePeaks(app.settings) ? 1 : 0)->setChecked(true);
    drawing->setObjectName(QStringLiteral("LineOrBar"));
    detection->setObjectName(QStringLiteral("Ovo"));
    auto* fields = new QVBoxLayout;
    fields->addWidget(drawing);
    fields->addWidget(detection);
    SetFields(fields);
}

bool CFftDisplayDialog::Collect(CSettings& settings) {
    SetSpectrumStyle(settings, static_cast<SpectrumStyle>(lineOrBar_->checkedId()));
    SetConsolidatePeaks(settings, ovo_->checkedId() == 1);
    return true;
}

CBandNamesDialog::CBandNamesDialog(CAppData& app, QWidget* parent)
    : CSettingsDialog(app, UiText(text::VaBandDescriptions), parent) {
    const std::array<QString, 4> current = {app.settings.band1Name, app.settings.band2Name,
                                            app.settings.band3Name, app.settings.band4Name};
    auto* form = new QFormLayout;
    for (std::size_t band = 0; band < names_.size(); ++band) {
        names_[band] = new QLineEdit(current[band], this);
        names_[band]->setObjectName(QStringLiteral("Band%1Name").arg(band + 1));
        // Band labels are the entries 80, 82, 84 and 86.
        form->addRow(UiText(text::Band1 + 2 * static_cast<int>(band)), names_[band]);
    }
    SetFields(form);
    resize(380, sizeHint().height());
}

bool CBandNamesDialog::Collect(CSettings& settings) {
    for (QLineEdit* name : names_) {
        if (name->text().size() > kMaxBandNameLength) {
            app_.UserPrompter().ShowMessage(UiText(text::MaxLength25));
            name->setFocus();
            return false;
        }
    }
    settings.band1Name = names_[0]->text();
    settings.band2Name = names_[1]->text();
    settings.band3Name = names_[2]->text();
    settings.band4Name = names_[3]->text();
    return true;
}

CStatusColumnsDialog::CStatusColumnsDialog(CAppData& app, QWidget* parent)
    : CSettingsDialog(app, UiText(text::SelectStatusColumns), parent),
      asValues_(new QCheckBox(UiText(text::StatusAsValues), this)) {
    auto* choices = new QGroupBox(UiText(text::MachineStatusTitle), this);
    auto* column = new QVBoxLayout(choices);
    for (const int kind :
         {app.settings.vibStatusColumn1, app.settings.vibStatusColumn2, app.settings.vibStatusColumn3}) {
        if (IsMeasureKind(kind) && std::find(order_.cbegin(), order_.cend(), kind) == order_.cend()) {
            order_.push_back(kind);
        }
    }
    for (int kind = 0; kind < kMeasureKindCount; ++kind) {
        auto* box = new QCheckBox(KindCaption(kind, app.settings), choices);
        box->setObjectName(QStringLiteral("Kind%1").arg(kind));
        box->setChecked(std::find(order_.cbegin(), order_.cend(), kind) != order_.cend());
        connect(box, &QCheckBox::clicked, this, [this, box] { Ticked(box); });
        kinds_.push_back(box);
        column->addWidget(box);
    }
    asValues_->setObjectName(QStringLiteral("StatusAsValues"));
    asValues_->setChecked(StatusValuesOn(app.settings));
    auto* fields = new QVBoxLayout;
    fields->addWidget(choices);
    fields->addWidget(asValues_);
    SetFields(fields);
}

void CStatusColumnsDialog::Ticked(QCheckBox* box) {
    const int kind = static_cast<int>(std::find(kinds_.cbegin(), kinds_.cend(), box) - kinds_.cbegin());
    if (!box->isChecked()) {
        order_.erase(std::remove(order_.begin(), order_.end(), kind), order_.end());
        return;
    }
    if (static_cast<int>(order_.size()) >= kMaxColumns) {
        box->setChecked(false);
        app_.UserPrompter().ShowMessage(UiText(text::MaxThreeSelections));
        return;
    }
    order_.push_back(kind);
}

bool CStatusColumnsDialog::Collect(CSettings& settings) {
    std::array<int, kMaxColumns> columns = {-1, -1, -1};
    std::copy(order_.cbegin(), order_.cend(), columns.begin());
    settings.vibStatusColumn1 = columns[0];
    settings.vibStatusColumn2 = columns[1];
    settings.vibStatusColumn3 = columns[2];
    SetStatusValuesOn(settings, asValues_->isChecked());
    return true;
}

CEmailExceptionsDialog::CEmailExceptionsDialog(CAppData& app, QWidget* parent)
    : CSettingsDialog(app, UiText(text::EmailExceptionsOnUpload), parent),
      onUpload_(new QCheckBox(UiText(text::EmailExceptionsOnUpload), this)),
      autoSend_(new QCheckBox(UiText(text::added::SendAutomatically), this)) {
    onUpload_->setObjectName(QStringLiteral("OnUpload"));
    autoSend_->setObjectName(QStringLiteral("AutoSend"));
    onUpload_->setChecked(EmailExceptionsOnUpload(app.settings));
    autoSend_->setChecked(AutoSendExceptions(app.settings));
    autoSend_->setEnabled(onUpload_->isChecked());
    connect(onUpload_, &QCheckBox::toggled, autoSend_, &QWidget::setEnabled);
    auto* fields = new QVBoxLayout;
    fields->addWidget(onUpload_);
    fields->addWidget(autoSend_);
    SetFields(fields);
}

bool CEmailExceptionsDialog::Collect(CSettings& settings) {
    SetEmailExceptionsOnUpload(settings, onUpload_->isChecked());
    SetAutoSendExceptions(settings, autoSend_->isChecked());
    return true;
}

CMailServerDialog::CMailServerDialog(CAppData& app, QWidget* parent)
    : CSettingsDialog(app, UiText(text::added::MailServer), parent),
      host_(new QLineEdit(app.settings.smtpHost, this)), port_(new QSpinBox(this)),
      security_(new QComboBox(this)), user_(new QLineEdit(app.settings.smtpUser, this)),
      password_(new QLineEdit(this)),
      allowPlainAuth_(new QCheckBox(UiText(text::added::AllowPlainAuth), this)),
      from_(new QLineEdit(app.settings.smtpFrom, this)), testTo_(new QLineEdit(this)) {
    storedPassword_ = UserSecrets(app.edition).Read(kSmtpPasswordSecret).value_or(QString());
    password_->setText(storedPassword_);
    // Ticked only while the host is the one the permission was given for: a new server starts
    // without it.
    const auto showPermission = [this, allowed = app.settings.smtpAllowPlainAuth.trimmed()] {
        allowPlainAuth_->setChecked(!allowed.isEmpty() &&
                                    allowed.compare(host_->text().trimmed(), Qt::CaseInsensitive) == 0);
    };
    showPermission();
    connect(host_, &QLineEdit::textEdited, this, showPermission);
    allowPlainAuth_->setObjectName(QStringLiteral("SmtpAllowPlainAuth"));
    host_->setObjectName(QStringLiteral("SmtpHost"));
    port_->setObjectName(QStringLiteral("SmtpPort"));
    security_->setObjectName(QStringLiteral("SmtpSecurity"));
    user_->setObjectName(QStringLiteral("SmtpUser"));
    password_->setObjectName(QStringLiteral("SmtpPassword"));
    from_->setObjectName(QStringLiteral("SmtpFrom"));
    testTo_->setObjectName(QStringLiteral("TestTo"));
    port_->setRange(1, kMaxPort);
    port_->setValue(app.settings.smtpPort);
    security_->addItems(
        {UiText(text::added::SecurityNone), QStringLiteral("STARTTLS"), QStringLiteral("TLS")});
    security_->setCurrentIndex(static_cast<int>(SmtpSecurityOf(app.settings)));
    password_->setEchoMode(QLineEdit::Password);
    host_->setPlaceholderText(QStringLiteral("smtp.example.org"));

    auto* form = new QFormLayout;
    form->addRow(UiText(text::added::MailHost), host_);
    form->addRow(UiText(text::added::MailPort), port_);
    form->addRow(UiText(text::added::MailSecurity), security_);
    form->addRow(UiText(text::UserLabel), user_);
    form->addRow(UiText(text::added::ServerPassword), password_);
    form->addRow(QString(), allowPlainAuth_);
    form->addRow(UiText(text::added::MailSender), from_);
    auto* test = new QPushButton(UiText(text::added::SendTestMessage), this);
    test->setObjectName(QStringLiteral("SendTest"));
    connect(test, &QPushButton::clicked, this, &CMailServerDialog::SendTest);
    auto* testRow = new QHBoxLayout;
    testRow->addWidget(testTo_, 1);
    testRow->addWidget(test);
    form->addRow(UiText(text::EmailAddressLabel), testRow);
    SetFields(form);
    resize(460, sizeHint().height());
}

bool CMailServerDialog::Collect(CSettings& settings) {
    const QString from = from_->text().trimmed();
    if (!from.isEmpty() && !IsValidEmailAddress(from)) {
        app_.UserPrompter().ShowMessage(UiText(text::EmailAddressInvalid));
        from_->setFocus();
        return false;
    }
    settings.smtpHost = host_->text().trimmed();
    settings.smtpPort = port_->value();
    SetSmtpSecurity(settings, static_cast<SmtpSecurity>(security_->currentIndex()));
    settings.smtpUser = user_->text().trimmed();
    settings.smtpFrom = from;
    // The permission names the server it was given for, so it never carries over to another one.
    settings.smtpAllowPlainAuth = allowPlainAuth_->isChecked() ? settings.smtpHost : QString();
    return true;
}

void CMailServerDialog::accept() {
    CSettings checked = app_.settings;
    if (!Collect(checked)) {
        return;
    }
    const QString password = password_->text();
    if (password != storedPassword_) {
        const SecretStore secrets = UserSecrets(app_.edition);
        QString error;
        const bool stored = password.isEmpty() ? secrets.Remove(kSmtpPasswordSecret, &error)
                                               : secrets.Write(kSmtpPasswordSecret, password, &error);
        if (!stored) {
            app_.UserPrompter().ShowMessage(UiText(text::added::PasswordNotStored).arg(error));
            password_->setFocus();
            return;
        }
        storedPassword_ = password;
    }
    CSettingsDialog::accept();
}

void CMailServerDialog::SendTest() {
    const QString to = testTo_->text().trimmed();
    const QStringList recipients = to.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    if (recipients.isEmpty() ||
        !std::all_of(recipients.cbegin(), recipients.cend(),
                     [](const QString& address) { return IsValidEmailAddress(address.trimmed()); })) {
        app_.UserPrompter().ShowMessage(UiText(text::EmailAddressInvalid));
        return;
    }
    CSettings settings = app_.settings;
    if (!Collect(settings)) {
        return;
    }
    NoProgress progress;
    const TestMessageResult result =
        SendTestMessage(app_, settings, to, app_.UserPrompter(), progress, password_->text());
    if (result.delivered) {
        app_.UserPrompter().ShowMessage(
            UiText(result.sent ? text::added::MessageSent : text::added::OpenedForReview)
                .arg(result.location));
    } else if (!result.detail.isEmpty()) {
        app_.UserPrompter().ShowMessage(result.detail);
    }
}

CExceptionAddressesDialog::CExceptionAddressesDialog(CAppData& app, QWidget* parent)
    : QDialog(parent), app_(app), address_(new QLineEdit(this)), list_(new QListWidget(this)) {
    setWindowTitle(UiText(text::ExceptionAddressesTitle));
    address_->setObjectName(QStringLiteral("Address"));
    list_->setObjectName(QStringLiteral("Addresses"));
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    auto* add = new QPushButton(UiText(text::AddCommand), this);
    auto* removeSelected = new QPushButton(UiText(text::RemoveSelectedFromList), this);
    auto* removeAll = new QPushButton(UiText(text::RemoveAllFromList), this);
    connect(add, &QPushButton::clicked, this, &CExceptionAddressesDialog::AddAddress);
    connect(address_, &QLineEdit::returnPressed, this, &CExceptionAddressesDialog::AddAddress);
    connect(removeSelected, &QPushButton::clicked, this, [this] { qDeleteAll(list_->selectedItems()); });
    connect(removeAll, &QPushButton::clicked, list_, &QListWidget::clear);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(UiText(text::EmailAddressLabel), this), 0, 0);
    grid->addWidget(address_, 0, 1);
    grid->addWidget(add, 0, 2);
    grid->addWidget(list_, 1, 0, 1, 3);
    auto* removeRow = new QHBoxLayout;
    removeRow->addWidget(removeSelected);
    removeRow->addWidget(removeAll);
    removeRow->addStretch();
    grid->addLayout(removeRow, 2, 0, 1, 3);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(MakeOkCancelButtons(this));
    resize(480, 360);

    const std::optional<QStringList> stored = LoadExceptionAddresses(app_);
    opened_ = stored.has_value();
    if (opened_) {
        stored_ = *stored;
        list_->addItems(stored_);
    }
}

QStringList CExceptionAddressesDialog::Addresses() const {
    return ListedTexts(*list_);
}

void CExceptionAddressesDialog::AddAddress() {
    if (AddTypedAddress(*list_, *address_, app_.UserPrompter())) {
        list_->sortItems();
    }
}

void CExceptionAddressesDialog::accept() {
    if (!StoreExceptionAddresses(app_, stored_, Addresses())) {
        return;
    }
    QDialog::accept();
}

} // namespace vantor
