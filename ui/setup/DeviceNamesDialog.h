#pragma once
// "Device Names": the known meters in their order, with Rename and Delete in the list's context
// menu. Closes at once when the database cannot be opened.

#include "app/DeviceNames.h"

#include <QDialog>

class QAction;

namespace vantor {

class RecordList;

class CDeviceNamesDialog : public QDialog {
    Q_OBJECT
public:
    explicit CDeviceNamesDialog(CAppData& app, QWidget* parent = nullptr);

    bool IsOpen() const { return opened_; }
    RecordList* List() const { return list_; }
    QAction* RenameCommand() const { return rename_; }
    QAction* DeleteCommand() const { return delete_; }

    void RenameSelected();
    void DeleteSelected();

private:
    void Fill();

    DeviceNameList devices_;
    RecordList* list_;
    QAction* rename_;
    QAction* delete_;
    bool opened_ = false;
};

} // namespace vantor
