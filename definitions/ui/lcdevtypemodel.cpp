#include "definitions/ui/lcdevtypemodel.h"

#include "definitions/lcdatastore.h"
#include "definitions/lctypeusage.h"
#include "model/lcnumbertext.h"

namespace
{
constexpr int kColumnCount = 4;
} // namespace

LCDevTypeModel::LCDevTypeModel(QObject *parent)
    : LCDefinitionTable(&DeviceType::DevID, parent)
{
}

int LCDevTypeModel::getColumnCount() const
{
    return kColumnCount;
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

void LCDevTypeModel::addRow()
{
    addRecord(tr("UNDEFINED"));
}

QMap<int, DeviceType> LCDevTypeModel::libraryRecords() const
{
    return LCDataStore::instance()->deviceTypes();
}

QMap<int, DeviceType> LCDevTypeModel::factoryRecords() const
{
    return LCDataStore::instance()->defaultDeviceTypes();
}

void LCDevTypeModel::storeRecords(const QMap<int, DeviceType> &types) const
{
    LCDataStore::instance()->setDeviceTypes(types);
}

QVariant LCDevTypeModel::columnText(const DeviceType &type, int col) const
{
    // Numbers are shown as the project file writes them, six significant digits, so that an
    // editor starts from that text and not from the float's binary expansion.
    switch (Column(col)) {
    case Column::Name:
        return type.Name;
    case Column::Volt:
        return type.Volt;
    case Column::Current:
        return LCNumberText::general(type.Current);
    case Column::ActiveCurrent:
        return LCNumberText::general(type.ActiveCurrent);
    }
    return {};
}

void LCDevTypeModel::parseColumn(DeviceType &type, int col, const QVariant &value) const
{
    switch (Column(col)) {
    case Column::Name:
        type.Name = value.toString();
        break;
    case Column::Volt:
        type.Volt = LCNumberText::parseInt(value.toString());
        break;
    case Column::Current:
        type.Current = parseNumber(value.toString());
        break;
    case Column::ActiveCurrent:
        type.ActiveCurrent = parseNumber(value.toString());
        break;
    }
}

int LCDevTypeModel::highestIdInUse() const
{
    return LCTypeUsage(LCDataStore::instance()->project()).highestDeviceTypeId();
}
