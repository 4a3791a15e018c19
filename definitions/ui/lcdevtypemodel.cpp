#include "definitions/ui/lcdevtypemodel.h"

#include "definitions/lcdatastore.h"
#include "model/lcnumbertext.h"

#include <iterator>

namespace
{
constexpr int kColumnCount = 4;
} // namespace

LCDevTypeModel::LCDevTypeModel(QObject *parent)
    : LCTableModel(parent)
{
}

void LCDevTypeModel::save()
{
    LCDataStore::instance()->setDeviceTypes(m_types);
    LCTableModel::save();
}

int LCDevTypeModel::getRowCount() const
{
    return m_types.size();
}

int LCDevTypeModel::getColumnCount() const
{
    return kColumnCount;
}

bool LCDevTypeModel::isCellEditable(int row, int) const
{
    // the factory types come first, by their low ids
    return row >= LCDataStore::instance()->defaultDeviceTypes().size();
}

QVariant LCDevTypeModel::horizontalHeaderText(int section) const
{
    switch (Column(section)) {
    case Column::Name:
        return tr("Device Type");
    case Column::Volt:
        return tr("Operating Voltage(v)");
    case Column::Current:
        return tr("Standby Current(mA)");
    case Column::ActiveCurrent:
        return tr("Active Current(mA)");
    }
    return {};
}

QVariant LCDevTypeModel::verticalHeaderText(int section) const
{
    return QString::number(section + 1);
}

QVariant LCDevTypeModel::cellText(int row, int col) const
{
    // Numbers are shown as the project file writes them, six significant digits, so that an
    // editor starts from that text and not from the float's binary expansion.
    const auto it = rowIterator(row);
    if (it == m_types.constEnd()) {
        return {};
    }
    switch (Column(col)) {
    case Column::Name:
        return it->Name;
    case Column::Volt:
        return it->Volt;
    case Column::Current:
        return LCNumberText::general(it->Current);
    case Column::ActiveCurrent:
        return LCNumberText::general(it->ActiveCurrent);
    }
    return {};
}

bool LCDevTypeModel::setCellData(int row, int col, const QVariant &value)
{
    const auto it = rowIterator(row);
    if (it == m_types.constEnd()) {
        return false;
    }
    DeviceType type = *it;
    switch (Column(col)) {
    case Column::Name:
        type.Name = value.toString();
        break;
    case Column::Volt:
        type.Volt = LCNumberText::parseInt(value.toString());
        break;
    case Column::Current:
        type.Current = LCNumberText::parseFloat(value.toString());
        break;
    case Column::ActiveCurrent:
        type.ActiveCurrent = LCNumberText::parseFloat(value.toString());
        break;
    }
    m_types.insert(type.DevID, type);
    return true;
}

bool LCDevTypeModel::hasSource() const
{
    return !m_types.isEmpty();
}

void LCDevTypeModel::reload()
{
    beginResetModel();
    m_types = LCDataStore::instance()->deviceTypes();
    endResetModel();
}

void LCDevTypeModel::addRow()
{
    DeviceType type;
    type.Name = tr("UNDEFINED");
    // ids that were deleted are not given again; an empty table starts at 1
    type.DevID = m_types.isEmpty() ? 1 : m_types.lastKey() + 1;
    // the new id is the highest, so the row is the last one
    const int row = m_types.size();
    beginInsertRows(QModelIndex(), row, row);
    m_types.insert(type.DevID, type);
    endInsertRows();
    setModified(true);
}

void LCDevTypeModel::removeRow(const QModelIndexList &selected)
{
    if (selected.isEmpty()) {
        return;
    }
    const int row = selected.first().row();
    const auto it = rowIterator(row);
    if (row >= LCDataStore::instance()->defaultDeviceTypes().size() && it != m_types.constEnd()) {
        // a copy: remove() would read the key from the node it frees
        const int id = it.key();
        beginRemoveRows(QModelIndex(), row, row);
        m_types.remove(id);
        endRemoveRows();
    }
    // even a refused delete counts as an edit, so closing still asks
    setModified(true);
}

DeviceType LCDevTypeModel::record(int row) const
{
    const auto it = rowIterator(row);
    return it == m_types.constEnd() ? DeviceType() : *it;
}

QMap<int, DeviceType>::const_iterator LCDevTypeModel::rowIterator(int row) const
{
    if (row < 0 || row >= m_types.size()) {
        return m_types.constEnd();
    }
    return std::next(m_types.constBegin(), row);
}
