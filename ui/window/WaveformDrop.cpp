#include "ui/window/WaveformDrop.h"

#include "interchange/WaveformSources.h"
#include "ui/window/MachineTreeModel.h"

#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTreeView>
#include <QUrl>

namespace vantor {

WaveformDrop::WaveformDrop(QTreeView& tree, Dropped dropped)
    : QObject(&tree), tree_(tree), dropped_(std::move(dropped)) {
    tree.setAcceptDrops(true);
    tree.viewport()->setAcceptDrops(true);
    tree.setDropIndicatorShown(true);
    tree.viewport()->installEventFilter(this);
}

std::optional<QString> WaveformDrop::WaveformFileOf(const QMimeData& data) {
    if (!data.hasUrls() || data.urls().size() != 1 || !data.urls().front().isLocalFile()) {
        return std::nullopt;
    }
    const QString file = data.urls().front().toLocalFile();
    if (!WaveformFormatOf(file)) {
        return std::nullopt;
    }
    return file;
}

QModelIndex WaveformDrop::PointAt(const QPoint& position) const {
    const QModelIndex index = tree_.indexAt(position);
    const int kind = index.data(MachineTreeModel::KindRole).toInt();
    return kind == static_cast<int>(MachineTreeModel::NodeKind::VibPoint) ? index : QModelIndex();
}

bool WaveformDrop::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        const bool fits = WaveformFileOf(*drag->mimeData()) && PointAt(drag->position().toPoint()).isValid();
        if (fits) {
            drag->setDropAction(Qt::CopyAction);
            drag->accept();
        } else {
            drag->ignore();
        }
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const std::optional<QString> file = WaveformFileOf(*drop->mimeData());
        const QModelIndex point = PointAt(drop->position().toPoint());
        if (!file || !point.isValid()) {
            drop->ignore();
            return true;
        }
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        dropped_(point, *file);
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}

} // namespace vantor
