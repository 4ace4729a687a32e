#pragma once
// "Off Route Readings": the readings taken on the Off Route points, newest first, with Move To and
// Delete as buttons beside Exit and in the list's context menu. Closes at once when the database cannot be
// opened.

#include "app/OffRouteReadings.h"

#include <QDialog>

class QAction;
class QPushButton;

namespace vantor {

class RecordList;

class COffRouteDialog : public QDialog {
    Q_OBJECT
public:
    explicit COffRouteDialog(CAppData& app, QWidget* parent = nullptr);

    // False when the database could not be opened; the dialog then closes as soon as it runs.
    bool IsOpen() const { return opened_; }
    RecordList* List() const { return list_; }
    QAction* DeleteCommand() const { return delete_; }
    QAction* MoveToCommand() const { return moveTo_; }
    QPushButton* MoveToButton() const { return moveToButton_; }
    QPushButton* DeleteButton() const { return deleteButton_; }

    // The context commands on the selected row.
    void DeleteSelected();
    void MoveSelected();

signals:
    // A reading was moved under a vibration point: the machine tree should be rebuilt.
    void machinesChanged();

private:
    void Fill();
    void UpdateButtons();

    CAppData& app_;
    OffRouteReadingList readings_;
    RecordList* list_;
    QAction* delete_;
    QAction* moveTo_;
    QPushButton* moveToButton_ = nullptr;
    QPushButton* deleteButton_ = nullptr;
    bool opened_ = false;
};

} // namespace vantor
