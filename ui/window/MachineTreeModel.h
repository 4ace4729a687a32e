#pragma once
// The machine tree's model: one root item (the plant), under it the machines in their order and,
// when off-route readings wait, an "Off Route" item; under each machine its points. Every item
// shows its status by colour and icon (a machine the most severe of its points, the plant the most
// severe of all), in bold while "Bold On/Off" is on; a point whose newest reading's diagnosis alarms
// carries a mark on its icon beside its status (its machine and the plant too), and one with alarm
// events nobody acknowledged a dot. The model holds a snapshot of
// the plant; SetPlant replaces it as a whole, and the view keeps its selection through NodeKey.

#include "app/PlantStatus.h"

#include <QAbstractItemModel>

namespace vantor {

class MachineTreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    enum class NodeKind { None, Plant, Machine, VibPoint, LubePoint, OffRoute };
    // What an item stands for, stable across a refresh.
    struct NodeKey {
        NodeKind kind = NodeKind::None;
        QString guid; // machine or point; empty for the plant and the off-route item
        friend bool operator==(const NodeKey&, const NodeKey&) = default;
    };
    enum Role {
        KindRole = Qt::UserRole + 1, // NodeKind as int
        GuidRole,                    // the record's sItemGUID
        StatusRole,                  // StatusCode as int
        FindingsMarkRole,            // the diagnosis's mark as a StatusCode int (OK: none)
        NewEventsRole,               // unacknowledged alarm events under the item (a dot on its icon)
    };

    explicit MachineTreeModel(QObject* parent = nullptr);

    // Replaces the whole tree (the view loses its selection: restore it with IndexOf).
    void SetPlant(PlantSnapshot plant);
    const PlantSnapshot& Plant() const { return plant_; }

    // A point's findings worked out after the plant was read: its mark (and its machine's and the
    // plant's) follow.
    void SetPointFindings(const QString& pointGuid, std::optional<std::vector<Finding>> findings);

    void SetBold(bool bold);
    // Re-reads the captions that come from the UI text table.
    void RefreshTexts();

    QModelIndex PlantIndex() const;
    NodeKey KeyOf(const QModelIndex& index) const;
    // The item of the key; for a point or machine that no longer exists, invalid.
    QModelIndex IndexOf(const NodeKey& key) const;
    // The machine a point belongs to (the machine itself for a machine); null otherwise.
    const PlantMachine* MachineOf(const QModelIndex& index) const;
    const PlantPoint* PointOf(const QModelIndex& index) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    NodeKind KindOf(const QModelIndex& index) const;
    bool HasOffRoute() const { return plant_.offRouteReadings > 0; }

    PlantSnapshot plant_;
    bool bold_ = true;
};

} // namespace vantor
