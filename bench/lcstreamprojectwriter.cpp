#include "bench/lcstreamprojectwriter.h"

#include "definitions/lcxmlnames.h"
#include "definitions/lcxmltext.h"
#include "model/lcdevice.h"
#include "model/lcloop.h"
#include "model/lcnumbertext.h"
#include "model/lcproject.h"

#include <QStringList>
#include <QXmlStreamWriter>

namespace
{
constexpr int kIndentSpaces = 4;

void writeText(QXmlStreamWriter &writer, QLatin1String name, const LCObject &object, PropertyId id)
{
    writer.writeAttribute(name, LCXmlText::writable(object.property(id).toString()));
}

void writeInteger(
    QXmlStreamWriter &writer, QLatin1String name, const LCObject &object, PropertyId id)
{
    writer.writeAttribute(name, QString::number(object.property(id).toInt()));
}

void writeFloat(QXmlStreamWriter &writer, QLatin1String name, float value)
{
    writer.writeAttribute(name, LCNumberText::general(value));
}

QString subTypeText(const QList<int> &ids)
{
    QStringList parts;
    for (const int id : ids) {
        parts.append(QString::number(id));
    }
    return parts.join(QLatin1Char(' '));
}

void writeDevices(QXmlStreamWriter &writer, const LCObject &loop)
{
    for (int i = 0; i < loop.childCount(); ++i) {
        const LCObject &device = *loop.child(i);
        writer.writeEmptyElement(LCXml::Device);
        writeInteger(writer, LCXml::DeviceTypeid, device, PropertyId::deviceTypeid);
        writeFloat(writer, LCXml::Pos, device.property(PropertyId::pos).toFloat());
        writeInteger(writer, LCXml::DeviceWireType, device, PropertyId::CableType);
        writeInteger(writer, LCXml::Truck, device, PropertyId::truck);
        writer.writeAttribute(LCXml::DeviceTypeName,
            device.property(PropertyId::Relay).toBool() ? QString(LCXml::RelayMark) : QString());
        const int subType = device.kind() == ObjectKind::Device
            ? static_cast<const LCDevice &>(device).subType()
            : device.property(PropertyId::SubType).toInt();
        writer.writeAttribute(LCXml::DeviceSubType, QString::number(subType));
    }
}

void writeLoops(QXmlStreamWriter &writer, const LCObject &panel)
{
    for (int i = 0; i < panel.childCount(); ++i) {
        const auto *loop = dynamic_cast<const LCLoop *>(panel.child(i));
        if (!loop) {
            continue;
        }
        writer.writeStartElement(LCXml::Loop);
        writeInteger(writer, LCXml::Loopid, *loop, PropertyId::Loopid);
        writeFloat(writer, LCXml::FirstDis, loop->firstCableLength());
        writeFloat(writer, LCXml::LastDis, loop->property(PropertyId::LastDis).toFloat());
        writeFloat(writer, LCXml::TotalDis, loop->totalCableLength());
        writeInteger(writer, LCXml::LoopWireType, *loop, PropertyId::LoopCableType);
        writeDevices(writer, *loop);
        writer.writeEndElement();
    }
}

void writePanels(QXmlStreamWriter &writer, const LCProject &project)
{
    for (int i = 0; i < project.childCount(); ++i) {
        const LCObject &panel = *project.child(i);
        writer.writeStartElement(LCXml::Panel);
        writeInteger(writer, LCXml::Panelid, panel, PropertyId::Panelid);
        writeInteger(writer, LCXml::PanelType, panel, PropertyId::PanelType);
        writeInteger(writer, LCXml::LoopCardCount, panel, PropertyId::LoopCardCount);
        writeInteger(writer, LCXml::CommCount, panel, PropertyId::CommCount);
        writeInteger(writer, LCXml::ManualPanelCount, panel, PropertyId::ManualPanelCount);
        writeInteger(writer, LCXml::MainCardCount, panel, PropertyId::MainCardCount);
        writeInteger(writer, LCXml::CANCardCount, panel, PropertyId::CANCardCount);
        writeInteger(writer, LCXml::ModbusCardCount, panel, PropertyId::ModbusCardCount);
        writeInteger(writer, LCXml::Slot1CardType, panel, PropertyId::Slot1CardType);
        writeInteger(writer, LCXml::Slot2CardType, panel, PropertyId::Slot2CardType);
        writeText(writer, LCXml::PanelNote, panel, PropertyId::PanelNote);
        writeLoops(writer, panel);
        writer.writeEndElement();
    }
}

void writeDefinitions(QXmlStreamWriter &writer, const LCProjectWriter::Definitions &definitions)
{
    for (const DeviceType &type : definitions.deviceTypes) {
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
    for (const WireType &type : definitions.wireTypes) {
        writer.writeEmptyElement(LCXml::WireType);
        writer.writeAttribute(LCXml::Name, LCXmlText::writable(type.Name));
        writer.writeAttribute(LCXml::Capacity, LCNumberText::general(type.Capacity));
        writer.writeAttribute(LCXml::Resistance, LCNumberText::general(type.Resistance));
        writer.writeAttribute(LCXml::WireID, QString::number(type.WireID));
        writer.writeAttribute(LCXml::Note, LCXmlText::writable(type.Note));
    }
    for (const CardType &type : definitions.cardTypes) {
        writer.writeEmptyElement(LCXml::CardType);
        writer.writeAttribute(LCXml::Name, LCXmlText::writable(type.Name));
        writer.writeAttribute(LCXml::Current, LCNumberText::general(type.Current));
        writer.writeAttribute(LCXml::ActiveCurrent, LCNumberText::general(type.ActiveCurrent));
        writer.writeAttribute(LCXml::CardID, QString::number(type.CardID));
    }
}
} // namespace

QByteArray LCStreamProjectWriter::write(
    const LCProject &project, const LCProjectWriter::Definitions &definitions)
{
    QByteArray bytes;
    QXmlStreamWriter writer(&bytes);
    writer.setCodec("UTF-8");
    writer.setAutoFormatting(true);
    writer.setAutoFormattingIndent(kIndentSpaces);
    writer.writeStartDocument();

    writer.writeStartElement(LCXml::Project);
    writeText(writer, LCXml::ProjectName, project, PropertyId::Name);
    writeText(writer, LCXml::SiteName, project, PropertyId::SiteName);
    writeText(writer, LCXml::SiteAddr, project, PropertyId::SiteAddr);
    writeText(writer, LCXml::EndUser, project, PropertyId::EndUser);
    writeText(writer, LCXml::Installer, project, PropertyId::Installer);
    writeText(writer, LCXml::Engineer, project, PropertyId::Engineer);
    writeText(writer, LCXml::Date, project, PropertyId::Date);
    writeText(writer, LCXml::ProjectNote, project, PropertyId::ProjectNote);
    writeText(writer, LCXml::CustomerData, project, PropertyId::CustomerData);
    writeText(writer, LCXml::Addr, project, PropertyId::Addr);
    writePanels(writer, project);
    writeDefinitions(writer, definitions);
    writer.writeEndElement();
    writer.writeEndDocument();
    return bytes;
}
