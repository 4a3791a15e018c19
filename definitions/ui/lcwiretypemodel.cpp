#include "definitions/ui/lcwiretypemodel.h"

#include "definitions/lcdatastore.h"
#include "definitions/lctypeusage.h"
#include "model/lcnumbertext.h"

namespace
{
constexpr int kColumnCount = 4;
} // namespace

LCWireTypeModel::LCWireTypeModel(QObject *parent)
    : LCDefinitionTable(&WireType::WireID, parent)
{
}

int LCWireTypeModel::getColumnCount() const
{
    return kColumnCount;
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

void LCWireTypeModel::addRow()
{
    addRecord(tr("UNDEFINED"));
}

QMap<int, WireType> LCWireTypeModel::libraryRecords() const
{
    return LCDataStore::instance()->wireTypes();
}

QMap<int, WireType> LCWireTypeModel::factoryRecords() const
{
    return LCDataStore::instance()->defaultWireTypes();
}

void LCWireTypeModel::storeRecords(const QMap<int, WireType> &types) const
{
    LCDataStore::instance()->setWireTypes(types);
}

QVariant LCWireTypeModel::columnText(const WireType &type, int col) const
{
    // Numbers are shown as the project file writes them, six significant digits, so that an
    // editor starts from that text and not from the float's binary expansion.
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

void LCWireTypeModel::parseColumn(WireType &type, int col, const QVariant &value) const
{
    switch (Column(col)) {
    case Column::Name:
        type.Name = value.toString();
        break;
    case Column::Resistance:
        type.Resistance = parseNumber(value.toString());
        break;
    case Column::Capacity:
        type.Capacity = parseNumber(value.toString());
        break;
    case Column::Note:
        type.Note = value.toString();
        break;
    }
}

int LCWireTypeModel::highestIdInUse() const
{
    return LCTypeUsage(LCDataStore::instance()->project()).highestCableTypeId();
}
