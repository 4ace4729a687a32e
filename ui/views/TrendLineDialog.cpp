#include "ui/views/TrendLineDialog.h"

#include "platform/Prompter.h"
#include "texts/DisplayFormat.h"
#include "ui/common/DialogButtons.h"
#include "ui/common/PointViewTexts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLocale>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace vantor {
namespace {
constexpr int kProjectionModes = 5;
constexpr int kValueDecimals = 4;
constexpr double kLargestValue = 1e9;
// Wider than the accepted 1..10000 so that the check on OK, not the box, refuses a wrong count.
constexpr int kLargestDaysEntry = 99999;
constexpr int kSecondOrderCoefficients = 3;
} // namespace

TrendLineDialog::TrendLineDialog(const TrendLineChoice& current, const std::vector<QDateTime>& readingDates,
                                 double valueFactor, Prompter& prompter, QWidget* parent)
    : QDialog(parent), prompter_(prompter), valueFactor_(valueFactor > 0 ? valueFactor : 1.0) {
    setWindowTitle(UiText(text::views::TrendLine));
    on_ = new QCheckBox(UiText(text::views::OnOff), this);
    const bool enough = readingDates.size() >= 2;
    on_->setChecked(enough && current.on);
    on_->setEnabled(enough);

    auto* fit = new QGroupBox(UiText(text::views::Fit), this);
    linear_ = new QRadioButton(UiText(text::views::Linear), fit);
    secondOrder_ = new QRadioButton(UiText(text::views::SecondOrder), fit);
    (current.settings.fit == TrendFitKind::Linear ? linear_ : secondOrder_)->setChecked(true);
    auto* fitLayout = new QHBoxLayout(fit);
    fitLayout->addWidget(linear_);
    fitLayout->addWidget(secondOrder_);

    from_ = new QComboBox(this);
    for (const QDateTime& taken : readingDates) {
        from_->addItem(DisplayDateTime(taken), taken);
    }
    int fromIndex = 0;
    for (int i = 0; i < from_->count(); ++i) {
        if (current.settings.from.isValid() && from_->itemData(i).toDateTime() == current.settings.from) {
            fromIndex = i;
        }
    }
    from_->setCurrentIndex(fromIndex);

    mode_ = new QComboBox(this);
    for (int mode = 0; mode < kProjectionModes; ++mode) {
        mode_->addItem(UiText(text::views::LastPoint + mode), mode);
    }
    mode_->setCurrentIndex(static_cast<int>(current.settings.mode));
    value_ = new QDoubleSpinBox(this);
    value_->setDecimals(kValueDecimals);
    value_->setRange(-kLargestValue, kLargestValue);
    value_->setValue(current.settings.targetValue * valueFactor_);
    days_ = new QSpinBox(this);
    days_->setRange(-kLargestDaysEntry, kLargestDaysEntry);
    days_->setValue(current.settings.days);

    auto* projection = new QGroupBox(UiText(text::views::ProjectToBy), this);
    auto* form = new QFormLayout(projection);
    form->addRow(mode_);
    form->addRow(UiText(text::views::LastPoint + static_cast<int>(ProjectionMode::ValuePoint)), value_);
    form->addRow(UiText(text::views::LastPoint + static_cast<int>(ProjectionMode::Days)), days_);

    auto* fromForm = new QFormLayout;
    fromForm->addRow(UiText(text::views::From), from_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(on_);
    layout->addWidget(fit);
    layout->addLayout(fromForm);
    layout->addWidget(projection);
    layout->addWidget(MakeOkCancelButtons(this));
    connect(on_, &QCheckBox::toggled, this, &TrendLineDialog::UpdateEnabled);
    connect(mode_, &QComboBox::currentIndexChanged, this, &TrendLineDialog::UpdateEnabled);
    UpdateEnabled();
}

void TrendLineDialog::UpdateEnabled() {
    const bool on = on_->isChecked();
    for (QWidget* widget : std::initializer_list<QWidget*>{linear_, secondOrder_, from_, mode_}) {
        widget->setEnabled(on);
    }
    const auto mode = static_cast<ProjectionMode>(mode_->currentData().toInt());
    value_->setEnabled(on && mode == ProjectionMode::ValuePoint);
    days_->setEnabled(on && mode == ProjectionMode::Days);
}

TrendLineChoice TrendLineDialog::Choice() const {
    TrendLineChoice choice;
    choice.on = on_->isChecked();
    choice.settings.fit = linear_->isChecked() ? TrendFitKind::Linear : TrendFitKind::Polynomial;
    choice.settings.coefficientCount = kSecondOrderCoefficients;
    // The first reading as "From" leaves nothing out.
    choice.settings.from = from_->currentIndex() > 0 ? from_->currentData().toDateTime() : QDateTime();
    choice.settings.mode = static_cast<ProjectionMode>(mode_->currentData().toInt());
    choice.settings.targetValue = value_->value() / valueFactor_;
    choice.settings.days = days_->value();
    return choice;
}

void TrendLineDialog::accept() {
    const TrendLineChoice choice = Choice();
    if (choice.on) {
        if (const std::optional<int> refused = ValidateTrendLineSettings(choice.settings)) {
            prompter_.ShowMessage(UiText(*refused));
            return;
        }
    }
    QDialog::accept();
}

} // namespace vantor
