#include "definitions/lcprojectreader.h"

#include "definitions/lcxmlnames.h"
#include "definitions/lcxmlreader.h"
#include "model/lccontroller.h"
#include "model/lcdevice.h"
#include "model/lcloop.h"
#include "model/lcnumbertext.h"

#include <QCoreApplication>

#include <algorithm>

namespace
{
LCXmlElement currentElement(LCXmlReader &reader)
{
    return {reader.stream().name().toString(), reader.stream().attributes()};
}

// Inserting one by one in file order gives the same list as inserting them stably sorted, and
// the sorted order lets every insertion land at the end: a file with many panels or loops in
// falling order would otherwise shift the whole list each time.
void insertInOrder(
    LCObject *parent, std::vector<std::unique_ptr<LCObject>> children, PropertyId key)
{
    std::stable_sort(children.begin(), children.end(),
        [key](const std::unique_ptr<LCObject> &a, const std::unique_ptr<LCObject> &b) {
            return a->property(key).toInt() < b->property(key).toInt();
        });
    for (auto &child : children) {
        parent->insertChild(std::move(child));
    }
}

// The attributes of a device where the program writes them.
enum DeviceAttribute { TypeAt, PosAt, WireTypeAt, TruckAt, TypeNameAt, SubTypeAt };

// Compared here rather than by Qt's comparison, a call for every attribute of every device.
bool isNamed(const QXmlStreamAttribute &attribute, QLatin1String name)
{
    const QStringRef qualified = attribute.qualifiedName();
    if (qualified.size() != name.size()) {
        return false;
    }
    const QChar *const units = qualified.unicode();
    for (int i = 0; i < name.size(); ++i) {
        if (units[i] != QLatin1Char(name.data()[i])) {
            return false;
        }
    }
    return true;
}

// Where the attribute named name is, looked for first where the program writes it; -1 when the
// element has none. A site holds half a million devices, each read without copying its attributes.
int indexOf(const QXmlStreamAttributes &attributes, QLatin1String name, int usualIndex)
{
    if (usualIndex < attributes.size() && isNamed(attributes.at(usualIndex), name)) {
        return usualIndex;
    }
    for (int i = 0; i < attributes.size(); ++i) {
        if (isNamed(attributes.at(i), name)) {
            return i;
        }
    }
    return -1;
}

// The value of the attribute named name; null when the element has none.
QStringRef valueOf(const QXmlStreamAttributes &attributes, QLatin1String name, int usualIndex)
{
    const int index = indexOf(attributes, name, usualIndex);
    return index < 0 ? QStringRef() : attributes.at(index).value();
}

std::unique_ptr<LCObject> readDevice(const QXmlStreamAttributes &attributes, LCObject *loop)
{
    auto device = std::make_unique<LCDevice>(loop);
    const auto integer = [&attributes](QLatin1String name, int usualIndex) {
        return LCNumberText::parseInt(valueOf(attributes, name, usualIndex));
    };
    device->storeProperty(PropertyId::deviceTypeid, integer(LCXml::DeviceTypeid, TypeAt));
    device->storeProperty(
        PropertyId::pos, LCNumberText::parseFloat(valueOf(attributes, LCXml::Pos, PosAt)));
    device->storeProperty(PropertyId::CableType, integer(LCXml::DeviceWireType, WireTypeAt));
    device->storeProperty(PropertyId::truck, integer(LCXml::Truck, TruckAt));
    device->storeProperty(PropertyId::Relay,
        valueOf(attributes, LCXml::DeviceTypeName, TypeNameAt) == LCXml::RelayMark);
    const int subType = indexOf(attributes, LCXml::DeviceSubType, SubTypeAt);
    if (subType >= 0) {
        device->storeProperty(
            PropertyId::SubType, LCNumberText::parseInt(attributes.at(subType).value()));
    }
    return device;
}

bool isDefinition(const QStringRef &tag)
{
    return tag == LCXml::DeviceType || tag == LCXml::WireType || tag == LCXml::CardType;
}
} // namespace

LCProjectReader::Result LCProjectReader::read(const QByteArray &bytes)
{
    Result result;
    LCXmlReader reader(bytes);
    if (reader.toDocumentElement() && reader.toSection(LCXml::Project)) {
        result.project = readProject(reader, &result.definitions);
    }
    if (!reader.finish()) {
        result.status = Status::Malformed;
        result.errorText = reader.errorString();
        result.project.reset();
        result.definitions.clear();
        return result;
    }
    if (!result.project) {
        result.status = Status::NoProject;
        result.errorText =
            QCoreApplication::translate("LCProjectReader", "the file holds no project");
        return result;
    }
    result.status = Status::Read;
    return result;
}

std::unique_ptr<LCProject> LCProjectReader::readProject(
    LCXmlReader &reader, QVector<LCXmlElement> *definitions)
{
    const LCXmlElement element = currentElement(reader);
    auto project = std::make_unique<LCProject>();
    LCPropertyMap properties;
    properties.insert(PropertyId::Name, element.text(LCXml::ProjectName));
    properties.insert(PropertyId::SiteName, element.text(LCXml::SiteName));
    properties.insert(PropertyId::SiteAddr, element.text(LCXml::SiteAddr));
    properties.insert(PropertyId::EndUser, element.text(LCXml::EndUser));
    properties.insert(PropertyId::Installer, element.text(LCXml::Installer));
    properties.insert(PropertyId::Engineer, element.text(LCXml::Engineer));
    properties.insert(PropertyId::Date, element.text(LCXml::Date));
    properties.insert(PropertyId::ProjectNote, element.text(LCXml::ProjectNote));
    properties.insert(PropertyId::CustomerData, element.text(LCXml::CustomerData));
    properties.insert(PropertyId::Addr, element.text(LCXml::Addr));
    project->copyProperties(properties);

    std::vector<std::unique_ptr<LCObject>> panels;
    const int level = reader.depth();
    while (reader.next()) {
        QXmlStreamReader &stream = reader.stream();
        if (stream.isEndElement() && reader.depth() == level - 1) {
            break;
        }
        if (!stream.isStartElement()) {
            continue;
        }
        if (stream.name() == LCXml::Panel) {
            panels.push_back(readPanel(reader, project.get()));
        } else {
            if (isDefinition(stream.name())) {
                definitions->append(currentElement(reader));
            }
            reader.skipElement();
        }
    }
    insertInOrder(project.get(), std::move(panels), PropertyId::Panelid);
    return project;
}

std::unique_ptr<LCObject> LCProjectReader::readPanel(LCXmlReader &reader, LCProject *project)
{
    const LCXmlElement element = currentElement(reader);
    auto panel = std::make_unique<LCController>(project);
    LCPropertyMap properties;
    properties.insert(PropertyId::Panelid, element.integer(LCXml::Panelid));
    properties.insert(PropertyId::PanelType, element.integer(LCXml::PanelType));
    properties.insert(PropertyId::LoopCardCount, element.integer(LCXml::LoopCardCount));
    properties.insert(PropertyId::CommCount, element.integer(LCXml::CommCount));
    properties.insert(PropertyId::ManualPanelCount, element.integer(LCXml::ManualPanelCount));
    properties.insert(PropertyId::MainCardCount, element.integer(LCXml::MainCardCount));
    properties.insert(PropertyId::CANCardCount, element.integer(LCXml::CANCardCount));
    properties.insert(PropertyId::ModbusCardCount, element.integer(LCXml::ModbusCardCount));
    properties.insert(PropertyId::Slot1CardType, element.integer(LCXml::Slot1CardType));
    properties.insert(PropertyId::Slot2CardType, element.integer(LCXml::Slot2CardType));
    properties.insert(PropertyId::PanelNote, element.text(LCXml::PanelNote));
    panel->copyProperties(properties);

    std::vector<std::unique_ptr<LCObject>> loops;
    const int level = reader.depth();
    while (reader.next()) {
        QXmlStreamReader &stream = reader.stream();
        if (stream.isEndElement() && reader.depth() == level - 1) {
            break;
        }
        if (!stream.isStartElement()) {
            continue;
        }
        if (stream.name() == LCXml::Loop) {
            loops.push_back(readLoop(reader, panel.get()));
        } else {
            reader.skipElement();
        }
    }
    insertInOrder(panel.get(), std::move(loops), PropertyId::Loopid);
    return panel;
}

std::unique_ptr<LCObject> LCProjectReader::readLoop(LCXmlReader &reader, LCObject *panel)
{
    const LCXmlElement element = currentElement(reader);
    auto loop = std::make_unique<LCLoop>(panel);
    LCPropertyMap properties;
    properties.insert(PropertyId::Loopid, element.integer(LCXml::Loopid));
    properties.insert(PropertyId::LastDis, element.number(LCXml::LastDis));
    properties.insert(PropertyId::LoopCableType, element.integer(LCXml::LoopWireType));
    loop->copyProperties(properties);
    readDevices(reader, loop.get(), element.integer(LCXml::DevCount));
    loop->setProperty(PropertyId::ResultText, QString());
    return loop;
}

void LCProjectReader::readDevices(LCXmlReader &reader, LCObject *loop, int devCount)
{
    // devCount counts child nodes, not only devices: comments, processing instructions and
    // text that is not only white space each take a position too
    const int level = reader.depth();
    int position = -1;
    bool inText = false;
    while (reader.next()) {
        QXmlStreamReader &stream = reader.stream();
        if (stream.isEndElement() && reader.depth() == level - 1) {
            return;
        }
        switch (stream.tokenType()) {
        case QXmlStreamReader::Characters:
            if (stream.isCDATA()) {
                ++position;
                inText = false;
            } else if (!stream.isWhitespace() && !inText) {
                ++position;
                inText = true;
            }
            continue;
        case QXmlStreamReader::Comment:
        case QXmlStreamReader::ProcessingInstruction:
        case QXmlStreamReader::EntityReference:
            ++position;
            inText = false;
            continue;
        case QXmlStreamReader::StartElement:
            ++position;
            inText = false;
            break;
        default:
            continue;
        }

        if (stream.name() != LCXml::Device) {
            reader.skipElement();
            continue;
        }
        loop->insertChild(readDevice(stream.attributes(), loop));
        reader.skipElement();
        if (devCount > 0 && position == devCount - 1) {
            // the rest of the loop element is passed over
            while (reader.next()) {
                if (stream.isEndElement() && reader.depth() == level - 1) {
                    return;
                }
            }
            return;
        }
    }
}
