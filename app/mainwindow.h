#pragma once

#include "app/lceditcommands.h"
#include "model/lcobserver.h"

#include <QMainWindow>
#include <QMenu>
#include <QSettings>

#include <functional>
#include <memory>

class LCMainActions;
class LCObjectGrids;
class LCObject;
class LCProjectDocument;
class LCProjectModel;
class LCPrompter;
class LCRecentFiles;
class LCRecoveryFolder;
class LCRecoveryRecorder;
class LCTableView;
class LCTreeExpansion;
class LCUndoRecorder;
class LCResultPanel;
class QAbstractItemView;
class QModelIndex;
class QTreeView;
class QUndoStack;

// The program's one window: the project tree on the left, the grid of the tree's current object
// on the right with the calculation result below, the menu bar and the tool bar. Every change to
// the project is a step on the document's undo stack; every grid command acts on the object the
// grid shows. As an observer it keeps the result pane from showing a result an edit made stale.
class MainWindow : public QMainWindow, public LCObserver
{
    Q_OBJECT

public:
    // Asks the user through prompter (message boxes and file dialogs when none is given).
    // startFile, when given, is opened instead of the working file.
    explicit MainWindow(QWidget *parent = nullptr,
        LCPrompter *prompter = nullptr,
        const QString &startFile = QString());
    ~MainWindow() override;

    // False when neither the working file nor the factory definitions could be read; the user
    // has been told and the program must end.
    bool isConfigLoaded() const { return m_configLoaded; }
    // Once the window is shown: offers the unsaved changes of programs that did not end
    // cleanly, then keeps a recovery file of this one's.
    void startRecovery();
    QUndoStack &undoStack() const;

    enum class Reset {
        NewProject, // another project: the window looks as at start
        SameProject, // panels came or went: the tree keeps what the user had opened
    };
    // Puts the current project into the views, forgetting what they showed.
    void resetViews(Reset reset = Reset::NewProject);
    // Shows the grid that belongs to object.
    void showObject(LCObject *object);

    // The editing commands, acting on what the grid and the tree show.
    LCEditCommands &edits() const { return *m_edits; }
    std::unique_ptr<QMenu> gridContextMenu() { return m_edits->gridContextMenu(); }
    std::unique_ptr<QMenu> treeContextMenu() { return m_edits->treeContextMenu(); }

    void objectChanged(LCObject *object, ChangeKind kind) override;

public slots:
    void slotNew();
    void slotOpen();
    void slotOpenFile(const QString &path);
    void slotSave();
    void slotSaveAs();
    void slotReport();
    void slotDefine();
    void slotBattery();
    void slotAbout();
    void slotExit();
    void slotCalc();
    void slotTreeItemClicked();
    void slotViewContextMenu(const QPoint &position);
    void slotViewProjectContextMenu(const QPoint &position);
    void slotViewClicked() { m_edits->toggleBranch(); }
    void slotAddDevice() { m_edits->addDevice(); }
    void slotDeleteDevice() { m_edits->deleteDevices(); }
    void slotTrunk() { m_edits->setTrunk(); }
    void slotBranch() { m_edits->setBranch(); }
    void slotAddLoop() { m_edits->addLoop(); }
    void slotDeleteLoop() { m_edits->deleteLoops(); }
    void slotAddController() { m_edits->addPanel(); }
    void slotDeleteController() { m_edits->deletePanel(); }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void initUi();
    void initConnections();
    void initConfig(const QString &startFile);
    void initViews();

    LCObject *currentObject() const;
    // Puts the tree model into the tree view and follows its current item from then on.
    void attachTree();
    // Runs change, which adds or removes objects, with nothing showing the project meanwhile;
    // then shows keep again, or the nearest object above it that is still in the project.
    // True when a project is open; else the user is told there is none.
    bool hasProject();
    static void showMenu(
        const std::unique_ptr<QMenu> &menu, const QAbstractItemView &view, const QPoint &position);
    void changeStructure(const std::function<void()> &change, const LCObject *keep);
    void updateActions();
    // The title names the project's file and marks unsaved changes.
    void updateTitle();
    void openReport(const QString &path);

    std::unique_ptr<LCPrompter> m_ownPrompter;
    LCPrompter *m_prompter;
    bool m_configLoaded = false;
    QSettings m_settings;
    std::unique_ptr<LCRecentFiles> m_recentFiles;
    LCProjectDocument *m_document = nullptr;
    // the recorder goes first, so its file is removed while the folder still holds its lock
    std::unique_ptr<LCRecoveryFolder> m_recoveryFolder;
    std::unique_ptr<LCRecoveryRecorder> m_recovery;
    std::unique_ptr<LCUndoRecorder> m_recorder;
    LCMainActions *m_actions = nullptr;

    QTreeView *m_treeView = nullptr;
    LCTableView *m_gridView = nullptr;
    LCResultPanel *m_results = nullptr;

    LCProjectModel *m_treeModel = nullptr;
    LCObjectGrids *m_grids = nullptr;
    LCEditCommands *m_edits = nullptr;
    std::unique_ptr<LCTreeExpansion> m_treeExpansion;
};
