#include "app/lcprojectdocument.h"

#include "app/lcrecentfiles.h"
#include "definitions/lcdatastore.h"
#include "grids/ui/lcprompter.h"

#include <QDir>
#include <QFileInfo>
#include <QUndoStack>
#include <QWidget>

namespace
{
// what Save as adds to a name without a suffix, so Open's filter shows the file
const QString kProjectSuffix = QStringLiteral("xml");
} // namespace

LCProjectDocument::LCProjectDocument(
    LCPrompter &prompter, LCRecentFiles &recentFiles, QWidget *window)
    : QObject(window)
    , m_prompter(prompter)
    , m_recentFiles(recentFiles)
    , m_window(window)
    , m_undoStack(new QUndoStack(this))
{
    connect(m_undoStack, &QUndoStack::cleanChanged, this, &LCProjectDocument::modifiedChanged);
    // definition changes stay outside the stack but count as unsaved all the same
    LCDataStore::instance()->setChangeListener(this, [this] { emit modifiedChanged(); });
}

LCProjectDocument::~LCProjectDocument()
{
    LCDataStore::instance()->removeChangeListener(this);
}

bool LCProjectDocument::isModified() const
{
    const LCDataStore *const store = LCDataStore::instance();
    return store->project()
        && (m_newProject || !m_undoStack->isClean() || store->devTypesChanged()
            || store->wireTypesChanged() || store->cardTypesChanged());
}

QString LCProjectDocument::filePath() const
{
    return LCDataStore::instance()->projectFilePath();
}

bool LCProjectDocument::openAtStart(const QString &startFile)
{
    LCDataStore *const store = LCDataStore::instance();
    if (!startFile.isEmpty()) {
        if (store->loadProject(startFile).projectRead) {
            m_recentFiles.add(startFile);
            return true;
        }
        m_prompter.information(m_window, tr("Infomation"), tr("Open project failed!"));
    }
    if (!store->loadProject(QString()).ok) {
        m_prompter.information(m_window, tr("Error"), tr("Config file load failed!"));
        return false;
    }
    return true;
}

bool LCProjectDocument::maybeSave()
{
    if (!isModified()) {
        return true;
    }
    switch (m_prompter.questionWithCancel(
        m_window, tr("Information"), tr("Do you want to save the change?"))) {
    case LCPrompter::Answer::Yes:
        return saveTo(QString());
    case LCPrompter::Answer::No:
        return true;
    case LCPrompter::Answer::Cancel:
        break;
    }
    return false;
}

bool LCProjectDocument::save()
{
    if (!saveTo(QString())) {
        return false;
    }
    m_prompter.information(m_window, tr("Infomation"), tr("Save Sucessful!"));
    return true;
}

bool LCProjectDocument::saveAs()
{
    const QString path = chosenSaveFile();
    if (path.isEmpty() || !saveTo(path)) {
        return false;
    }
    m_recentFiles.add(path);
    m_prompter.information(m_window, tr("Infomation"), tr("Save Sucessful!"));
    return true;
}

QString LCProjectDocument::askFileToOpen()
{
    return m_prompter.openFileName(m_window, tr("Open a Project"),
        m_recentFiles.lastFolder(QDir::currentPath()), tr("XBEL Files (*.xbel *.xml)"));
}

bool LCProjectDocument::open(const QString &path)
{
    if (!LCDataStore::instance()->loadProject(path).projectRead) {
        m_prompter.information(m_window, tr("Infomation"), tr("Open project failed!"));
        return false;
    }
    m_recentFiles.add(path);
    projectReplaced(false);
    return true;
}

void LCProjectDocument::projectReplaced(bool newProject)
{
    m_newProject = newProject;
    m_undoStack->clear();
    emit modifiedChanged();
}

bool LCProjectDocument::saveTo(const QString &path)
{
    LCDataStore *const store = LCDataStore::instance();
    QString error;
    if (!store->saveProject(path, &error)) {
        const QString file = QDir::toNativeSeparators(path.isEmpty() ? filePath() : path);
        m_prompter.information(
            m_window, tr("Error"), tr("The project could not be saved to %1: %2").arg(file, error));
        return false;
    }
    m_undoStack->setClean();
    m_newProject = false;
    emit modifiedChanged();
    return true;
}

QString LCProjectDocument::chosenSaveFile()
{
    QString path = m_prompter.saveFileName(m_window, tr("Save as..."),
        m_recentFiles.lastFolder(QDir::currentPath()), tr("XML Files (*.xml)"));
    if (path.isEmpty() || !QFileInfo(path).suffix().isEmpty()) {
        return path;
    }
    path += QLatin1Char('.') + kProjectSuffix;
    // the file dialog asked about the name without the suffix, not about this one
    if (QFileInfo::exists(path)
        && m_prompter.question(m_window, tr("Information"),
               tr("%1 already exists.\nDo you want to replace it?")
                   .arg(QDir::toNativeSeparators(path)))
            != LCPrompter::Answer::Yes) {
        return QString();
    }
    return path;
}
