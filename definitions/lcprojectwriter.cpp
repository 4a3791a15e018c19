#include "definitions/lcprojectwriter.h"

#include "definitions/lcdefinitionwriter.h"
#include "definitions/lcxmlnames.h"
#include "definitions/lcxmltext.h"
#include "model/lcdevice.h"
#include "model/lcloop.h"
#include "model/lcnumbertext.h"
#include "model/lcproject.h"

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
} // namespace

QByteArray LCProjectWriter::write(const LCProject &project, const Definitions &definitions)
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
    LCDefinitionWriter::writeDeviceTypes(writer, definitions.deviceTypes);
    LCDefinitionWriter::writeWireTypes(writer, definitions.wireTypes);
    LCDefinitionWriter::writeCardTypes(writer, definitions.cardTypes);

    writer.writeEndElement();
    writer.writeEndDocument();
    return bytes;
}

void LCProjectWriter::writePanels(QXmlStreamWriter &writer, const LCProject &project)
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

void LCProjectWriter::writeLoops(QXmlStreamWriter &writer, const LCObject &panel)
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

void LCProjectWriter::writeDevices(QXmlStreamWriter &writer, const LCObject &loop)
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
        // the sub type the grid shows, so merely showing a loop never changes the file
        const int subType = device.kind() == ObjectKind::Device
            ? static_cast<const LCDevice &>(device).subType()
            : device.property(PropertyId::SubType).toInt();
        writer.writeAttribute(LCXml::DeviceSubType, QString::number(subType));
    }
}
