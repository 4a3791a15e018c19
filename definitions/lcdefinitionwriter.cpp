#include "definitions/lcdefinitionwriter.h"

#include "definitions/lcxmlnames.h"
#include "definitions/lcxmlwriter.h"

#include <QStringList>

namespace
{
QString subTypeText(const QList<int> &ids)
{
    QStringList parts;
    for (const int id : ids) {
        parts.append(QString::number(id));
    }
    return parts.join(QLatin1Char(' '));
}
} // namespace

void LCDefinitionWriter::writeDeviceTypes(LCXmlWriter &writer, const QMap<int, DeviceType> &types)
{
    for (const DeviceType &type : types) {
        writer.startElement(LCXml::DeviceType);
        writer.textAttribute(LCXml::Name, type.Name);
        writer.integerAttribute(LCXml::Volt, type.Volt);
        writer.numberAttribute(LCXml::Current, type.Current);
        writer.numberAttribute(LCXml::ActiveCurrent, type.ActiveCurrent);
        writer.numberAttribute(LCXml::Capacitance, type.Capacitance);
        writer.integerAttribute(LCXml::IcoID, type.IcoID);
        writer.integerAttribute(LCXml::DevID, type.DevID);
        writer.textAttribute(LCXml::SubType, subTypeText(type.SubType));
        writer.endElement();
    }
}

void LCDefinitionWriter::writeWireTypes(LCXmlWriter &writer, const QMap<int, WireType> &types)
{
    for (const WireType &type : types) {
        writer.startElement(LCXml::WireType);
        writer.textAttribute(LCXml::Name, type.Name);
        writer.numberAttribute(LCXml::Capacity, type.Capacity);
        writer.numberAttribute(LCXml::Resistance, type.Resistance);
        writer.integerAttribute(LCXml::WireID, type.WireID);
        writer.textAttribute(LCXml::Note, type.Note);
        writer.endElement();
    }
}

void LCDefinitionWriter::writeCardTypes(LCXmlWriter &writer, const QMap<int, CardType> &types)
{
    for (const CardType &type : types) {
        writer.startElement(LCXml::CardType);
        writer.textAttribute(LCXml::Name, type.Name);
        writer.numberAttribute(LCXml::Current, type.Current);
        writer.numberAttribute(LCXml::ActiveCurrent, type.ActiveCurrent);
        writer.integerAttribute(LCXml::CardID, type.CardID);
        writer.endElement();
    }
}
