#pragma once
// A single-field prompt for a name (a new meter's name, a new route's name...).

#include "platform/Prompter.h"

#include <QDialog>

class QLineEdit;

namespace vantor {

class NameDialog : public QDialog {
    Q_OBJECT
public:
    NameDialog(const NameRequest& request, QWidget* parent = nullptr);

    QString Name() const;

private:
    QLineEdit* edit_;
};

} // namespace vantor
