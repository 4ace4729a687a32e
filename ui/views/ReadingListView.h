#pragma once
// The point's readings, newest first: date-time, reading status and every measured value, each in
// its status colour. A double click (or Enter) opens a reading; Delete removes it after asking.

#include <QString>
#include <QWidget>

class QMenu;
class QTreeWidget;

namespace vantor {

struct PointViewsState;

class ReadingListView : public QWidget {
    Q_OBJECT
public:
    ReadingListView(PointViewsState& state, QWidget* parent = nullptr);

    void Redraw();
    void RefreshTexts();

    QTreeWidget& List() const { return *list_; }
    // The reading of a row (0 = newest); empty outside the list.
    QString ReadingAt(int row) const;
    void FillMenu(QMenu& menu, const QString& readingGuid);

signals:
    void ReadingActivated(const QString& readingGuid);
    void DeleteRequested(const QString& readingGuid);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SetHeaders();

    PointViewsState& state_;
    QTreeWidget* list_ = nullptr;
};

} // namespace vantor
