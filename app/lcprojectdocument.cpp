#include "app/lcprojectdocument.h"

#include "app/lcrecentfiles.h"
#include "definitions/lcdatastore.h"
#include "definitions/lcrecoveryfile.h"
#include "definitions/lcrecoveryfolder.h"
#include "grids/ui/lcprompter.h"

#include <QDir>
#include <QFileInfo>
#include <QUndoStack>
#include <QWidget>

namespace
{
// what Save as adds to a name without a suffix, so Open's filter shows the file
const QString kProjectSuffix = QStringLiteral("xml");
const QString kRecoveryTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm");
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
        && (m_unsaved || !m_undoStack->isClean() || store->devTypesChanged()
            || store->wireTypesChanged() || store->cardTypesChanged());
}

QString LCProjectDocument::filePath() const
{
    return LCDataStore::instance()->projectFilePath();
}

bool LCProjectDocument::openAtStart(const QString &startFile)
{
    LCDataStore *const store = LCDataStore::instance();
    // an installed program's first start: the user's working file begins as the sample
    (void)store->paths().provideWorkingFile();
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

bool LCProjectDocument::offerRecovery(
    LCRecoveryFolder &folder, const std::function<void()> &beforeRestore)
{
    bool restored = false;
    for (const QString &leftover : folder.claimLeftovers()) {
        if (restored) {
            // for a later start
            folder.release(leftover, false);
            continue;
        }
        QString error;
        const std::optional<LCRecoveryFile::Contents> contents =
            LCRecoveryFile::read(leftover, &error);
        if (!contents) {
            keepDamaged(folder, leftover, error);
            continue;
        }
        const QString project = contents->projectName.isEmpty()
            ? QFileInfo(contents->projectFile).fileName()
            : contents->projectName;
        const QString question =
            tr("Mirel did not close properly. Restore the unsaved changes of %1 from %2?")
                .arg(project, contents->written.toLocalTime().toString(kRecoveryTimeFormat));
        const LCPrompter::Answer answer =
            m_prompter.choose(m_window, tr("Information"), question, tr("Restore"), tr("Discard"));
        if (answer != LCPrompter::Answer::Yes) {
            folder.release(leftover, answer == LCPrompter::Answer::No);
            continue;
        }
        beforeRestore();
        const LCLoadResult read =
            LCDataStore::instance()->loadProjectData(contents->project, contents->projectFile);
        if (!read.projectRead) {
            keepDamaged(folder, leftover, read.errorText);
            continue;
        }
        folder.adopt(leftover);
        projectReplaced(true);
        restored = true;
    }
    return restored;
}

void LCProjectDocument::keepDamaged(
    LCRecoveryFolder &folder, const QString &leftover, const QString &reason)
{
    const QString kept = folder.keepAside(leftover);
    m_prompter.information(m_window, tr("Error"),
        tr("The unsaved changes of a project could not be restored: %1 is damaged (%2). It was "
           "kept as %3.")
            .arg(QDir::toNativeSeparators(leftover), reason, QDir::toNativeSeparators(kept)));
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

void LCProjectDocument::projectReplaced(bool unsaved)
{
    m_unsaved = unsaved;
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
    m_unsaved = false;
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
