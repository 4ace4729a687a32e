#pragma once
// Drag and drop of a waveform file onto a vibration point in the machine tree: a single local
// UFF 58, WAV or CSV file (by its suffix, as the import reads it) is accepted over a vibration
// point only, and dropping it hands the point's item and the file to the owner (which opens Import
// Waveform with both filled in). Anything else is refused while it is dragged.

#include <QModelIndex>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class QMimeData;
class QTreeView;

namespace vantor {

class WaveformDrop : public QObject {
    Q_OBJECT
public:
    using Dropped = std::function<void(const QModelIndex& point, const QString& file)>;
    WaveformDrop(QTreeView& tree, Dropped dropped);

    // The one waveform file the data carries; none for several files, a remote one or another type.
    static std::optional<QString> WaveformFileOf(const QMimeData& data);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The vibration point's item under the position; invalid elsewhere.
    QModelIndex PointAt(const QPoint& position) const;

    QTreeView& tree_;
    Dropped dropped_;
};

} // namespace vantor
