#pragma once

#include "definitions/batterytype.h"
#include "definitions/cardtype.h"
#include "definitions/devicetype.h"
#include "definitions/devsubtype.h"
#include "definitions/lcloadresult.h"
#include "definitions/lcpaths.h"
#include "definitions/wiretype.h"
#include "model/lcproject.h"

#include <QHash>
#include <QList>
#include <QMap>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

// The definition library of the process and the holder of the current project. It keeps the
// user's working definitions (which travel in every project file) beside the factory defaults,
// the fixed panel types, the icon files, the weighting factor of the loop check and the four
// change flags the main window consults before work could be lost. Getters return copies.
class LCDataStore
{
public:
    static constexpr float kInitialWeightFactor = 0.9f;

    // The one library; made on first use.
    static LCDataStore *instance();

    LCDataStore(const LCDataStore &) = delete;
    LCDataStore &operator=(const LCDataStore &) = delete;

    // Where the program's files are: the running program's, unless a test points elsewhere.
    // Changing them reloads the icon folders.
    const LCPaths &paths() const { return m_paths; }
    void setPaths(const LCPaths &paths);
    QString workingFilePath() const;
    // The file Save writes: the one the current project was read from or last saved to, and
    // the working file for a project made with New.
    QString projectFilePath() const;
    QString defaultsFilePath() const;
    QString weightFactorFilePath() const;

    QMap<int, DeviceType> deviceTypes() const { return m_deviceTypes; }
    QMap<int, DeviceType> defaultDeviceTypes() const { return m_defaultDeviceTypes; }
    QMap<int, WireType> wireTypes() const { return m_wireTypes; }
    QMap<int, WireType> defaultWireTypes() const { return m_defaultWireTypes; }
    QMap<int, CardType> cardTypes() const { return m_cardTypes; }
    QMap<int, CardType> defaultCardTypes() const { return m_defaultCardTypes; }
    QMap<int, QString> panelTypes() const { return m_panelTypes; }
    QMap<int, DevSubType> subTypes() const { return m_subTypes; }
    QList<BatteryType> batteryTypes() const { return m_batteryTypes; }

    // Replace the user's working definitions and mark them changed, equal or not.
    void setDeviceTypes(const QMap<int, DeviceType> &types);
    void setWireTypes(const QMap<int, WireType> &types);
    void setCardTypes(const QMap<int, CardType> &types);

    // The id of the first (lowest id) type whose name is exactly name; 0 when none is.
    int deviceTypeIdByName(const QString &name) const;
    int wireTypeIdByName(const QString &name) const;
    int subTypeIdByName(const QString &name) const;

    // Path of the icon file for an icon number; empty when there is none.
    QString deviceIconPath(int iconId) const;
    // Path of the picture of a sub type, else of the fallback picture "00"; empty when neither.
    QString subTypeIconPath(const QString &picture) const;

    LCProject *project() const { return m_project.get(); }
    // Takes the project over, destroying the previous one, and marks the project changed. Its
    // file is the working file until it is saved elsewhere.
    void setProject(std::unique_ptr<LCProject> project);

    float weightFactor() const { return m_weightFactor; }

    bool devTypesChanged() const { return m_devTypesChanged; }
    bool wireTypesChanged() const { return m_wireTypesChanged; }
    bool cardTypesChanged() const { return m_cardTypesChanged; }
    bool projectChanged() const;
    bool anyChanged() const;
    // listener is called whenever one of the four change flags may have turned on or off.
    // One listener at a time; only its owner takes it off again.
    void setChangeListener(const void *owner, std::function<void()> listener);
    void removeChangeListener(const void *owner);

    // Reads a project file (the working file for an empty path), then the factory definitions
    // and the weighting factor. The current project and the user definitions are replaced, and
    // the change flags cleared, only when the whole file was read; otherwise the project and
    // all four flags stay exactly as they were.
    [[nodiscard]] LCLoadResult loadProject(const QString &path);
    // The same for the bytes of a project file, which then counts as read from filePath (the
    // working file for an empty one).
    [[nodiscard]] LCLoadResult loadProjectData(const QByteArray &bytes, const QString &filePath);
    // Writes the current project and the user definitions (to projectFilePath() for an empty
    // path). The old file is replaced only by a complete new one; the change flags are cleared,
    // and the file becomes the project's file, only when it was. False, with the reason in
    // error, when nothing was saved.
    [[nodiscard]] bool saveProject(const QString &path, QString *error = nullptr);

    // Reads the factory definitions; fills user maps that are empty from them.
    bool loadDefaults();
    void readWeightFactor();

private:
    LCDataStore();
    ~LCDataStore();

    LCLoadResult readProject(
        const std::optional<QByteArray> &bytes, const QString &filePath, const QString &readError);
    void loadIcons();
    void clearChangeFlags();
    void notifyChange() const;
    void rememberProjectFile(const QString &filePath);

    bool m_devTypesChanged = false;
    bool m_wireTypesChanged = false;
    bool m_cardTypesChanged = false;
    QMap<int, DeviceType> m_deviceTypes;
    QMap<int, DeviceType> m_defaultDeviceTypes;
    QMap<int, WireType> m_wireTypes;
    QMap<int, WireType> m_defaultWireTypes;
    QMap<int, CardType> m_cardTypes;
    QMap<int, CardType> m_defaultCardTypes;
    QMap<int, QString> m_panelTypes;
    QMap<int, DevSubType> m_subTypes;
    QList<BatteryType> m_batteryTypes;
    QHash<int, QString> m_deviceIconPaths;
    QHash<QString, QString> m_subTypeIconPaths;
    std::unique_ptr<LCProject> m_project;
    float m_weightFactor = kInitialWeightFactor;
    LCPaths m_paths;
    // empty while the project's file is the working file
    QString m_projectFilePath;
    std::function<void()> m_changeListener;
    const void *m_changeListenerOwner = nullptr;
};
