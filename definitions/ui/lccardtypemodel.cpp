#include "definitions/ui/lccardtypemodel.h"

#include "definitions/lcdatastore.h"
#include "model/lcnumbertext.h"

namespace
{
constexpr int kColumnCount = 3;
// row r shows the type with id r + 1
constexpr int kFirstId = 1;
} // namespace

LCCardTypeModel::LCCardTypeModel(QObject *parent)
    : LCTableModel(parent)
{
}

void LCCardTypeModel::save()
{
    LCDataStore::instance()->setCardTypes(m_types);
    LCTableModel::save();
}

int LCCardTypeModel::getRowCount() const
{
    return m_types.size();
}

int LCCardTypeModel::getColumnCount() const
{
    return kColumnCount;
}

bool LCCardTypeModel::isCellEditable(int row, int) const
{
    return row >= LCDataStore::instance()->defaultCardTypes().size();
}

QVariant LCCardTypeModel::horizontalHeaderText(int section) const
{
    switch (Column(section)) {
    case Column::Name:
        return tr("Card Type");
    case Column::Current:
        return tr("Standby Current(mA)");
    case Column::ActiveCurrent:
        return tr("Active Current(mA)");
    }
    return {};
}

QVariant LCCardTypeModel::verticalHeaderText(int section) const
{
    return QString::number(section + 1);
}

QVariant LCCardTypeModel::cellText(int row, int col) const
{
    // Numbers are shown as the project file writes them, six significant digits, so that an
    // editor starts from that text and not from the float's binary expansion.
    const CardType type = record(row + kFirstId);
    switch (Column(col)) {
    case Column::Name:
        return type.Name;
    case Column::Current:
        return LCNumberText::general(type.Current);
    case Column::ActiveCurrent:
        return LCNumberText::general(type.ActiveCurrent);
    }
    return {};
}

bool LCCardTypeModel::setCellData(int row, int col, const QVariant &value)
{
    const int id = row + kFirstId;
    CardType type = record(id);
    type.CardID = id;
    switch (Column(col)) {
    case Column::Name:
        type.Name = value.toString();
        break;
    case Column::Current:
        type.Current = LCNumberText::parseFloat(value.toString());
        break;
    case Column::ActiveCurrent:
        type.ActiveCurrent = LCNumberText::parseFloat(value.toString());
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

bool LCCardTypeModel::hasSource() const
{
    return !m_types.isEmpty();
}

void LCCardTypeModel::reload()
{
    beginResetModel();
    m_types = LCDataStore::instance()->cardTypes();
    endResetModel();
}

void LCCardTypeModel::addRow()
{
    // ids that are not consecutive move rows around, so every row is read again
    beginResetModel();
    CardType type;
    type.Name = tr("UNDEFINED");
    type.CardID = m_types.size() + kFirstId;
    m_types.insert(type.CardID, type);
    endResetModel();
    setModified(true);
}

void LCCardTypeModel::removeRow(const QModelIndexList &selected)
{
    if (selected.isEmpty()) {
        return;
    }
    const int removedId = selected.first().row() + kFirstId;
    beginResetModel();
    if (!LCDataStore::instance()->defaultCardTypes().contains(removedId)) {
        QMap<int, CardType> kept;
        for (auto it = m_types.constBegin(); it != m_types.constEnd(); ++it) {
            if (it.key() == removedId) {
                continue;
            }
            // the later types close the gap, so the rows keep matching the ids
            CardType type = it.value();
            type.CardID = it.key() > removedId ? it.key() - 1 : it.key();
            kept.insert(type.CardID, type);
        }
        m_types = kept;
    }
    endResetModel();
    // even a refused delete counts as an edit, so closing still asks
    setModified(true);
}

CardType LCCardTypeModel::record(int id) const
{
    return m_types.value(id);
}
