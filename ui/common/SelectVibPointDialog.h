#pragma once
// "Select Vib Point": the machines with their vibration points; OK (or a double-click on a point)
// closes with the chosen point, anything else asks for a selection.

#include "app/CAppData.h"

#include <QDialog>

class QTreeWidget;

namespace vantor {

class Prompter;

class CSelectVibPointDialog : public QDialog {
    Q_OBJECT
public:
    explicit CSelectVibPointDialog(CAppData& app, QWidget* parent = nullptr);

    // The chosen point's GUID; empty while a machine or nothing is selected.
    QString PointGuid() const;
    QTreeWidget* Tree() const { return tree_; }

    void accept() override;

private:
    Prompter& prompter_;
    QTreeWidget* tree_;
};

} // namespace vantor
