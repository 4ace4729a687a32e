#pragma once
// A graph control with a read-out line under it: the frame every point view draws in. It shows the
// control's messages as the user's, reports a right click for the view's menu, and copies the graph
// to the clipboard as a picture together with its data as text.

#include <QPoint>
#include <QString>
#include <QWidget>

#include <functional>

class CVantorGraphCtrl;
class QLabel;
class QMenu;

namespace vantor {

class Prompter;

class GraphPane : public QWidget {
    Q_OBJECT
public:
    GraphPane(Prompter& prompter, QWidget* parent = nullptr);

    CVantorGraphCtrl& Graph() const { return *graph_; }
    QLabel& Readout() const { return *readout_; }

    // Paints the control once at its current size off screen, so that its layout (where the data
    // lies on screen) is known before cursors are placed.
    void LayOut();

    // The picture of the graph and the series as tab-separated text ("x<TAB>y" per point, a blank
    // line between series), both put on the clipboard at once.
    void CopyToClipboard() const;
    QString SeriesText() const;

    // The view's menu, filled by `fill` and shown at the pointer on every right click.
    void SetMenu(std::function<void(QMenu&)> fill);

signals:
    // A right click on the graph away from any point, at this global position.
    void MenuRequested(const QPoint& globalPosition);

private:
    CVantorGraphCtrl* graph_ = nullptr;
    QLabel* readout_ = nullptr;
};

} // namespace vantor
