#pragma once
// A titled list of records with the editor commands Add, Insert, Edit and Delete (and, where the
// order can be changed, Up and Down) both as buttons and in the list's context menu. Add works on
// an empty list; the others need a selected row. A double-click edits.

#include "ui/common/RecordList.h"

#include <QWidget>

class QLabel;
class QPushButton;

namespace vantor {

class EditableList : public QWidget {
    Q_OBJECT
public:
    EditableList(const QString& title, const QStringList& headers, bool movable, QWidget* parent = nullptr);

    RecordList* List() const { return list_; }
    // The GUID of a row by its position; empty outside the list.
    QString GuidAt(int row) const;
    int SelectedRow() const;
    QPushButton* Button(const QString& objectName) const;

signals:
    void addRequested();
    void insertRequested(const QString& guid);
    void editRequested(const QString& guid);
    void deleteRequested(const QString& guid);
    // step -1 up, +1 down
    void moveRequested(const QString& guid, int step);

private:
    void UpdateButtons();

    RecordList* list_;
    std::vector<QPushButton*> needSelection_;
};

} // namespace vantor
