#pragma once
// A list of records for the set-up dialogs: one row per record with the record's GUID in a last,
// hidden column, headers that cannot be clicked, and a context menu whose commands are enabled only
// while a row is selected.

#include <QStringList>
#include <QTreeWidget>

#include <vector>

class QMenu;

namespace vantor {

class RecordList : public QTreeWidget {
    Q_OBJECT
public:
    RecordList(const QStringList& headers, QWidget* parent = nullptr);

    // The visible headers (the hidden GUID column keeps an empty one).
    void SetHeaders(const QStringList& headers);
    // Replaces every row: the visible cells and the record's GUID.
    struct Row {
        QStringList cells;
        QString guid;
    };
    void SetRows(const std::vector<Row>& rows);

    // The GUID of the selected row; empty without a selection.
    QString SelectedGuid() const;
    int GuidColumn() const { return columnCount() - 1; }

    // Adds a command to the context menu; enabled only while a row is selected unless it does
    // not need one (an Add that works on an empty list).
    QAction* AddCommand(const QString& text, bool needsSelection = true);
    // Selects the row of this GUID, if there is one.
    void SelectGuid(const QString& guid);
    QMenu* ContextMenu() const { return menu_; }

private:
    void UpdateCommands();

    QMenu* menu_;
};

} // namespace vantor
