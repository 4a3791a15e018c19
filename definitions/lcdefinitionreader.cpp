#include "definitions/lcdefinitionreader.h"

#include "definitions/lcxmlnames.h"
#include "model/lcnumbertext.h"

QList<int> LCDefinitionReader::parseSubTypeList(const QString &text)
{
    QList<int> ids;
    const QStringList parts = text.split(QLatin1Char(' '), Qt::KeepEmptyParts);
    for (const QString &part : parts) {
        ids.append(LCNumberText::parseInt(part));
    }
    return ids;
}

QMap<int, DeviceType> LCDefinitionReader::readDeviceTypes(const QVector<LCXmlElement> &elements)
{
    QMap<int, DeviceType> types;
    for (const LCXmlElement &element : elements) {
        if (element.tag != LCXml::DeviceType) {
            continue;
        }
        DeviceType type;
        type.DevID = element.integer(LCXml::DevID);
        type.IcoID = element.integer(LCXml::IcoID);
        type.Volt = element.integer(LCXml::Volt);
        type.Name = element.text(LCXml::Name);
        type.ActiveCurrent = element.number(LCXml::ActiveCurrent);
        type.Capacitance = element.number(LCXml::Capacitance);
        type.Current = element.number(LCXml::Current);
        type.SubType = parseSubTypeList(element.text(LCXml::SubType));
        types.insert(type.DevID, type);
    }
    return types;
}

QMap<int, WireType> LCDefinitionReader::readWireTypes(const QVector<LCXmlElement> &elements)
{
    QMap<int, WireType> types;
    for (const LCXmlElement &element : elements) {
        if (element.tag != LCXml::WireType) {
            continue;
        }
        WireType type;
        type.WireID = element.integer(LCXml::WireID);
        type.Name = element.text(LCXml::Name);
        type.Capacity = element.number(LCXml::Capacity);
        type.Resistance = element.number(LCXml::Resistance);
        type.Note = element.text(LCXml::Note);
        types.insert(type.WireID, type);
    }
    return types;
}

QMap<int, CardType> LCDefinitionReader::readCardTypes(const QVector<LCXmlElement> &elements)
{
    QMap<int, CardType> types;
    for (const LCXmlElement &element : elements) {
        if (element.tag != LCXml::CardType) {
            continue;
        }
        CardType type;
        type.CardID = element.integer(LCXml::CardID);
        type.Name = element.text(LCXml::Name);
        type.Current = element.number(LCXml::Current);
        type.ActiveCurrent = element.number(LCXml::ActiveCurrent);
        types.insert(type.CardID, type);
    }
    return types;
}

QMap<int, DevSubType> LCDefinitionReader::readSubTypes(const QVector<LCXmlElement> &elements)
{
    QMap<int, DevSubType> types;
    for (const LCXmlElement &element : elements) {
        if (element.tag != LCXml::DevSubType
            || element.text(LCXml::SubTypeName) == LCXml::UserDefinedSubType) {
            continue;
        }
        DevSubType type;
        type.id = element.integer(LCXml::SubTypeId);
        type.picture = element.text(LCXml::SubTypePicture, DevSubType::defaultPicture());
        type.name = element.text(LCXml::SubTypeName, DevSubType::defaultName());
        types.insert(type.id, type);
    }
    return types;
}

QList<BatteryType> LCDefinitionReader::readBatteryTypes(const QVector<LCXmlElement> &elements)
{
    QList<BatteryType> batteries;
    for (const LCXmlElement &element : elements) {
        if (element.tag != LCXml::BatteryType) {
            continue;
        }
        BatteryType battery;
        battery.Name = element.text(LCXml::Name, battery.Name);
        battery.Capacity = element.number(LCXml::Capacity);
        battery.Note = element.text(LCXml::Note);
        batteries.append(battery);
    }
    return batteries;
}
