#pragma once
// The date of the serialised archive: a status word and an OLE automation date, i.e. days since
// 1899-12-30 with the time of day as the fraction. For dates before 1899-12-30 the whole part
// counts days backwards while the fraction still counts the time forwards (-1.25 is 1899-12-29
// 06:00).

#include <QDateTime>
#include <QtGlobal>

namespace vantor {

struct ArchiveDate {
    enum Status : qint32 { Valid = 0, Invalid = 1, Null = 2 };

    qint32 status = Valid;
    double days = 0.0;

    // A valid date from the date and time fields of dateTime (its time zone plays no part); an
    // invalid QDateTime gives status Invalid.
    static ArchiveDate FromDateTime(const QDateTime& dateTime);
    // The date and time with the given time spec, rounded to the millisecond; an invalid QDateTime
    // when the status is not Valid or the value is not a representable date.
    QDateTime ToDateTime(Qt::TimeSpec spec = Qt::LocalTime) const;

    friend bool operator==(const ArchiveDate&, const ArchiveDate&) = default;
};

} // namespace vantor
