#include "ui/window/MachineTreeModel.h"

#include "app/ReadingFindings.h"
#include "texts/DisplayFormat.h"
#include "ui/common/MainWindowTexts.h"
#include "ui/common/StatusIcons.h"

#include <QFont>
#include <QLocale>

#include <algorithm>

namespace vantor {
namespace {

// An index's internal id names its parent: the plant has none, the plant's children (machines and
// the off-route item) carry kUnderPlant, a machine's points carry kFirstMachine + its row.
constexpr quintptr kPlantItem = 0;
constexpr quintptr kUnderPlant = 1;
constexpr quintptr kFirstMachine = 2;

QString StatusTip(const DatedStatus& status) {
    QString tip = StatusText(status.code);
    if (status.dateTime.isValid()) {
        tip += QStringLiteral(" - ") + DisplayDateTime(status.dateTime);
    }
    return tip;
}

// The online sensor that feeds a point, with its newest ISO velocity and when it came.
QString OnlineTip(const PlantPoint::Online& online) {
    if (!online.latest || !online.latest->isoMms) {
        return UiText(text::added::OnlineSensorWaiting).arg(online.sensorId);
    }
    return UiText(text::added::OnlineSensorTip)
        .arg(online.sensorId, DisplayNumber(*online.latest->isoMms, 2),
             DisplayDateTime(online.latest->taken));
}

} // namespace

MachineTreeModel::MachineTreeModel(QObject* parent) : QAbstractItemModel(parent) {}

void MachineTreeModel::SetPlant(PlantSnapshot plant) {
    beginResetModel();
    plant_ = std::move(plant);
    endResetModel();
}

void MachineTreeModel::SetPointFindings(const QString& pointGuid,
                                        std::optional<std::vector<Finding>> findings) {
    if (!plant_.SetPointFindings(pointGuid, std::move(findings))) {
        return;
    }
    const QModelIndex point = IndexOf({NodeKind::VibPoint, pointGuid});
    for (QModelIndex item = point; item.isValid(); item = parent(item)) {
        emit dataChanged(item, item);
    }
}

void MachineTreeModel::SetBold(bool bold) {
    if (bold_ == bold) {
        return;
    }
    // Every item's font changes while the items stay where they are: a new layout keeps the
    // view's selection and open branches.
    emit layoutAboutToBeChanged();
    bold_ = bold;
    emit layoutChanged();
}

void MachineTreeModel::RefreshTexts() {
    emit layoutAboutToBeChanged();
    emit layoutChanged();
}

QModelIndex MachineTreeModel::PlantIndex() const {
    return createIndex(0, 0, kPlantItem);
}

MachineTreeModel::NodeKind MachineTreeModel::KindOf(const QModelIndex& index) const {
    if (!index.isValid()) {
        return NodeKind::None;
    }
    if (index.internalId() == kPlantItem) {
        return NodeKind::Plant;
    }
    if (index.internalId() == kUnderPlant) {
        return index.row() < static_cast<int>(plant_.machines.size()) ? NodeKind::Machine
                                                                      : NodeKind::OffRoute;
    }
    const PlantPoint* point = PointOf(index);
    if (point == nullptr) {
        return NodeKind::None;
    }
    return point->kind == PlantPoint::Kind::Vib ? NodeKind::VibPoint : NodeKind::LubePoint;
}

const PlantMachine* MachineTreeModel::MachineOf(const QModelIndex& index) const {
    if (!index.isValid() || index.internalId() == kPlantItem) {
        return nullptr;
    }
    const std::size_t row = index.internalId() == kUnderPlant
                                ? static_cast<std::size_t>(index.row())
                                : static_cast<std::size_t>(index.internalId() - kFirstMachine);
    return row < plant_.machines.size() ? &plant_.machines[row] : nullptr;
}

const PlantPoint* MachineTreeModel::PointOf(const QModelIndex& index) const {
    if (!index.isValid() || index.internalId() < kFirstMachine) {
        return nullptr;
    }
    const PlantMachine* machine = MachineOf(index);
    const auto row = static_cast<std::size_t>(index.row());
    return machine != nullptr && row < machine->points.size() ? &machine->points[row] : nullptr;
}

MachineTreeModel::NodeKey MachineTreeModel::KeyOf(const QModelIndex& index) const {
    const NodeKind kind = KindOf(index);
    switch (kind) {
    case NodeKind::Machine:
        return {kind, MachineOf(index)->machine.sItemGUID};
    case NodeKind::VibPoint:
    case NodeKind::LubePoint:
        return {kind, PointOf(index)->Guid()};
    default:
        return {kind, {}};
    }
}

QModelIndex MachineTreeModel::IndexOf(const NodeKey& key) const {
    switch (key.kind) {
    case NodeKind::Plant:
        return PlantIndex();
    case NodeKind::OffRoute:
        return HasOffRoute() ? createIndex(static_cast<int>(plant_.machines.size()), 0, kUnderPlant)
                             : QModelIndex();
    case NodeKind::Machine:
    case NodeKind::VibPoint:
    case NodeKind::LubePoint:
        for (std::size_t m = 0; m < plant_.machines.size(); ++m) {
            const PlantMachine& machine = plant_.machines[m];
            if (key.kind == NodeKind::Machine) {
                if (machine.machine.sItemGUID == key.guid) {
                    return createIndex(static_cast<int>(m), 0, kUnderPlant);
                }
                continue;
            }
            for (std::size_t p = 0; p < machine.points.size(); ++p) {
                if (machine.points[p].Guid() == key.guid) {
                    return createIndex(static_cast<int>(p), 0, kFirstMachine + m);
                }
            }
        }
        return {};
    case NodeKind::None:
        break;
    }
    return {};
}

QModelIndex MachineTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (row < 0 || column != 0 || row >= rowCount(parent)) {
        return {};
    }
    if (!parent.isValid()) {
        return PlantIndex();
    }
    if (parent.internalId() == kPlantItem) {
        return createIndex(row, 0, kUnderPlant);
    }
    return createIndex(row, 0, kFirstMachine + static_cast<quintptr>(parent.row()));
}

QModelIndex MachineTreeModel::parent(const QModelIndex& child) const {
    if (!child.isValid() || child.internalId() == kPlantItem) {
        return {};
    }
    if (child.internalId() == kUnderPlant) {
        return PlantIndex();
    }
    return createIndex(static_cast<int>(child.internalId() - kFirstMachine), 0, kUnderPlant);
}

int MachineTreeModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid()) {
        return 1;
    }
    if (parent.column() != 0) {
        return 0;
    }
    switch (KindOf(parent)) {
    case NodeKind::Plant:
        return static_cast<int>(plant_.machines.size()) + (HasOffRoute() ? 1 : 0);
    case NodeKind::Machine:
        return static_cast<int>(MachineOf(parent)->points.size());
    default:
        return 0;
    }
}

int MachineTreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

QVariant MachineTreeModel::data(const QModelIndex& index, int role) const {
    const NodeKind kind = KindOf(index);
    if (kind == NodeKind::None) {
        return {};
    }
    if (role == KindRole) {
        return static_cast<int>(kind);
    }
    if (role == GuidRole) {
        return KeyOf(index).guid;
    }
    if (role == Qt::FontRole) {
        QFont font;
        font.setBold(bold_);
        return font;
    }
    if (kind == NodeKind::OffRoute) {
        switch (role) {
        case Qt::DisplayRole:
            return QStringLiteral("%1 (%2)").arg(UiText(text::OffRoute)).arg(plant_.offRouteReadings);
        case Qt::ToolTipRole:
            return UiText(text::OffRouteReadingsTitle);
        case Qt::DecorationRole:
            return StatusIcon(TreeIconShape::OffRoute, StatusCode::NoReadings);
        default:
            return {};
        }
    }
    QString name;
    DatedStatus status;
    const PlantPoint* point = nullptr;
    // The diagnosis's mark beside the status: a point's own, a machine's or the plant's the most
    // severe under it.
    StatusCode mark = StatusCode::Ok;
    int newEvents = 0; // unacknowledged alarm events under the item
    TreeIconShape shape = TreeIconShape::Plant;
    if (kind == NodeKind::Plant) {
        name = UiText(text::window::Machines);
        status = plant_.status;
        mark = plant_.FindingsMark();
        newEvents = plant_.newEvents;
    } else if (kind == NodeKind::Machine) {
        const PlantMachine* machine = MachineOf(index);
        name = machine->machine.sName;
        status = machine->status;
        mark = machine->findingsMark;
        newEvents = machine->newEvents;
        shape = TreeIconShape::Machine;
    } else {
        point = PointOf(index);
        name = point->Name();
        status = point->status;
        mark = point->FindingsMark();
        newEvents = point->newEvents;
        shape = kind == NodeKind::VibPoint ? TreeIconShape::VibPoint : TreeIconShape::LubePoint;
    }
    switch (role) {
    case Qt::DisplayRole:
        return name;
    case Qt::ToolTipRole: {
        // The statistical, change and band alarms that stand, under the status they raised, then
        // the alarming findings of the newest reading.
        QStringList lines{name, StatusTip(status)};
        if (point != nullptr) {
            lines << PointStatusReasons(point->reasons, point->findings);
        }
        if (newEvents > 0) {
            lines << UiText(text::added::NewEventsCount).arg(newEvents);
        }
        if (point != nullptr && point->online) {
            lines << OnlineTip(*point->online);
        }
        return lines.join(QLatin1Char('\n'));
    }
    case Qt::DecorationRole:
        return MarkedStatusIcon(shape, status.code, mark, newEvents > 0, point != nullptr && point->online);
    case Qt::ForegroundRole:
        return StatusTextColour(status.code);
    case StatusRole:
        return static_cast<int>(status.code);
    case FindingsMarkRole:
        return static_cast<int>(mark);
    case NewEventsRole:
        return newEvents;
    default:
        return {};
    }
}

} // namespace vantor
