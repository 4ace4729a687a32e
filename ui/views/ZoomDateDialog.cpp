#include "ui/views/ZoomDateDialog.h"

#include "platform/Prompter.h"
#include "texts/DisplayFormat.h"
#include "ui/common/DialogButtons.h"
#include "ui/common/PointViewTexts.h"

#include <QDateTimeEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLocale>
#include <QRadioButton>
#include <QVBoxLayout>

namespace vantor {
namespace {

QString SpanText(const DateSpan& span) {
    return QStringLiteral("%1 - %2").arg(DisplayDateTime(span.first), DisplayDateTime(span.last));
}

QDateTimeEdit* DateEdit(const QDateTime& value, QWidget* parent) {
    auto* edit = new QDateTimeEdit(value, parent);
    edit->setCalendarPopup(true);
    edit->setDisplayFormat(QLocale().dateTimeFormat(QLocale::ShortFormat));
    return edit;
}

} // namespace

DateSpan ZoomableSpan(const QDateTime& firstReading, const QDateTime& lastReading) {
    return {QDateTime(firstReading.date(), QTime(0, 0)), QDateTime(lastReading.date(), QTime(23, 59, 59))};
}

std::optional<QString> ValidateDateZoom(const DateZoom& zoom, const DateSpan& span) {
    if (zoom.start > zoom.end) {
        return UiText(text::views::StartAfterEnd);
    }
    if (zoom.start < span.first || zoom.start > span.last) {
        return UiText(text::views::StartOutside) + QStringLiteral("\r\n") + SpanText(span);
    }
    if (zoom.end < span.first || zoom.end > span.last) {
        return UiText(text::views::EndOutside) + QStringLiteral("\r\n") + SpanText(span);
    }
    return std::nullopt;
}

ZoomDateDialog::ZoomDateDialog(std::optional<DateZoom> current, const DateSpan& span, Prompter& prompter,
                               QWidget* parent)
    : QDialog(parent), prompter_(prompter), span_(span) {
    setWindowTitle(UiText(text::views::ZoomDateAxis));
    auto_ = new QRadioButton(UiText(text::views::ZoomAuto), this);
    manual_ = new QRadioButton(UiText(text::views::ZoomDateAxis), this);
    (current ? manual_ : auto_)->setChecked(true);
    start_ = DateEdit(current ? current->start : span.first, this);
    end_ = DateEdit(current ? current->end : span.last, this);
    auto* form = new QFormLayout;
    form->addRow(UiText(text::views::ZoomStart), start_);
    form->addRow(UiText(text::views::ZoomEnd), end_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(auto_);
    layout->addWidget(manual_);
    layout->addLayout(form);
    layout->addWidget(MakeOkCancelButtons(this));
    auto enable = [this] {
        start_->setEnabled(manual_->isChecked());
        end_->setEnabled(manual_->isChecked());
    };
    connect(manual_, &QRadioButton::toggled, this, enable);
    enable();
}

std::optional<DateZoom> ZoomDateDialog::Zoom() const {
    if (auto_->isChecked()) {
        return std::nullopt;
    }
    return DateZoom{start_->dateTime(), end_->dateTime()};
}

void ZoomDateDialog::accept() {
    if (const std::optional<DateZoom> zoom = Zoom()) {
        if (const std::optional<QString> refused = ValidateDateZoom(*zoom, span_)) {
            prompter_.ShowMessage(*refused);
            return;
        }
    }
    QDialog::accept();
}

} // namespace vantor
