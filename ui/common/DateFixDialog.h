#pragma once
// Asks for the correct date and time of a reading whose stored date is not valid.

#include "platform/Prompter.h"

#include <QDialog>

class QDateTimeEdit;

namespace vantor {

class DateFixDialog : public QDialog {
    Q_OBJECT
public:
    DateFixDialog(const DateFixRequest& request, QWidget* parent = nullptr);

    QDateTime DateTime() const;

private:
    QDateTimeEdit* edit_;
};

} // namespace vantor
