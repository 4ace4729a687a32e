#include "ui/setup/EditorFields.h"

#include "app/EditOutcome.h"
#include "platform/Prompter.h"
#include "store/Validation.h"
#include "texts/UiText.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>

namespace vantor {
namespace {

constexpr int kFloatDigits = 9;

} // namespace

std::optional<double> ParseEntry(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) {
        return 0.0;
    }
    bool ok = false;
    double value = QLocale().toDouble(trimmed, &ok);
    if (!ok) {
        value = QLocale::c().toDouble(trimmed, &ok);
    }
    return ok ? std::optional<double>(value) : std::nullopt;
}

bool IsIncompleteEntry(const QString& text) {
    const QString trimmed = text.trimmed();
    return trimmed.endsWith(QLocale().decimalPoint()) || trimmed.endsWith(QLatin1Char('.')) ||
           trimmed == QLatin1String("-") || trimmed == QLatin1String("+");
}

QString FormatEntry(float value) {
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    // Plain decimals, as few as read back exactly; exponents only for values beyond them.
    for (int decimals = 0; decimals <= kFloatDigits; ++decimals) {
        const QString text = locale.toString(static_cast<double>(value), 'f', decimals);
        if (static_cast<float>(locale.toDouble(text)) == value) {
            return text;
        }
    }
    return locale.toString(static_cast<double>(value), 'g', kFloatDigits);
}

NameFields::NameFields(QFormLayout* form, const QString& name, const QString& meterName, bool isNew)
    : QObject(form), name_(new QLineEdit(name)), meterName_(new QLineEdit(meterName)),
      sameAsName_(new QCheckBox(UiText(text::SameAsName))) {
    name_->setObjectName(QStringLiteral("Name"));
    meterName_->setObjectName(QStringLiteral("MeterName"));
    sameAsName_->setObjectName(QStringLiteral("SameAsName"));
    form->addRow(UiText(text::NameField), name_);
    auto* meterRow = new QHBoxLayout;
    meterRow->addWidget(meterName_, 1);
    meterRow->addWidget(sameAsName_);
    form->addRow(UiText(text::MeterNameField), meterRow);
    sameAsName_->setChecked(isNew || name == meterName);
    connect(sameAsName_, &QCheckBox::toggled, this, &NameFields::Follow);
    connect(name_, &QLineEdit::textChanged, this, &NameFields::Follow);
    Follow();
}

void NameFields::Follow() {
    meterName_->setEnabled(!sameAsName_->isChecked());
    if (sameAsName_->isChecked()) {
        meterName_->setText(name_->text());
    }
}

QString NameFields::Name() const {
    return name_->text();
}

QString NameFields::MeterName() const {
    return sameAsName_->isChecked() ? name_->text() : meterName_->text();
}

AlarmFields::AlarmFields(const QString& title, const QString& objectPrefix, const QString& unitLabel,
                         float factor, QWidget* parent)
    : QGroupBox(title, parent), factor_(factor), enabled_(new QCheckBox(UiText(text::Enabled), this)),
      warning_(new QLineEdit(this)), critical_(new QLineEdit(this)) {
    enabled_->setObjectName(objectPrefix + QStringLiteral("Alarms"));
    warning_->setObjectName(objectPrefix + QStringLiteral("Warning"));
    critical_->setObjectName(objectPrefix + QStringLiteral("Critical"));
    auto* form = new QFormLayout(this);
    form->addRow(enabled_);
    const auto withUnit = [this, &unitLabel](QLineEdit* edit) {
        auto* row = new QHBoxLayout;
        row->addWidget(edit, 1);
        row->addWidget(new QLabel(unitLabel, this));
        return row;
    };
    form->addRow(UiText(text::WarningLabel), withUnit(warning_));
    form->addRow(UiText(text::CriticalLabel), withUnit(critical_));
    connect(enabled_, &QCheckBox::toggled, warning_, &QWidget::setEnabled);
    connect(enabled_, &QCheckBox::toggled, critical_, &QWidget::setEnabled);
}

void AlarmFields::Load(bool on, float warning, float critical) {
    storedWarning_ = warning;
    storedCritical_ = critical;
    shownWarning_ = FormatEntry(warning * factor_);
    shownCritical_ = FormatEntry(critical * factor_);
    warning_->setText(shownWarning_);
    critical_->setText(shownCritical_);
    enabled_->setChecked(on);
    warning_->setEnabled(on);
    critical_->setEnabled(on);
}

void AlarmFields::Propose(float warning, float critical) {
    warning_->setText(FormatEntry(warning * factor_));
    critical_->setText(FormatEntry(critical * factor_));
}

bool AlarmFields::ReadLevel(const QLineEdit* edit, const QString& shown, float stored, float& out) const {
    if (edit->text() == shown) {
        out = stored;
        return true;
    }
    const std::optional<double> value = ParseEntry(edit->text());
    if (!value) {
        return false;
    }
    out = static_cast<float>(*value / static_cast<double>(factor_));
    return true;
}

bool AlarmFields::Read(bool& on, float& warning, float& critical) const {
    float w = 0;
    float c = 0;
    if (!ReadLevel(warning_, shownWarning_, storedWarning_, w) ||
        !ReadLevel(critical_, shownCritical_, storedCritical_, c)) {
        return false;
    }
    on = enabled_->isChecked();
    warning = w;
    critical = c;
    return true;
}

QStringList ListedTexts(const QListWidget& list) {
    QStringList texts;
    for (int row = 0; row < list.count(); ++row) {
        texts << list.item(row)->text();
    }
    return texts;
}

bool AddTypedAddress(QListWidget& list, QLineEdit& entry, Prompter& prompter) {
    const QString address = entry.text().trimmed();
    if (address.isEmpty() || ListedTexts(list).contains(address, Qt::CaseInsensitive)) {
        entry.clear();
        return false;
    }
    if (!Accepted(CheckAddressRoom(list.count()), prompter)) {
        return false;
    }
    if (!IsValidEmailAddress(address)) {
        prompter.ShowMessage(UiText(text::EmailAddressInvalid));
        return false;
    }
    list.addItem(address);
    entry.clear();
    return true;
}

} // namespace vantor
