#include "ui/setup/EditorFields.h"

#include "app/CatalogueEditor.h"
#include "app/EditOutcome.h"
#include "platform/Prompter.h"
#include "texts/UiText.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

#include <algorithm>

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

QString FormatShown(double value, int decimals) {
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    QString text = locale.toString(value, 'f', decimals);
    const QString point = locale.decimalPoint();
    if (decimals > 0 && text.contains(point)) {
        while (text.endsWith(locale.zeroDigit())) {
            text.chop(1);
        }
        if (text.endsWith(point)) {
            text.chop(point.size());
        }
    }
    return text == QStringLiteral("-0") ? QStringLiteral("0") : text;
}

namespace {

// Refuses, while typing, the characters the store's name checks refuse (* $ \ / ? > < : " | and
// control characters; in a meter name also the comma that separates the meter's fields).
QValidator* NameValidator(bool meterName, QObject* parent) {
    const QString refused = meterName ? QStringLiteral(R"([^*$\\/?><:"|,\x{0}-\x{1f}\x{7f}-\x{9f}])")
                                      : QStringLiteral(R"([^*$\\/?><:"|\x{0}-\x{1f}\x{7f}-\x{9f}])");
    return new QRegularExpressionValidator(QRegularExpression(refused + QLatin1Char('*')), parent);
}

// A stored name longer than the field takes is shown whole; the field stops only what is typed.
void LimitLength(QLineEdit* edit, int maxLength) {
    edit->setMaxLength(std::max(maxLength, static_cast<int>(edit->text().size())));
}

} // namespace

NameFields::NameFields(QFormLayout* form, const QString& name, const QString& meterName, bool isNew)
    : QObject(form), name_(new QLineEdit(name)), meterName_(new QLineEdit(meterName)),
      sameAsName_(new QCheckBox(UiText(text::SameAsName))) {
    name_->setObjectName(QStringLiteral("Name"));
    meterName_->setObjectName(QStringLiteral("MeterName"));
    LimitLength(name_, kNameMaxLength);
    LimitLength(meterName_, kMeterNameMaxLength);
    name_->setValidator(NameValidator(false, name_));
    meterName_->setValidator(NameValidator(true, meterName_));
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
        // The meter takes the name's first characters, without its commas.
        meterName_->setText(name_->text().remove(QLatin1Char(',')).left(kMeterNameMaxLength));
    }
}

QString NameFields::Name() const {
    return name_->text();
}

QString NameFields::MeterName() const {
    return meterName_->text();
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
    Propose(warning, critical);
    enabled_->setChecked(on);
    warning_->setEnabled(on);
    critical_->setEnabled(on);
}

void AlarmFields::Propose(float warning, float critical) {
    // A proposed level left as shown is taken exactly, as a loaded one is.
    storedWarning_ = warning;
    storedCritical_ = critical;
    shownWarning_ = FormatShown(static_cast<double>(warning * factor_), kLevelDecimals);
    shownCritical_ = FormatShown(static_cast<double>(critical * factor_), kLevelDecimals);
    warning_->setText(shownWarning_);
    critical_->setText(shownCritical_);
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
