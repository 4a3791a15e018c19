#include "grids/lcdevicemodel.h"

#include "definitions/lcdatastore.h"
#include "grids/lcicons.h"
#include "grids/lcwholemetre.h"
#include "model/lcloop.h"

#include <QColor>
#include <QIcon>

#include <cmath>
#include <optional>

namespace
{
// a device that failed the last calculation
constexpr Qt::GlobalColor kFailedBackground = Qt::yellow;
constexpr Qt::GlobalColor kFailedText = Qt::black;
// a device on a branch
constexpr Qt::GlobalColor kBranchBackground = Qt::blue;
constexpr Qt::GlobalColor kBranchText = Qt::yellow;

// The grid shows whole metres; halves go away from zero.
long roundedMetre(float metre)
{
    return std::lround(metre);
}

bool isFlagged(const LCObject &device)
{
    return device.property(PropertyId::CheckMark).toInt() == CheckMarkValue::Flagged;
}

bool isOnBranch(const LCObject &device)
{
    return device.property(PropertyId::truck).toInt() != 0;
}

QVariant iconOrNothing(const QIcon &icon)
{
    return icon.isNull() ? QVariant() : QVariant(icon);
}

// The id of the first definition (lowest id) named exactly by value; none when value is not a
// text or no definition has that name.
template <typename Map, typename NameOf>
std::optional<int> idNamed(const Map &map, const QVariant &value, NameOf nameOf)
{
    if (value.userType() != QMetaType::QString) {
        return std::nullopt;
    }
    const QString name = value.toString();
    for (auto it = map.constBegin(); it != map.constEnd(); ++it) {
        if (nameOf(it.value()) == name) {
            return it.key();
        }
    }
    return std::nullopt;
}
} // namespace

LCDeviceModel::LCDeviceModel(QObject *parent)
    : LCTableModel(parent)
{
}

void LCDeviceModel::setLoop(LCObject *loop)
{
    beginResetModel();
    m_loop = loop && loop->kind() == ObjectKind::Loop ? static_cast<LCLoop *>(loop) : nullptr;
    if (m_loop) {
        // the sub type column needs a key to show; stored silently, so the results stay
        m_loop->fillMissingSubTypes();
    }
    endResetModel();
}

int LCDeviceModel::getRowCount() const
{
    return m_loop ? m_loop->childCount() : 0;
}

int LCDeviceModel::getColumnCount() const
{
    return kColumnCount;
}

bool LCDeviceModel::isCellEditable(int, int col) const
{
    return col >= int(Column::CableLength) && col <= int(Column::CableType);
}

QVariant LCDeviceModel::horizontalHeaderText(int section) const
{
    switch (Column(section)) {
    case Column::Topology:
        return tr("Loop Topology");
    case Column::CableLength:
        return tr("Cable from Previous Device (m)");
    case Column::DeviceType:
        return tr("Device Type");
    case Column::SubType:
        return tr("Sub Type");
    case Column::CableType:
        return tr("Cable Type");
    }
    return {};
}

QVariant LCDeviceModel::verticalHeaderText(int section) const
{
    // a device's location is counted from 1
    return QString::number(section + 1);
}

QVariant LCDeviceModel::cellText(int row, int col) const
{
    const LCObject *const item = device(row);
    if (!item) {
        return {};
    }
    const LCDataStore *const store = LCDataStore::instance();
    switch (Column(col)) {
    case Column::Topology:
        return topologyText(row);
    case Column::CableLength:
        return QString::number(roundedMetre(item->property(PropertyId::pos).toFloat()));
    case Column::DeviceType: {
        const int id = item->property(PropertyId::deviceTypeid).toInt();
        const QMap<int, DeviceType> types = store->deviceTypes();
        // a file may name types this library does not have: say which, rather than nothing
        return types.contains(id) ? types.value(id).Name : unknownTypeText(id);
    }
    case Column::SubType:
        // an unknown key gives the empty record, which is named "UNDEFINE"
        return store->subTypes().value(item->property(PropertyId::SubType).toInt()).name;
    case Column::CableType: {
        const int id = item->property(PropertyId::CableType).toInt();
        const QMap<int, WireType> types = store->wireTypes();
        return types.contains(id) ? types.value(id).Name : unknownTypeText(id);
    }
    }
    return {};
}

QVariant LCDeviceModel::cellBackground(int row, int) const
{
    const LCObject *const item = device(row);
    if (!item) {
        return {};
    }
    if (isFlagged(*item)) {
        return QColor(kFailedBackground);
    }
    if (isOnBranch(*item)) {
        return QColor(kBranchBackground);
    }
    return {};
}

QVariant LCDeviceModel::cellForeground(int row, int) const
{
    const LCObject *const item = device(row);
    if (!item) {
        return {};
    }
    if (isFlagged(*item)) {
        return QColor(kFailedText);
    }
    if (isOnBranch(*item)) {
        return QColor(kBranchText);
    }
    return {};
}

QVariant LCDeviceModel::cellIcon(int row, int col) const
{
    const LCObject *const item = device(row);
    if (!item) {
        return {};
    }
    switch (Column(col)) {
    case Column::DeviceType: {
        // an unknown key gives the empty record, whose icon number is 0
        const int typeId = item->property(PropertyId::deviceTypeid).toInt();
        return iconOrNothing(
            LCIcons::deviceIcon(LCDataStore::instance()->deviceTypes().value(typeId).IcoID));
    }
    case Column::SubType: {
        // an unknown key gives the empty record, whose picture is the fallback "00"
        const int subTypeId = item->property(PropertyId::SubType).toInt();
        return iconOrNothing(
            LCIcons::subTypeIcon(LCDataStore::instance()->subTypes().value(subTypeId).picture));
    }
    case Column::Topology:
    case Column::CableLength:
    case Column::CableType:
        break;
    }
    return {};
}

bool LCDeviceModel::setCellData(int row, int col, const QVariant &value)
{
    LCObject *const item = device(row);
    if (!item) {
        return false;
    }
    // A value that does not fit the column (a name in a length, a length in a name, a name the
    // library does not have) leaves the cell as it was: one edit may span several columns.
    const LCDataStore *const store = LCDataStore::instance();
    const auto nameOfDevice = [](const DeviceType &type) { return type.Name; };
    const auto nameOfCable = [](const WireType &type) { return type.Name; };
    switch (Column(col)) {
    case Column::CableLength: {
        const std::optional<int> metre = LCWholeMetre::parse(value);
        if (!metre) {
            return false;
        }
        // the grid shows whole metres; confirming the shown length keeps the exact one
        if (*metre == roundedMetre(item->property(PropertyId::pos).toFloat())) {
            return true;
        }
        writeProperty(*item, PropertyId::pos, float(*metre));
        break;
    }
    case Column::DeviceType: {
        const std::optional<int> id = idNamed(store->deviceTypes(), value, nameOfDevice);
        if (!id) {
            return false;
        }
        writeProperty(*item, PropertyId::deviceTypeid, *id);
        // the device took the default sub type of its new type
        const QModelIndex subType = index(row, int(Column::SubType));
        cellsChanged(subType, subType);
        break;
    }
    case Column::SubType: {
        const std::optional<int> id = subTypeOfDevice(*item, value);
        if (!id) {
            return false;
        }
        writeProperty(*item, PropertyId::SubType, *id);
        break;
    }
    case Column::CableType: {
        const std::optional<int> id = idNamed(store->wireTypes(), value, nameOfCable);
        if (!id) {
            return false;
        }
        writeProperty(*item, PropertyId::CableType, *id);
        break;
    }
    case Column::Topology:
        return false;
    }
    // the device lost its check mark: the colour of its whole row goes with it
    static const QVector<int> colourRoles = {Qt::BackgroundRole, Qt::ForegroundRole};
    cellsChanged(index(row, 0), index(row, int(Column::CableType)), colourRoles);
    return true;
}

bool LCDeviceModel::hasSource() const
{
    return m_loop != nullptr;
}

QString LCDeviceModel::unknownTypeText(int id)
{
    return tr("Unknown type %1").arg(id);
}

std::optional<int> LCDeviceModel::subTypeOfDevice(const LCObject &item, const QVariant &value)
{
    // only a sub type the device's own type offers
    const LCDataStore *const store = LCDataStore::instance();
    const QMap<int, DevSubType> subTypes = store->subTypes();
    const QList<int> offered =
        store->deviceTypes().value(item.property(PropertyId::deviceTypeid).toInt()).SubType;
    const QString name = value.userType() == QMetaType::QString ? value.toString() : QString();
    for (const int id : offered) {
        if (subTypes.value(id).name == name && subTypes.contains(id)) {
            return id;
        }
    }
    return std::nullopt;
}

LCObject *LCDeviceModel::device(int row) const
{
    return m_loop ? m_loop->child(row) : nullptr;
}

QString LCDeviceModel::topologyText(int row) const
{
    const LCObject *const item = device(row);
    if (!isOnBranch(*item)) {
        return tr("Trunk");
    }
    // branches are numbered from 1 in the order they begin along the loop
    QString text = tr("Node") + QString::number(m_loop->branchNumber(row) + 1);
    if (item->property(PropertyId::Relay).toBool()) {
        text += tr("(Relay)");
    }
    return text;
}
