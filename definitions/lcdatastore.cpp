#include "definitions/lcdatastore.h"

#include "definitions/lcdefinitionreader.h"
#include "definitions/lcfilewriter.h"
#include "definitions/lcprojectreader.h"
#include "definitions/lcprojectwriter.h"
#include "definitions/lcxmlnames.h"
#include "definitions/lcxmlreader.h"
#include "model/lcdevice.h"
#include "model/lcmodificationflag.h"
#include "model/lcnumbertext.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace
{
const QString kDeviceIconSuffix = QStringLiteral("ico");
const QString kSubTypeIconSuffix = QStringLiteral("png");
// Only the first bytes of the weighting factor file count.
constexpr qint64 kWeightFactorBytes = 4;

template <typename Map, typename NameOf>
int firstIdNamed(const Map &map, const QString &name, NameOf nameOf)
{
    for (auto it = map.constBegin(); it != map.constEnd(); ++it) {
        if (nameOf(it.value()) == name) {
            return it.key();
        }
    }
    return 0;
}
} // namespace

LCDataStore *LCDataStore::instance()
{
    static LCDataStore store;
    return &store;
}

LCDataStore::LCDataStore()
    : m_paths(LCPaths::ofProgram())
{
    m_panelTypes = {
        {1, QStringLiteral("Orvan-A10")},
        {2, QStringLiteral("Orvan-B20")},
        {3, QStringLiteral("Orvan-C30")},
        {4, QStringLiteral("Orvan-B20X")},
        {5, QStringLiteral("Orvan-D50")},
    };
    LCDevice::setDefaultSubTypeResolver([this](int deviceTypeId) {
        const QList<int> subTypes = m_deviceTypes.value(deviceTypeId).SubType;
        return subTypes.isEmpty() ? 0 : subTypes.first();
    });
    LCModificationFlag::setListener([this](bool) { notifyChange(); });
    loadIcons();
}

LCDataStore::~LCDataStore()
{
    LCModificationFlag::setListener(nullptr);
    LCDevice::setDefaultSubTypeResolver(nullptr);
}

void LCDataStore::setPaths(const LCPaths &paths)
{
    m_paths = paths;
    loadIcons();
}

QString LCDataStore::workingFilePath() const
{
    return m_paths.workingFile();
}

QString LCDataStore::projectFilePath() const
{
    return m_projectFilePath.isEmpty() ? workingFilePath() : m_projectFilePath;
}

QString LCDataStore::defaultsFilePath() const
{
    return m_paths.defaultsFile();
}

QString LCDataStore::weightFactorFilePath() const
{
    return m_paths.weightFactorFile();
}

void LCDataStore::setDeviceTypes(const QMap<int, DeviceType> &types)
{
    m_deviceTypes = types;
    m_devTypesChanged = true;
    notifyChange();
}

void LCDataStore::setWireTypes(const QMap<int, WireType> &types)
{
    m_wireTypes = types;
    m_wireTypesChanged = true;
    notifyChange();
}

void LCDataStore::setCardTypes(const QMap<int, CardType> &types)
{
    m_cardTypes = types;
    m_cardTypesChanged = true;
    notifyChange();
}

int LCDataStore::deviceTypeIdByName(const QString &name) const
{
    return firstIdNamed(m_deviceTypes, name, [](const DeviceType &type) { return type.Name; });
}

int LCDataStore::wireTypeIdByName(const QString &name) const
{
    return firstIdNamed(m_wireTypes, name, [](const WireType &type) { return type.Name; });
}

int LCDataStore::subTypeIdByName(const QString &name) const
{
    return firstIdNamed(m_subTypes, name, [](const DevSubType &type) { return type.name; });
}

QString LCDataStore::deviceIconPath(int iconId) const
{
    return m_deviceIconPaths.value(iconId);
}

QString LCDataStore::subTypeIconPath(const QString &picture) const
{
    const auto found = m_subTypeIconPaths.constFind(picture);
    if (found != m_subTypeIconPaths.constEnd()) {
        return found.value();
    }
    return m_subTypeIconPaths.value(DevSubType::defaultPicture());
}

void LCDataStore::setProject(std::unique_ptr<LCProject> project)
{
    m_project = std::move(project);
    m_projectFilePath.clear();
    LCModificationFlag::set();
}

bool LCDataStore::projectChanged() const
{
    return LCModificationFlag::isSet();
}

bool LCDataStore::anyChanged() const
{
    return m_devTypesChanged || m_wireTypesChanged || m_cardTypesChanged || projectChanged();
}

void LCDataStore::setChangeListener(const void *owner, std::function<void()> listener)
{
    m_changeListenerOwner = owner;
    m_changeListener = std::move(listener);
}

void LCDataStore::removeChangeListener(const void *owner)
{
    // a window made before the old one is gone has taken over already
    if (owner == m_changeListenerOwner) {
        m_changeListenerOwner = nullptr;
        m_changeListener = nullptr;
    }
}

void LCDataStore::rememberProjectFile(const QString &filePath)
{
    // the working file is kept as "no file of its own", so it follows the base directory
    const QString absolute = QFileInfo(filePath).absoluteFilePath();
    m_projectFilePath =
        absolute == QFileInfo(workingFilePath()).absoluteFilePath() ? QString() : absolute;
}

void LCDataStore::notifyChange() const
{
    if (m_changeListener) {
        m_changeListener();
    }
}

LCLoadResult LCDataStore::loadProject(const QString &path)
{
    const QString filePath = path.isEmpty() ? workingFilePath() : path;
    QString error;
    const std::optional<QByteArray> bytes = LCXmlReader::readFile(filePath, &error);
    return readProject(bytes, filePath, error);
}

LCLoadResult LCDataStore::loadProjectData(const QByteArray &bytes, const QString &filePath)
{
    return readProject(bytes, filePath.isEmpty() ? workingFilePath() : filePath, QString());
}

LCLoadResult LCDataStore::readProject(
    const std::optional<QByteArray> &bytes, const QString &filePath, const QString &readError)
{
    // reading builds a tree of its own, whose insertions raise the flag of the current project
    const bool wasChanged = LCModificationFlag::isSet();
    LCLoadResult result;
    result.errorText = readError;
    if (bytes) {
        LCProjectReader::Result read = LCProjectReader::read(*bytes);
        if (read.status == LCProjectReader::Status::Read) {
            m_project = std::move(read.project);
            m_deviceTypes = LCDefinitionReader::readDeviceTypes(read.definitions);
            m_wireTypes = LCDefinitionReader::readWireTypes(read.definitions);
            m_cardTypes = LCDefinitionReader::readCardTypes(read.definitions);
            rememberProjectFile(filePath);
            result.projectRead = true;
        } else {
            result.errorText = read.errorText;
        }
    }
    result.ok = loadDefaults() || result.projectRead;
    readWeightFactor();
    // a file that was not read leaves the current project, changes and all, so the user is still
    // asked before they could be lost
    if (result.projectRead) {
        clearChangeFlags();
    } else {
        LCModificationFlag::restore(wasChanged);
    }
    return result;
}

bool LCDataStore::saveProject(const QString &path, QString *error)
{
    QString reason;
    if (!m_project) {
        reason = QCoreApplication::translate("LCDataStore", "there is no project to save");
        if (error) {
            *error = reason;
        }
        return false;
    }
    const QString filePath = path.isEmpty() ? projectFilePath() : path;
    if (filePath == workingFilePath()) {
        // the working file's folder is the program's own or the user's; make it if it is missing
        QDir().mkpath(QFileInfo(filePath).absolutePath());
    }
    const QByteArray bytes =
        LCProjectWriter::write(*m_project, {m_deviceTypes, m_wireTypes, m_cardTypes});
    if (!LCFileWriter::writeAtomically(filePath, bytes, &reason)) {
        if (error) {
            *error = reason;
        }
        return false;
    }
    rememberProjectFile(filePath);
    clearChangeFlags();
    return true;
}

bool LCDataStore::loadDefaults()
{
    QString error;
    const std::optional<QByteArray> bytes = LCXmlReader::readFile(defaultsFilePath(), &error);
    if (!bytes) {
        return false;
    }
    LCXmlReader reader(*bytes);
    if (!reader.toDocumentElement() || !reader.toSection(LCXml::Default)) {
        return false;
    }
    const QVector<LCXmlElement> elements = reader.childElements();
    if (!reader.finish()) {
        return false;
    }
    m_defaultDeviceTypes = LCDefinitionReader::readDeviceTypes(elements);
    m_defaultWireTypes = LCDefinitionReader::readWireTypes(elements);
    m_defaultCardTypes = LCDefinitionReader::readCardTypes(elements);
    m_subTypes = LCDefinitionReader::readSubTypes(elements);
    m_batteryTypes = LCDefinitionReader::readBatteryTypes(elements);
    if (m_deviceTypes.isEmpty()) {
        m_deviceTypes = m_defaultDeviceTypes;
    }
    if (m_wireTypes.isEmpty()) {
        m_wireTypes = m_defaultWireTypes;
    }
    if (m_cardTypes.isEmpty()) {
        m_cardTypes = m_defaultCardTypes;
    }
    return true;
}

void LCDataStore::readWeightFactor()
{
    QFile file(weightFactorFilePath());
    if (!file.exists()) {
        return;
    }
    QByteArray head;
    if (file.open(QIODevice::ReadOnly)) {
        head = file.read(kWeightFactorBytes);
    }
    const int zero = head.indexOf('\0');
    if (zero >= 0) {
        head.truncate(zero);
    }
    m_weightFactor = LCNumberText::parseFloat(QString::fromLatin1(head));
}

void LCDataStore::loadIcons()
{
    m_deviceIconPaths.clear();
    const QFileInfoList deviceIcons =
        QDir(m_paths.deviceIconFolder()).entryInfoList(QDir::Files, QDir::Name);
    for (const QFileInfo &info : deviceIcons) {
        if (info.suffix() == kDeviceIconSuffix) {
            m_deviceIconPaths.insert(
                LCNumberText::parseInt(info.baseName()), info.absoluteFilePath());
        }
    }
    m_subTypeIconPaths.clear();
    const QFileInfoList subTypeIcons =
        QDir(m_paths.subTypeIconFolder()).entryInfoList(QDir::Files, QDir::Name);
    for (const QFileInfo &info : subTypeIcons) {
        if (info.suffix() == kSubTypeIconSuffix) {
            m_subTypeIconPaths.insert(info.baseName(), info.absoluteFilePath());
        }
    }
}

void LCDataStore::clearChangeFlags()
{
    m_devTypesChanged = false;
    m_wireTypesChanged = false;
    m_cardTypesChanged = false;
    LCModificationFlag::clear();
    notifyChange();
}
