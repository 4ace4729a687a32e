#pragma once
// "Zoom Date/Time Axis": the trend's date axis either automatic (all readings) or from a start to
// an end date-time within the readings' days.

#include <QDateTime>
#include <QDialog>

#include <optional>

class QDateTimeEdit;
class QRadioButton;

namespace vantor {

class Prompter;

// A zoom of the date axis; none is "Auto".
struct DateZoom {
    QDateTime start;
    QDateTime end;
    friend bool operator==(const DateZoom&, const DateZoom&) = default;
};

// The span a zoom may cover: from midnight of the first reading's day to the end of the last one's.
struct DateSpan {
    QDateTime first;
    QDateTime last;
};
DateSpan ZoomableSpan(const QDateTime& firstReading, const QDateTime& lastReading);

// The message refusing a zoom, or none: "Start Date/Time can't be greater than End Date/Time", or
// "Start/End Date/Time must be between the following" with the span on the next line.
std::optional<QString> ValidateDateZoom(const DateZoom& zoom, const DateSpan& span);

class ZoomDateDialog : public QDialog {
    Q_OBJECT
public:
    ZoomDateDialog(std::optional<DateZoom> current, const DateSpan& span, Prompter& prompter,
                   QWidget* parent = nullptr);

    std::optional<DateZoom> Zoom() const;
    void accept() override;

    QRadioButton& Auto() const { return *auto_; }
    QDateTimeEdit& Start() const { return *start_; }
    QDateTimeEdit& End() const { return *end_; }

private:
    Prompter& prompter_;
    DateSpan span_;
    QRadioButton* auto_ = nullptr;
    QRadioButton* manual_ = nullptr;
    QDateTimeEdit* start_ = nullptr;
    QDateTimeEdit* end_ = nullptr;
};

} // namespace vantor
