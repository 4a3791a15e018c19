#include "definitions/lcprojectwriter.h"

#include "definitions/lcdefinitionwriter.h"
#include "definitions/lcxmlnames.h"
#include "definitions/lcxmlwriter.h"
#include "model/lcdevice.h"
#include "model/lcloop.h"
#include "model/lcproject.h"

#include <algorithm>
#include <limits>

namespace
{
// A device line takes about a hundred bytes; the buffer is reserved once, a little above that.
constexpr qint64 kBytesPerDevice = 128;
// the project's texts, each panel and loop line, and the definitions
constexpr qint64 kBytesPerOtherElement = 512;

void writeText(LCXmlWriter &writer, QLatin1String name, const LCObject &object, PropertyId id)
{
    writer.textAttribute(name, object.property(id).toString());
}

void writeInteger(LCXmlWriter &writer, QLatin1String name, const LCObject &object, PropertyId id)
{
    writer.integerAttribute(name, object.property(id).toInt());
}

int expectedBytes(const LCProject &project, const LCProjectWriter::Definitions &definitions)
{
    qint64 devices = 0;
    qint64 others = 1 + definitions.deviceTypes.size() + definitions.wireTypes.size()
        + definitions.cardTypes.size();
    for (int i = 0; i < project.childCount(); ++i) {
        const LCObject &panel = *project.child(i);
        others += 1 + panel.childCount();
        for (int k = 0; k < panel.childCount(); ++k) {
            devices += panel.child(k)->childCount();
        }
    }
    const qint64 bytes = devices * kBytesPerDevice + others * kBytesPerOtherElement;
    return int(std::min<qint64>(bytes, std::numeric_limits<int>::max() / 2));
}
} // namespace

QByteArray LCProjectWriter::write(const LCProject &project, const Definitions &definitions)
{
    LCXmlWriter writer(expectedBytes(project, definitions));
    writer.startElement(LCXml::Project);
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
    return writer.finish();
}

void LCProjectWriter::writePanels(LCXmlWriter &writer, const LCProject &project)
{
    for (int i = 0; i < project.childCount(); ++i) {
        const LCObject &panel = *project.child(i);
        writer.startElement(LCXml::Panel);
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
        writer.endElement();
    }
}

void LCProjectWriter::writeLoops(LCXmlWriter &writer, const LCObject &panel)
{
    for (int i = 0; i < panel.childCount(); ++i) {
        const auto *loop = dynamic_cast<const LCLoop *>(panel.child(i));
        if (!loop) {
            continue;
        }
        writer.startElement(LCXml::Loop);
        writeInteger(writer, LCXml::Loopid, *loop, PropertyId::Loopid);
        writer.numberAttribute(LCXml::FirstDis, loop->firstCableLength());
        writer.numberAttribute(LCXml::LastDis, loop->property(PropertyId::LastDis).toFloat());
        writer.numberAttribute(LCXml::TotalDis, loop->totalCableLength());
        writeInteger(writer, LCXml::LoopWireType, *loop, PropertyId::LoopCableType);
        writeDevices(writer, *loop);
        writer.endElement();
    }
}

void LCProjectWriter::writeDevices(LCXmlWriter &writer, const LCObject &loop)
{
    for (int i = 0; i < loop.childCount(); ++i) {
        const LCObject &device = *loop.child(i);
        writer.startElement(LCXml::Device);
        writeInteger(writer, LCXml::DeviceTypeid, device, PropertyId::deviceTypeid);
        writer.numberAttribute(LCXml::Pos, device.property(PropertyId::pos).toFloat());
        writeInteger(writer, LCXml::DeviceWireType, device, PropertyId::CableType);
        writeInteger(writer, LCXml::Truck, device, PropertyId::truck);
        writer.textAttribute(LCXml::DeviceTypeName,
            device.property(PropertyId::Relay).toBool() ? LCXml::RelayMark : QLatin1String(""));
        // the sub type the grid shows, so merely showing a loop never changes the file
        const int subType = device.kind() == ObjectKind::Device
            ? static_cast<const LCDevice &>(device).subType()
            : device.property(PropertyId::SubType).toInt();
        writer.integerAttribute(LCXml::DeviceSubType, subType);
        writer.endElement();
    }
}
