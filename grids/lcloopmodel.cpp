#include "grids/lcloopmodel.h"

#include "grids/lcwholemetre.h"
#include "model/lccontroller.h"
#include "model/lcdevice.h"
#include "model/lcloop.h"

#include <QVariantList>

#include <cmath>

namespace
{
// The first cable length and the total are shown truncated to whole metres.
long truncatedMetre(float metre)
{
    return long(metre);
}

// The return cable is shown rounded, halves away from zero.
long roundedMetre(float metre)
{
    return std::lround(metre);
}

} // namespace

LCLoopModel::LCLoopModel(QObject *parent)
    : LCTableModel(parent)
{
}

void LCLoopModel::setController(LCObject *panel)
{
    beginResetModel();
    if (panel && panel->kind() == ObjectKind::Plain && panel->parent()) {
        // the tree's "Loops" item of a panel
        panel = panel->parent();
    }
    m_panel = panel && panel->kind() == ObjectKind::Controller ? static_cast<LCController *>(panel)
                                                               : nullptr;
    endResetModel();
}

int LCLoopModel::getRowCount() const
{
    return m_panel ? m_panel->childCount() : 0;
}

int LCLoopModel::getColumnCount() const
{
    return kColumnCount;
}

bool LCLoopModel::isCellEditable(int row, int col) const
{
    const LCLoop *const item = loop(row);
    return item && !item->isEmpty()
        && (col == int(Column::FirstCableLength) || col == int(Column::LastCableLength));
}

QVariant LCLoopModel::horizontalHeaderText(int section) const
{
    switch (Column(section)) {
    case Column::Loop:
        return tr("Loop");
    case Column::DeviceCount:
        return tr("Device QTY");
    case Column::FirstCableLength:
        return tr("1st Cable Length(m)");
    case Column::LastCableLength:
        return tr("Last Cable Length(m)");
    case Column::TotalCableLength:
        return tr("Total Cable Length(m)");
    }
    return {};
}

QVariant LCLoopModel::verticalHeaderText(int section) const
{
    return QString::number(section + 1);
}

QVariant LCLoopModel::cellText(int row, int col) const
{
    const LCLoop *const item = loop(row);
    if (!item) {
        return {};
    }
    switch (Column(col)) {
    case Column::Loop:
        return tr("Loop") + QString::number(item->property(PropertyId::Loopid).toInt());
    case Column::DeviceCount:
        return QString::number(item->childCount());
    case Column::FirstCableLength:
        return QString::number(truncatedMetre(item->firstCableLength()));
    case Column::LastCableLength:
        return QString::number(roundedMetre(item->property(PropertyId::LastDis).toFloat()));
    case Column::TotalCableLength:
        return QString::number(truncatedMetre(item->totalCableLength()));
    }
    return {};
}

bool LCLoopModel::setCellData(int row, int col, const QVariant &value)
{
    LCLoop *const item = loop(row);
    if (!item || !isCellEditable(row, col)) {
        return false;
    }
    const std::optional<int> metre = LCWholeMetre::parse(value);
    if (!metre) {
        return false;
    }
    if (col == int(Column::FirstCableLength)) {
        LCObject *const first = item->child(0);
        // confirming the shown (cut) length keeps the exact one, as does its rounded value
        const float exact = first->property(PropertyId::pos).toFloat();
        if (*metre == truncatedMetre(exact) || *metre == roundedMetre(exact)) {
            return true;
        }
        // the device's hooks make the loop's results stale
        writeProperty(*first, PropertyId::pos, float(*metre));
    } else {
        if (*metre == roundedMetre(item->property(PropertyId::LastDis).toFloat())) {
            return true;
        }
        // the loop's own hook makes its verdict stale, as a device's does
        writeProperty(*item, PropertyId::LastDis, float(*metre));
    }
    const QModelIndex total = index(row, int(Column::TotalCableLength));
    cellsChanged(total, total);
    return true;
}

bool LCLoopModel::hasSource() const
{
    return m_panel != nullptr;
}

LCLoop *LCLoopModel::loop(int row) const
{
    return m_panel ? m_panel->loop(row) : nullptr;
}
