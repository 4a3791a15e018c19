#pragma once

#include "../model/modelfixture.h"

#include "definitions/lcdatastore.h"
#include "definitions/lcprojectwriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>

// What the definition tests share. The factory library, data/definitions/default.xml, holds three
// device types, three cable types and two card types. The project, data/definitions/project.xml,
// is written exactly as the program writes it: two panels, user types beside the factory ones
// (devices 7 and 40, cables 4 and 5, card 3), UserSmoke (7) on 3 devices of "Panel 1 Loop2" and
// "Panel 2 Loop1", cable W5 under 2 devices and the loop cable of "Panel 2 Loop1", and devices
// on ids the library lacks (device type 45, cable 9).
namespace DefinitionsData
{

inline QString dataPath(const QString &name)
{
    return QStringLiteral(MIREL_TEST_DATA "/") + name;
}

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The panels, loops and device counts of a project: "P1(L1:2 L2:0)P2()".
inline QString shape(const LCObject &project)
{
    QString text;
    for (int p = 0; p < project.childCount(); ++p) {
        const LCObject *const panel = project.child(p);
        QStringList loops;
        for (int l = 0; l < panel->childCount(); ++l) {
            loops << QStringLiteral("L%1:%2")
                         .arg(panel->child(l)->property(PropertyId::Loopid).toInt())
                         .arg(panel->child(l)->childCount());
        }
        text += QStringLiteral("P%1(%2)")
                    .arg(panel->property(PropertyId::Panelid).toInt())
                    .arg(loops.join(QLatin1Char(' ')));
    }
    return text;
}

// The library pointed at a folder of its own, with the factory file and the project as its
// working file, for as long as it lives.
class Library
{
public:
    Library()
    {
        writeFile(path("config/default.xml"), readFile(dataPath("definitions/default.xml")));
        writeFile(path("config/config.xml"), readFile(dataPath("definitions/project.xml")));
        useFolder();
    }
    ~Library() { store->setPaths(LCPaths::ofProgram()); }

    QString path(const QString &name) const { return m_dir.filePath(name); }
    void useFolder() const { store->setPaths(LCPaths(m_dir.path(), {})); }
    // Reads the project afresh; nothing counts as changed afterwards.
    bool loadProject() const
    {
        return store->loadProject(QString()).projectRead && !store->anyChanged();
    }
    // Unsaved changes of every kind: the project renamed "edited", and the user types with the
    // last of each kind deleted.
    void editEverything()
    {
        store->project()->setProperty(PropertyId::Name, QStringLiteral("edited"));
        m_edited = {store->deviceTypes(), store->wireTypes(), store->cardTypes()};
        m_edited.deviceTypes.remove(m_edited.deviceTypes.lastKey());
        m_edited.wireTypes.remove(m_edited.wireTypes.lastKey());
        m_edited.cardTypes.remove(m_edited.cardTypes.lastKey());
        store->setDeviceTypes(m_edited.deviceTypes);
        store->setWireTypes(m_edited.wireTypes);
        store->setCardTypes(m_edited.cardTypes);
    }
    // Whether the changes editEverything made are all still there, unsaved.
    bool stillEdited(const LCProject *project) const
    {
        return store->project() == project
            && (!project || project->property(PropertyId::Name) == QStringLiteral("edited"))
            && store->devTypesChanged() && store->wireTypesChanged() && store->cardTypesChanged()
            && store->projectChanged() && store->deviceTypes() == m_edited.deviceTypes
            && store->wireTypes() == m_edited.wireTypes && store->cardTypes() == m_edited.cardTypes;
    }

    LCDataStore *const store = LCDataStore::instance();

private:
    LCProjectWriter::Definitions m_edited;
    QTemporaryDir m_dir;
};

} // namespace DefinitionsData
