#pragma once

#include <QObject>
#include <QString>

#include <functional>

class LCPrompter;
class LCRecentFiles;
class LCRecoveryFolder;
class QUndoStack;
class QWidget;

// The current project as a document: the file Save writes, its undo stack, whether it has
// unsaved changes (the stack away from its clean state, or definitions changed), and the file
// commands' questions and messages. Replacing the project starts a new stack; the caller keeps
// the views away from the old project meanwhile.
class LCProjectDocument : public QObject
{
    Q_OBJECT

public:
    LCProjectDocument(LCPrompter &prompter, LCRecentFiles &recentFiles, QWidget *window);
    ~LCProjectDocument() override;

    QUndoStack &undoStack() const { return *m_undoStack; }
    bool isModified() const;
    QString filePath() const;

    // At start: startFile when it is given and can be read (else the user is told), otherwise
    // the working file. False when not even the factory definitions could be read; the user
    // has been told and the program must end.
    bool openAtStart(const QString &startFile);
    // Offers the recovery files of programs that did not end cleanly, newest first, until one
    // is restored, which becomes this program's own; beforeRestore runs before the project is
    // replaced. A damaged file is renamed, named to the user, and never read. True when one was
    // restored.
    bool offerRecovery(LCRecoveryFolder &folder, const std::function<void()> &beforeRestore);
    // "Do you want to save the change?" when there is any; false when the user cancelled or
    // the save failed, so the caller must stop.
    bool maybeSave();
    // Save, to the project's own file; says how it went.
    bool save();
    // Save as, to a file the user chooses; ".xml" is added to a name without a suffix.
    bool saveAs();
    // The file the user chooses to open; empty when cancelled.
    QString askFileToOpen();
    // Reads path as the current project; false, with the user told, when it could not be.
    bool open(const QString &path);
    // After another project became the current one: a new stack. A project made by New, or
    // restored, is unsaved until it is saved, even with nothing on its stack.
    void projectReplaced(bool unsaved);

signals:
    void modifiedChanged();

private:
    bool saveTo(const QString &path);
    void keepDamaged(LCRecoveryFolder &folder, const QString &leftover, const QString &reason);
    QString chosenSaveFile();

    LCPrompter &m_prompter;
    LCRecentFiles &m_recentFiles;
    QWidget *m_window;
    QUndoStack *m_undoStack;
    bool m_unsaved = false;
};
