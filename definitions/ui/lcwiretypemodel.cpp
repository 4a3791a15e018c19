#include "definitions/ui/lcwiretypemodel.h"

#include "definitions/lcdatastore.h"
#include "model/lcnumbertext.h"

namespace
{
constexpr int kColumnCount = 4;
// row r shows the type with id r + 1
constexpr int kFirstId = 1;
} // namespace

LCWireTypeModel::LCWireTypeModel(QObject *parent)
    : LCTableModel(parent)
{
}

void LCWireTypeModel::save()
{
    LCDataStore::instance()->setWireTypes(m_types);
    LCTableModel::save();
}

int LCWireTypeModel::getRowCount() const
{
    return m_types.size();
}

int LCWireTypeModel::getColumnCount() const
{
    return kColumnCount;
}

bool LCWireTypeModel::isCellEditable(int row, int) const
{
    return row >= LCDataStore::instance()->defaultWireTypes().size();
}

QVariant LCWireTypeModel::horizontalHeaderText(int section) const
{
    switch (Column(section)) {
    case Column::Name:
        return tr("Cable Type");
    case Column::Resistance:
        return tr("Resistance per km(Ω)");
    case Column::Capacity:
        return tr("Capacity per km(pF)");
    case Column::Note:
        return tr("Description");
    }
    return {};
}

QVariant LCWireTypeModel::verticalHeaderText(int section) const
{
    return QString::number(section + 1);
}

QVariant LCWireTypeModel::cellText(int row, int col) const
{
    // Numbers are shown as the project file writes them, six significant digits, so that an
    // editor starts from that text and not from the float's binary expansion.
    const WireType type = record(row + kFirstId);
    switch (Column(col)) {
    case Column::Name:
        return type.Name;
    case Column::Resistance:
        return LCNumberText::general(type.Resistance);
    case Column::Capacity:
        return LCNumberText::general(type.Capacity);
    case Column::Note:
        return type.Note;
    }
    return {};
}

bool LCWireTypeModel::setCellData(int row, int col, const QVariant &value)
{
    const int id = row + kFirstId;
    WireType type = record(id);
    type.WireID = id;
    switch (Column(col)) {
    case Column::Name:
        type.Name = value.toString();
        break;
    case Column::Resistance:
        type.Resistance = LCNumberText::parseFloat(value.toString());
        break;
    case Column::Capacity:
        type.Capacity = LCNumberText::parseFloat(value.toString());
        break;
    case Column::Note:
        type.Note = value.toString();
        break;
    }
    // A row standing for a missing id gets its record, and the row of the next id comes into
    // view: only a file with gaps in its ids does that, so every row is read again.
    const bool adds = !m_types.contains(id);
    if (adds) {
        beginResetModel();
    }
    m_types.insert(id, type);
    if (adds) {
        endResetModel();
    }
    return true;
}

bool LCWireTypeModel::hasSource() const
{
    return !m_types.isEmpty();
}

void LCWireTypeModel::reload()
{
    beginResetModel();
    m_types = LCDataStore::instance()->wireTypes();
    endResetModel();
}

void LCWireTypeModel::addRow()
{
    // ids that are not consecutive move rows around, so every row is read again
    beginResetModel();
    WireType type;
    type.Name = tr("UNDEFINED");
    type.WireID = m_types.size() + kFirstId;
    m_types.insert(type.WireID, type);
    endResetModel();
    setModified(true);
}

void LCWireTypeModel::removeRow(const QModelIndexList &selected)
{
    if (selected.isEmpty()) {
        return;
    }
    const int removedId = selected.first().row() + kFirstId;
    beginResetModel();
    if (!LCDataStore::instance()->defaultWireTypes().contains(removedId)) {
        QMap<int, WireType> kept;
        for (auto it = m_types.constBegin(); it != m_types.constEnd(); ++it) {
            if (it.key() == removedId) {
                continue;
            }
            // the later types close the gap, so the rows keep matching the ids
            WireType type = it.value();
            type.WireID = it.key() > removedId ? it.key() - 1 : it.key();
            kept.insert(type.WireID, type);
        }
        m_types = kept;
    }
    endResetModel();
    // even a refused delete counts as an edit, so closing still asks
    setModified(true);
}

WireType LCWireTypeModel::record(int id) const
{
    return m_types.value(id);
}
