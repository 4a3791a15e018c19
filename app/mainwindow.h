#pragma once

#include "model/lcobserver.h"

#include <QList>
#include <QMainWindow>
#include <QModelIndex>

#include <cstddef>
#include <memory>

class LCController;
class LCDeviceModel;
class LCLoop;
class LCLoopModel;
class LCPanelInfoModel;
class LCProjectInfoModel;
class QAbstractItemModel;
class QMenu;
class LCItemDelegate;
class LCObject;
class LCProjectModel;
class LCPrompter;
class LCTableView;
class LCTreeExpansion;
class QDockWidget;
class QTextEdit;
class QToolButton;
class QTreeView;

// The program's one window: the project tree on the left, the grid of the tree's current object
// on the right with the calculation result below, and the tool bar with the file commands and
// the entry points to the other commands. Every grid command acts on the object the grid
// shows. As an observer it keeps the result pane from showing a result an edit made stale.
class MainWindow : public QMainWindow, public LCObserver
{
    Q_OBJECT

public:
    // Asks the user through prompter (message boxes and file dialogs when none is given).
    explicit MainWindow(QWidget *parent = nullptr, LCPrompter *prompter = nullptr);
    ~MainWindow() override;

    // False when neither the working file nor the factory definitions could be read; the user
    // has been told and the program must end.
    bool isConfigLoaded() const { return m_configLoaded; }

    enum class Reset {
        NewProject, // another project: the window looks as at start
        SameProject, // panels came or went: the tree keeps what the user had opened
    };
    // Puts the current project into the views, forgetting what they showed.
    void resetViews(Reset reset = Reset::NewProject);
    // Shows the grid that belongs to object.
    void showObject(LCObject *object);

public slots:
    void slotNew();
    void slotOpen();
    void slotSave();
    void slotSaveAs();
    void slotReport();
    void slotDefine();
    void slotBattery();
    void slotAbout();
    void slotExit();
    void slotCalc();
    void slotTreeItemClicked();
    void slotViewClicked();
    void slotViewContextMenu(const QPoint &position);
    void slotViewProjectContextMenu(const QPoint &position);
    void slotUpdateDelegate(const QModelIndex &index);
    void slotAddDevice();
    void slotDeleteDevice();
    void slotTrunk();
    void slotBranch();
    void slotAddLoop();
    void slotDeleteLoop();
    void slotAddController();
    void slotDeleteController();

public:
    // The context menus as they would open now; empty when none would open.
    std::unique_ptr<QMenu> gridContextMenu();
    std::unique_ptr<QMenu> treeContextMenu();

    void objectChanged(LCObject *object, ChangeKind kind) override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void initUi();
    void initConnections();
    void initConfig();
    void initViews();

    // The object of the tree's current item, or null.
    LCObject *currentObject() const;
    // The loop whose devices the grid shows, or the panel whose loops it shows; null otherwise.
    LCLoop *shownLoop() const;
    LCController *shownLoopsPanel() const;
    // Puts the tree model into the tree view and follows its current item from then on.
    void attachTree();
    QModelIndex treeIndexOf(const LCObject *object) const;
    // After loops were added or removed: rebuilds the tree and makes object current again.
    void refreshTreeKeeping(const LCObject *object);
    // No grid shows anything of the project any more.
    void detachGrids();
    void showGrid(QAbstractItemModel *model, bool withHeaders);
    void setButtonsFor(const LCObject *object);
    // The result pane shows what object's last calculation found, unless an edit made it stale.
    void showResultOf(const LCObject *object);
    // The title names the project's file and marks unsaved changes.
    void updateTitle();
    template <std::size_t Columns>
    void setColumnWidths(const int (&widths)[Columns]);
    // Saves to path (the working file when empty) and says how it went. False when the file
    // could not be written; nothing is changed then.
    bool saveTo(const QString &path);
    // Before the project is replaced or the program ends: when anything changed, asks whether
    // to save it. False when the user wanted it saved and that failed, so the caller must stop.
    bool saveChangesIfWanted();
    // The file the user chose to save as, with ".xml" added when it has no suffix; empty when
    // the user cancelled or would not replace a file of that name.
    QString chosenSaveFile();
    void openReport(const QString &path);
    // "Add Device" and "Add Loop", disabled with the reason when the loop or panel is full.
    void addDeviceEntry(QMenu &menu, const LCLoop &loop);
    void addLoopEntry(QMenu &menu, const LCController &panel);
    void calculatePanel(LCObject *panel);
    // False when the loop is empty and nothing was calculated.
    bool calculateLoop(LCObject *loop);
    void fillDeviceTypeItems();
    void fillCableTypeItems();

    std::unique_ptr<LCPrompter> m_ownPrompter;
    LCPrompter *m_prompter;
    bool m_configLoaded = false;

    QToolButton *m_newButton = nullptr;
    QToolButton *m_openButton = nullptr;
    QToolButton *m_saveButton = nullptr;
    QToolButton *m_saveAsButton = nullptr;
    QToolButton *m_reportButton = nullptr;
    QToolButton *m_defineButton = nullptr;
    QToolButton *m_calculateButton = nullptr;
    QToolButton *m_batteryButton = nullptr;
    QToolButton *m_aboutButton = nullptr;
    QToolButton *m_exitButton = nullptr;
    QTreeView *m_treeView = nullptr;
    LCTableView *m_gridView = nullptr;
    QDockWidget *m_resultDock = nullptr;
    QTextEdit *m_resultPane = nullptr;

    LCProjectModel *m_treeModel = nullptr;
    LCProjectInfoModel *m_projectModel = nullptr;
    LCPanelInfoModel *m_panelModel = nullptr;
    LCLoopModel *m_loopModel = nullptr;
    LCDeviceModel *m_deviceModel = nullptr;

    QList<LCItemDelegate *> m_projectTextDelegates;
    LCItemDelegate *m_panelNoteDelegate = nullptr;
    LCItemDelegate *m_cardsUpTo32Delegate = nullptr;
    LCItemDelegate *m_cardsUpTo3Delegate = nullptr;
    LCItemDelegate *m_cardsUpTo8Delegate = nullptr;
    LCItemDelegate *m_cardsUpTo1Delegate = nullptr;
    LCItemDelegate *m_cardsUpTo2Delegate = nullptr;
    LCItemDelegate *m_slotCardDelegate = nullptr;
    LCItemDelegate *m_firstLengthDelegate = nullptr;
    LCItemDelegate *m_lastLengthDelegate = nullptr;

    LCItemDelegate *m_deviceLengthDelegate = nullptr;
    LCItemDelegate *m_deviceTypeDelegate = nullptr;
    LCItemDelegate *m_subTypeDelegate = nullptr;
    LCItemDelegate *m_cableTypeDelegate = nullptr;

    LCObject *m_shownObject = nullptr;
    std::unique_ptr<LCTreeExpansion> m_treeExpansion;
};
