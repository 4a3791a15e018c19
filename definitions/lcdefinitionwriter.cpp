#include "definitions/lcdefinitionwriter.h"

#include "definitions/lcxmlnames.h"
#include "definitions/lcxmltext.h"
#include "model/lcnumbertext.h"

#include <QStringList>
#include <QXmlStreamWriter>

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

void LCDefinitionWriter::writeDeviceTypes(
    QXmlStreamWriter &writer, const QMap<int, DeviceType> &types)
{
    for (const DeviceType &type : types) {
        writer.writeEmptyElement(LCXml::DeviceType);
        writer.writeAttribute(LCXml::Name, LCXmlText::writable(type.Name));
        writer.writeAttribute(LCXml::Volt, QString::number(type.Volt));
        writer.writeAttribute(LCXml::Current, LCNumberText::general(type.Current));
        writer.writeAttribute(LCXml::ActiveCurrent, LCNumberText::general(type.ActiveCurrent));
        writer.writeAttribute(LCXml::Capacitance, LCNumberText::general(type.Capacitance));
        writer.writeAttribute(LCXml::IcoID, QString::number(type.IcoID));
        writer.writeAttribute(LCXml::DevID, QString::number(type.DevID));
        writer.writeAttribute(LCXml::SubType, subTypeText(type.SubType));
    }
}

void LCDefinitionWriter::writeWireTypes(QXmlStreamWriter &writer, const QMap<int, WireType> &types)
{
    for (const WireType &type : types) {
        writer.writeEmptyElement(LCXml::WireType);
        writer.writeAttribute(LCXml::Name, LCXmlText::writable(type.Name));
        writer.writeAttribute(LCXml::Capacity, LCNumberText::general(type.Capacity));
        writer.writeAttribute(LCXml::Resistance, LCNumberText::general(type.Resistance));
        writer.writeAttribute(LCXml::WireID, QString::number(type.WireID));
        writer.writeAttribute(LCXml::Note, LCXmlText::writable(type.Note));
    }
}

void LCDefinitionWriter::writeCardTypes(QXmlStreamWriter &writer, const QMap<int, CardType> &types)
{
    for (const CardType &type : types) {
        writer.writeEmptyElement(LCXml::CardType);
        writer.writeAttribute(LCXml::Name, LCXmlText::writable(type.Name));
        writer.writeAttribute(LCXml::Current, LCNumberText::general(type.Current));
        writer.writeAttribute(LCXml::ActiveCurrent, LCNumberText::general(type.ActiveCurrent));
        writer.writeAttribute(LCXml::CardID, QString::number(type.CardID));
    }
}
