#include "app/mainwindow.h"

#include "app/lcaboutdlg.h"
#include "app/lccalculation.h"
#include "app/lceditcommands.h"
#include "app/lcgrideditors.h"
#include "app/lcmainactions.h"
#include "app/lcmessageboxprompter.h"
#include "app/lcobjectgrids.h"
#include "app/lcprojectdocument.h"
#include "app/lcprojectinfodlg.h"
#include "app/lcprojectmodel.h"
#include "app/lcrecentfiles.h"
#include "app/lcrecentmenu.h"
#include "app/lcrecoveryrecorder.h"
#include "app/lcresultpanel.h"
#include "app/lcsheetcommands.h"
#include "app/lctreeexpansion.h"
#include "app/lcundorecorder.h"
#include "definitions/lcdatastore.h"
#include "definitions/lcrecoveryfolder.h"
#include "definitions/ui/lcdefinedlg.h"
#include "grids/lcdevicemodel.h"
#include "grids/lcpanelinfomodel.h"
#include "grids/ui/lcbatterydlg.h"
#include "grids/ui/lctableview.h"
#include "model/lccontroller.h"
#include "model/lcloop.h"
#include "model/lcobserverregistry.h"
#include "report/lcreportcommand.h"
#include "report/lcresulttext.h"
#include "report/lcxlsxspreadsheet.h"
#include "report/ui/lcvoltagechartview.h"

#include <QAction>
#include <QCloseEvent>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QPointer>
#include <QSplitter>
#include <QTreeView>
#include <QUndoStack>

namespace
{
constexpr int kMinimumWidth = 800;
constexpr int kMinimumHeight = 600;
constexpr int kTreeStretch = 1;
constexpr int kGridStretch = 4;
constexpr int kExpandedTreeDepth = 2;
// of the height right of the tree, for the grid and the result below it
constexpr int kGridShare = 2;
constexpr int kResultShare = 1;

} // namespace

MainWindow::MainWindow(QWidget *parent, LCPrompter *prompter, const QString &startFile)
    : QMainWindow(parent)
    , m_ownPrompter(prompter ? nullptr : std::make_unique<LCMessageBoxPrompter>())
    , m_prompter(prompter ? prompter : m_ownPrompter.get())
    , m_recentFiles(std::make_unique<LCRecentFiles>(m_settings))
{
    m_document = new LCProjectDocument(*m_prompter, *m_recentFiles, this);
    m_recorder = std::make_unique<LCUndoRecorder>(m_document->undoStack());
    initUi();
    initViews();
    initConnections();
    initConfig(startFile);
    resetViews();
    LCObserverRegistry::add(this);
}

MainWindow::~MainWindow()
{
    LCObserverRegistry::remove(this);
    // the document and its stack go with the window's children, when this is no MainWindow any
    // more; clearing the stack then must not reach its slots
    m_document->undoStack().disconnect(this);
    m_document->disconnect(this);
    // the views go before the models they show, and the stack before the objects it holds
    m_treeView->setModel(nullptr);
    m_gridView->setModel(nullptr);
}

QUndoStack &MainWindow::undoStack() const
{
    return m_document->undoStack();
}

void MainWindow::initUi()
{
    m_actions = new LCMainActions(*this);
    m_actions->install(*this);

    m_treeView = new QTreeView(this);
    m_treeView->setObjectName(QStringLiteral("treeView"));
    m_treeView->setContextMenuPolicy(Qt::CustomContextMenu);
    m_gridView = new LCTableView(this);
    m_gridView->setObjectName(QStringLiteral("gridView"));
    m_gridView->setContextMenuPolicy(Qt::CustomContextMenu);
    // names stay on one line and are shortened where they do not fit
    m_gridView->setWordWrap(false);
    // Delete takes away the selected rows of the grid it is pressed in
    auto *deleteRows = new QAction(m_gridView);
    deleteRows->setShortcut(QKeySequence::Delete);
    deleteRows->setShortcutContext(Qt::WidgetShortcut);
    m_gridView->addAction(deleteRows);
    connect(deleteRows, &QAction::triggered, this, [this] {
        if (m_edits->shownLoop()) {
            m_edits->deleteDevices();
        } else if (m_edits->shownLoopsPanel()) {
            m_edits->deleteLoops();
        }
    });

    m_results = new LCResultPanel(this);
    auto *gridAndResult = new QSplitter(Qt::Vertical, this);
    gridAndResult->setObjectName(QStringLiteral("gridSplitter"));
    gridAndResult->setChildrenCollapsible(false);
    gridAndResult->addWidget(m_gridView);
    gridAndResult->addWidget(m_results);
    gridAndResult->setStretchFactor(0, kGridShare);
    gridAndResult->setStretchFactor(1, kResultShare);

    auto *splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(m_treeView);
    splitter->addWidget(gridAndResult);
    splitter->setStretchFactor(0, kTreeStretch);
    splitter->setStretchFactor(1, kGridStretch);
    setCentralWidget(splitter);
    setMinimumSize(kMinimumWidth, kMinimumHeight);
}

void MainWindow::initConnections()
{
    const std::pair<QAction *, void (MainWindow::*)()> commands[] = {
        {m_actions->newProject, &MainWindow::slotNew}, {m_actions->open, &MainWindow::slotOpen},
        {m_actions->save, &MainWindow::slotSave}, {m_actions->saveAs, &MainWindow::slotSaveAs},
        {m_actions->report, &MainWindow::slotReport}, {m_actions->exit, &MainWindow::slotExit},
        {m_actions->calculate, &MainWindow::slotCalc},
        {m_actions->battery, &MainWindow::slotBattery},
        {m_actions->define, &MainWindow::slotDefine}, {m_actions->about, &MainWindow::slotAbout}};
    for (const auto &[action, slot] : commands) {
        connect(action, &QAction::triggered, this, slot);
    }
    auto *sheets = new LCSheetCommands(*m_prompter, *m_recentFiles, this);
    connect(m_actions->exportSheet, &QAction::triggered, sheets, &LCSheetCommands::exportPdf);
    connect(m_actions->printPreview, &QAction::triggered, sheets, &LCSheetCommands::printPreview);
    connect(m_actions->print, &QAction::triggered, sheets, &LCSheetCommands::print);
    auto *recent = new LCRecentMenu(*m_actions->openRecent, *m_recentFiles, *m_prompter, this);
    connect(recent, &LCRecentMenu::fileChosen, this, [this](const QString &path) {
        if (m_document->maybeSave()) {
            slotOpenFile(path);
        }
    });
    QUndoStack &stack = m_document->undoStack();
    connect(&stack, &QUndoStack::indexChanged, this, &MainWindow::updateActions);
    connect(m_document, &LCProjectDocument::modifiedChanged, this, &MainWindow::updateTitle);
    connect(m_gridView, &QAbstractItemView::clicked, m_edits, &LCEditCommands::toggleBranch);
    // a device picked in the chart is the row picked in the grid
    connect(&m_results->chart(), &LCVoltageChartView::deviceClicked, this, [this](int row) {
        const QModelIndex cell =
            m_gridView->model() ? m_gridView->model()->index(row, 0) : QModelIndex();
        m_gridView->setCurrentIndex(cell);
        m_gridView->scrollTo(cell);
    });
    connect(
        m_gridView, &QWidget::customContextMenuRequested, this, &MainWindow::slotViewContextMenu);
    connect(m_treeView, &QAbstractItemView::clicked, this, &MainWindow::slotTreeItemClicked);
    connect(m_treeView, &QWidget::customContextMenuRequested, this,
        &MainWindow::slotViewProjectContextMenu);
    // a renamed project is renamed in the tree at once
    connect(m_grids, &LCObjectGrids::projectRenamed, m_treeModel, &LCTreeModel::rootChanged);
    connect(m_grids, &LCObjectGrids::selectionChanged, this, &MainWindow::updateActions);
}

void MainWindow::initConfig(const QString &startFile)
{
    m_configLoaded = m_document->openAtStart(startFile);
}

void MainWindow::startRecovery()
{
    if (!m_configLoaded || m_recovery) {
        return;
    }
    m_recoveryFolder =
        std::make_unique<LCRecoveryFolder>(LCDataStore::instance()->paths().recoveryFolder());
    bool detached = false;
    const bool restored = m_document->offerRecovery(*m_recoveryFolder, [this, &detached] {
        // nothing may show the old project while it is replaced
        m_treeExpansion->save();
        m_grids->detach();
        m_treeModel->setRoot(nullptr);
        detached = true;
    });
    if (detached) {
        resetViews(restored ? Reset::NewProject : Reset::SameProject);
    }
    m_recovery =
        std::make_unique<LCRecoveryRecorder>(*m_document, m_recoveryFolder->ownFile(), nullptr);
}

void MainWindow::initViews()
{
    m_treeModel = new LCProjectModel(this);
    LCObserverRegistry::add(m_treeModel);
    m_treeExpansion = std::make_unique<LCTreeExpansion>(*m_treeView, *m_treeModel);
    m_grids = new LCObjectGrids(*m_gridView, *m_recorder, this);
    LCEditCommands::Views views{*m_grids, [this] { return currentObject(); },
        [this](const std::function<void()> &change, const LCObject *keep) {
            changeStructure(change, keep);
        },
        [this](const LCObject *object) { m_treeView->expand(m_treeModel->indexOf(object)); },
        *m_treeView->viewport()};
    m_edits = new LCEditCommands(
        std::move(views), *m_actions, m_document->undoStack(), *m_prompter, this);
}

void MainWindow::resetViews(Reset reset)
{
    LCProject *project = LCDataStore::instance()->project();
    if (!project) {
        return;
    }
    m_grids->detach();
    m_treeModel->setRoot(project);
    attachTree();
    // another library may have come with the project
    m_grids->editors().fillTypeLists();
    m_results->clear(reset == Reset::NewProject);
    if (reset == Reset::SameProject) {
        // what the caller saved before it changed the tree
        m_treeExpansion->restore();
    } else {
        // panels, their loop lists and loops in view at once, nothing shown or calculated yet
        m_treeView->expandToDepth(kExpandedTreeDepth);
    }
    updateActions();
    updateTitle();
}

void MainWindow::attachTree()
{
    QItemSelectionModel *const oldSelection = m_treeView->selectionModel();
    m_treeView->setModel(m_treeModel);
    QItemSelectionModel *const selection = m_treeView->selectionModel();
    if (selection != oldSelection) {
        if (oldSelection) {
            oldSelection->deleteLater();
        }
        // keys, type-ahead and code move the current item as well as the mouse does
        connect(selection, &QItemSelectionModel::currentChanged, this,
            &MainWindow::slotTreeItemClicked);
    }
}

void MainWindow::showObject(LCObject *object)
{
    m_grids->show(object);
}

LCObject *MainWindow::currentObject() const
{
    const QModelIndex index = m_treeView->currentIndex();
    return index.isValid() ? static_cast<LCObject *>(index.internalPointer()) : nullptr;
}

void MainWindow::slotTreeItemClicked()
{
    if (!m_treeView->currentIndex().isValid()) {
        return;
    }
    LCObject *const object = currentObject();
    showObject(object);
    updateActions();
    m_results->showResultOf(object);
}

void MainWindow::objectChanged(LCObject *object, ChangeKind)
{
    m_results->noteChanged(object, [this] { return currentObject(); });
}

void MainWindow::updateTitle()
{
    const QString path = m_document->filePath();
    setWindowFilePath(path);
    // the placeholder is where the unsaved-change marker goes
    setWindowTitle(QFileInfo(path).fileName() + QStringLiteral("[*] - Mirel"));
    setWindowModified(m_document->isModified());
}

void MainWindow::updateActions()
{
    const LCObject *const object = currentObject();
    const ObjectKind kind = object ? object->kind() : ObjectKind::Project;
    const bool panel = kind == ObjectKind::Controller;
    const bool loopOrLoops = kind == ObjectKind::Loop || kind == ObjectKind::Plain;
    m_actions->calculate->setEnabled(panel || loopOrLoops);
    m_actions->report->setEnabled(panel || loopOrLoops);
    m_actions->battery->setEnabled(panel);

    const QUndoStack &stack = m_document->undoStack();
    m_actions->undo->setEnabled(stack.canUndo());
    m_actions->undo->setText(stack.canUndo() ? tr("Undo %1").arg(stack.undoText()) : tr("Undo"));
    m_actions->redo->setEnabled(stack.canRedo());
    m_actions->redo->setText(stack.canRedo() ? tr("Redo %1").arg(stack.redoText()) : tr("Redo"));

    m_edits->updateActions();
}

void MainWindow::slotNew()
{
    if (!m_document->maybeSave()) {
        return;
    }
    // the dialog creates the project and hands it to the library, which destroys the old one:
    // nothing may show it meanwhile
    const LCProject *const before = LCDataStore::instance()->project();
    m_treeExpansion->save();
    m_grids->detach();
    m_treeModel->setRoot(nullptr);
    LCProjectInfoDlg dialog(*m_prompter);
    m_prompter->exec(dialog);
    const bool created = LCDataStore::instance()->project() != before;
    if (created) {
        m_document->projectReplaced(true);
    }
    // cancelled: the same project, as the user left it
    resetViews(created ? Reset::NewProject : Reset::SameProject);
}

void MainWindow::slotOpen()
{
    if (!m_document->maybeSave()) {
        return;
    }
    const QString path = m_document->askFileToOpen();
    if (!path.isEmpty()) {
        slotOpenFile(path);
    }
}

void MainWindow::slotOpenFile(const QString &path)
{
    // nothing may show the old project while it is replaced
    m_treeExpansion->save();
    m_grids->detach();
    m_treeModel->setRoot(nullptr);
    const bool read = m_document->open(path);
    resetViews(read ? Reset::NewProject : Reset::SameProject);
}

void MainWindow::slotSave()
{
    (void)m_document->save();
}

void MainWindow::slotSaveAs()
{
    (void)m_document->saveAs();
    updateTitle();
}

void MainWindow::changeStructure(const std::function<void()> &change, const LCObject *keep)
{
    m_treeExpansion->save();
    m_grids->detach();
    m_treeModel->setRoot(nullptr);
    change();
    resetViews(Reset::SameProject);
    // what was shown, else what is left of the path to it
    while (keep && !keep->isAttachedTo(LCDataStore::instance()->project())) {
        keep = keep->parent();
    }
    if (keep) {
        m_treeView->setCurrentIndex(m_treeModel->indexOf(keep));
    }
    updateActions();
}

void MainWindow::slotReport()
{
    LCXlsxSpreadsheet spreadsheet;
    LCReportCommand command(
        *m_prompter, spreadsheet, [this](const QString &path) { openReport(path); });
    (void)command.run(this, currentObject());
}

void MainWindow::openReport(const QString &path)
{
    const QPointer<MainWindow> window(this);
    m_prompter->openDocument(path, [window, path] {
        if (window) {
            window->m_prompter->information(window, tr("Information"),
                tr("The report was written to %1, but no program to open it was found.")
                    .arg(QDir::toNativeSeparators(path)));
        }
    });
}

void MainWindow::slotDefine()
{
    if (!hasProject()) {
        return;
    }
    LCDefineDlg dialog(*m_prompter, this);
    m_prompter->exec(dialog);
    // names and unknown types shown in the grid follow the library
    m_grids->editors().fillTypeLists();
    if (LCTableModel *const grid = m_grids->shownModel()) {
        grid->refreshCells();
    }
}

void MainWindow::slotBattery()
{
    if (!hasProject()) {
        return;
    }
    if (LCObject *const object = currentObject()) {
        LCBatteryDlg dialog(object, *m_prompter, this);
        m_prompter->exec(dialog);
    }
}

void MainWindow::slotAbout()
{
    LCAboutDlg dialog(this);
    m_prompter->exec(dialog);
}

void MainWindow::slotExit()
{
    close();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // Cancel, or a save that fails, keeps the window open, so the work is not lost
    event->setAccepted(m_document->maybeSave());
}

bool MainWindow::hasProject()
{
    if (LCDataStore::instance()->project()) {
        return true;
    }
    m_prompter->information(this, tr("Information"), tr("No project exists!"));
    return false;
}

void MainWindow::slotCalc()
{
    if (!hasProject()) {
        return;
    }
    LCObject *const object = currentObject();
    LCCalculation calculation(*m_prompter, *m_recorder, this, [this] { slotReport(); });
    const LCObject *const calculated = object ? calculation.run(*object) : nullptr;
    if (!calculated) {
        return;
    }
    m_grids->devices().refresh();
    m_grids->panel().refreshCells();
    if (calculated->kind() == ObjectKind::Controller) {
        const QModelIndex current = m_treeView->currentIndex();
        m_treeView->expand(current);
        m_treeView->expand(m_treeModel->index(0, 0, current));
    }
    m_results->open(calculated);
}

void MainWindow::slotViewContextMenu(const QPoint &position)
{
    showMenu(m_edits->gridContextMenu(), *m_gridView, position);
}

void MainWindow::slotViewProjectContextMenu(const QPoint &position)
{
    // the menu is about the item under the mouse, which becomes the one shown
    const QModelIndex under = m_treeView->indexAt(position);
    if (under.isValid()) {
        m_treeView->setCurrentIndex(under);
    }
    slotTreeItemClicked();
    showMenu(m_edits->treeContextMenu(), *m_treeView, position);
}

void MainWindow::showMenu(
    const std::unique_ptr<QMenu> &menu, const QAbstractItemView &view, const QPoint &position)
{
    if (!menu->isEmpty()) {
        menu->exec(view.viewport()->mapToGlobal(position));
    }
}
