#include "definitions/ui/lccardtypemodel.h"

#include "definitions/lcdatastore.h"
#include "model/lcnumbertext.h"

namespace
{
constexpr int kColumnCount = 3;
} // namespace

LCCardTypeModel::LCCardTypeModel(QObject *parent)
    : LCDefinitionTable(&CardType::CardID, parent)
{
}

int LCCardTypeModel::getColumnCount() const
{
    return kColumnCount;
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

void LCCardTypeModel::addRow()
{
    addRecord(tr("UNDEFINED"));
}

QMap<int, CardType> LCCardTypeModel::libraryRecords() const
{
    return LCDataStore::instance()->cardTypes();
}

QMap<int, CardType> LCCardTypeModel::factoryRecords() const
{
    return LCDataStore::instance()->defaultCardTypes();
}

void LCCardTypeModel::storeRecords(const QMap<int, CardType> &types) const
{
    LCDataStore::instance()->setCardTypes(types);
}

QVariant LCCardTypeModel::columnText(const CardType &type, int col) const
{
    // Numbers are shown as the project file writes them, six significant digits, so that an
    // editor starts from that text and not from the float's binary expansion.
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

void LCCardTypeModel::parseColumn(CardType &type, int col, const QVariant &value) const
{
    switch (Column(col)) {
    case Column::Name:
        type.Name = value.toString();
        break;
    case Column::Current:
        type.Current = parseNumber(value.toString());
        break;
    case Column::ActiveCurrent:
        type.ActiveCurrent = parseNumber(value.toString());
        break;
    }
}
