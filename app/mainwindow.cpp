#include "app/mainwindow.h"

#include "app/lcaboutdlg.h"
#include "app/lcmessageboxprompter.h"
#include "app/lcprojectinfodlg.h"
#include "app/lcprojectmodel.h"
#include "app/lctreeexpansion.h"
#include "calc/lcloopcalculator.h"
#include "calc/lcloopverdict.h"
#include "calc/ui/lcloopinfodlg.h"
#include "definitions/lcdatastore.h"
#include "definitions/ui/lcdefinedlg.h"
#include "grids/lcdevicemodel.h"
#include "grids/lcicons.h"
#include "grids/lcloopmodel.h"
#include "grids/lcpanelinfomodel.h"
#include "grids/lcprojectinfomodel.h"
#include "grids/ui/lcbatterydlg.h"
#include "grids/ui/lccontrollerinfodlg.h"
#include "grids/ui/lcitemdelegate.h"
#include "grids/ui/lctableview.h"
#include "model/lccontroller.h"
#include "model/lcdevice.h"
#include "model/lcloop.h"
#include "model/lcobserverregistry.h"
#include "report/lcpanelsummary.h"
#include "report/lcreportcommand.h"
#include "report/lcresulttext.h"
#include "report/lcxlsxspreadsheet.h"

#include <QCloseEvent>
#include <QDate>
#include <QDir>
#include <QDockWidget>
#include <QFileInfo>
#include <QHeaderView>
#include <QMenu>
#include <QPointer>
#include <QSplitter>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <algorithm>

namespace
{
constexpr int kToolIconSize = 32;
constexpr int kToolButtonWidth = 64;
constexpr int kMinimumWidth = 800;
constexpr int kMinimumHeight = 600;
constexpr int kTreeStretch = 1;
constexpr int kGridStretch = 4;
constexpr int kExpandedTreeDepth = 2;
// of the height right of the tree, for the grid and the result below it
constexpr int kGridShare = 2;
constexpr int kResultShare = 1;
// what Save as adds to a name without a suffix, so Open's filter shows the file
const QString kProjectSuffix = QStringLiteral("xml");

// editor kinds of the grid delegates
constexpr int kTextEditor = 0;
constexpr int kIntegerEditor = 1;
constexpr int kComboEditor = 3;
constexpr int kIconComboEditor = 4;

// device grid columns and their widths
constexpr int kDeviceLengthColumn = 1;
constexpr int kDeviceTypeColumn = 2;
constexpr int kSubTypeColumn = 3;
constexpr int kCableTypeColumn = 4;
constexpr int kDeviceColumnWidths[] = {120, 200, 140, 140, 100};

// widths of the other grids
constexpr int kRecordColumnWidths[] = {200, 200};
constexpr int kLoopColumnWidths[] = {80, 80, 130, 130, 140};
constexpr int kFirstLengthColumn = 2;
constexpr int kLastLengthColumn = 3;
constexpr int kProjectRows = 10;
// panel grid rows with editors, for the small panels and for type 5
constexpr int kLoopCardRow = 4;
constexpr int kSecondCardRow = 5;
constexpr int kSmallPanelNoteRow = 6;
constexpr int kMainCardRow = 6;
constexpr int kCanCardRow = 7;
constexpr int kModbusCardRow = 8;
constexpr int kSlot1Row = 9;
constexpr int kSlot2Row = 10;
constexpr int kLargePanelNoteRow = 11;
constexpr int kLargePanelType = 5;
constexpr int kMaxSmallPanelCards = 32;
constexpr int kMaxLargePanelLoopCards = 3;
constexpr int kMaxZcpCards = 8;
constexpr int kMaxCanCards = 2;

const QString kDateFormat = QStringLiteral("yyyy-MM-dd");

// "0", "1", ... up to last
QStringList quantities(int last)
{
    QStringList texts;
    for (int quantity = 0; quantity <= last; ++quantity) {
        texts << QString::number(quantity);
    }
    return texts;
}

// Rows of the grid that hold a selected cell, each once, from the bottom up.
QList<int> selectedRowsDescending(const QItemSelectionModel *selection)
{
    QList<int> rows;
    if (!selection) {
        return rows;
    }
    for (const QModelIndex &index : selection->selectedIndexes()) {
        if (!rows.contains(index.row())) {
            rows << index.row();
        }
    }
    std::sort(rows.begin(), rows.end(), std::greater<int>());
    return rows;
}
} // namespace

MainWindow::MainWindow(QWidget *parent, LCPrompter *prompter)
    : QMainWindow(parent)
    , m_ownPrompter(prompter ? nullptr : std::make_unique<LCMessageBoxPrompter>())
    , m_prompter(prompter ? prompter : m_ownPrompter.get())
{
    initUi();
    initConnections();
    initConfig();
    initViews();
    resetViews();
    LCObserverRegistry::add(this);
    LCDataStore::instance()->setChangeListener(this, [this] { updateTitle(); });
    updateTitle();
}

MainWindow::~MainWindow()
{
    LCDataStore::instance()->removeChangeListener(this);
    LCObserverRegistry::remove(this);
    // the views go before the models they show
    m_treeView->setModel(nullptr);
    m_gridView->setModel(nullptr);
}

void MainWindow::initUi()
{
    auto *toolBar = new QToolBar(this);
    toolBar->setObjectName(QStringLiteral("toolBar"));
    toolBar->setIconSize(QSize(kToolIconSize, kToolIconSize));
    toolBar->setMovable(false);
    const auto addButton = [this, toolBar](const QString &name, const QString &text,
                               const QString &icon, bool enabled) {
        auto *button = new QToolButton(toolBar);
        button->setObjectName(name);
        button->setText(text);
        button->setIcon(QIcon(icon));
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setFixedWidth(kToolButtonWidth);
        button->setEnabled(enabled);
        toolBar->addWidget(button);
        return button;
    };
    m_newButton = addButton("newButton", tr("New"), ":/img/newprj.png", true);
    m_openButton = addButton("openButton", tr("Open"), ":/img/open.png", true);
    m_saveButton = addButton("saveButton", tr("Save"), ":/img/save.png", true);
    m_saveAsButton = addButton("saveAsButton", tr("Save as"), ":/img/saveAs.png", true);
    m_reportButton = addButton("reportButton", tr("Report"), ":/img/print.png", false);
    m_defineButton = addButton("defineButton", tr("Define"), ":/img/define.png", true);
    m_calculateButton = addButton("calculateButton", tr("Calculate"), ":/img/calculate.png", false);
    m_batteryButton = addButton("batteryButton", tr("Battery"), ":/img/calculate1.png", false);
    m_aboutButton = addButton("aboutButton", tr("About"), ":/img/About.png", true);
    m_exitButton = addButton("exitButton", tr("Exit"), ":/img/exit.png", true);
    addToolBar(toolBar);

    m_treeView = new QTreeView(this);
    m_treeView->setObjectName(QStringLiteral("treeView"));
    m_treeView->setContextMenuPolicy(Qt::CustomContextMenu);
    m_gridView = new LCTableView(this);
    m_gridView->setObjectName(QStringLiteral("gridView"));
    m_gridView->setContextMenuPolicy(Qt::CustomContextMenu);
    // names stay on one line and are shortened where they do not fit
    m_gridView->setWordWrap(false);

    m_resultDock = new QDockWidget(tr("Calculate Result"), this);
    m_resultDock->setObjectName(QStringLiteral("resultDock"));
    m_resultDock->setFeatures(QDockWidget::DockWidgetClosable);
    m_resultDock->setAllowedAreas(Qt::BottomDockWidgetArea);
    m_resultPane = new QTextEdit(m_resultDock);
    m_resultPane->setObjectName(QStringLiteral("resultPane"));
    m_resultPane->setReadOnly(true);
    m_resultDock->setWidget(m_resultPane);

    // the user drags the edge between the grid and the result to share the height
    auto *gridAndResult = new QSplitter(Qt::Vertical, this);
    gridAndResult->setObjectName(QStringLiteral("gridSplitter"));
    gridAndResult->setChildrenCollapsible(false);
    gridAndResult->addWidget(m_gridView);
    gridAndResult->addWidget(m_resultDock);
    gridAndResult->setStretchFactor(0, kGridShare);
    gridAndResult->setStretchFactor(1, kResultShare);
    m_resultDock->hide();

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
    connect(m_newButton, &QToolButton::clicked, this, &MainWindow::slotNew);
    connect(m_openButton, &QToolButton::clicked, this, &MainWindow::slotOpen);
    connect(m_saveButton, &QToolButton::clicked, this, &MainWindow::slotSave);
    connect(m_saveAsButton, &QToolButton::clicked, this, &MainWindow::slotSaveAs);
    connect(m_reportButton, &QToolButton::clicked, this, &MainWindow::slotReport);
    connect(m_defineButton, &QToolButton::clicked, this, &MainWindow::slotDefine);
    connect(m_batteryButton, &QToolButton::clicked, this, &MainWindow::slotBattery);
    connect(m_aboutButton, &QToolButton::clicked, this, &MainWindow::slotAbout);
    connect(m_exitButton, &QToolButton::clicked, this, &MainWindow::slotExit);
    connect(m_calculateButton, &QToolButton::clicked, this, &MainWindow::slotCalc);
    connect(m_gridView, &QAbstractItemView::clicked, this, &MainWindow::slotViewClicked);
    connect(
        m_gridView, &QWidget::customContextMenuRequested, this, &MainWindow::slotViewContextMenu);
    connect(m_treeView, &QAbstractItemView::clicked, this, &MainWindow::slotTreeItemClicked);
    connect(m_treeView, &QWidget::customContextMenuRequested, this,
        &MainWindow::slotViewProjectContextMenu);
}

void MainWindow::initConfig()
{
    m_configLoaded = LCDataStore::instance()->loadProject(QString()).ok;
    if (!m_configLoaded) {
        m_prompter->information(this, tr("Error"), tr("Config file load failed!"));
    }
}

void MainWindow::initViews()
{
    m_treeModel = new LCProjectModel(this);
    LCObserverRegistry::add(m_treeModel);
    m_treeExpansion = std::make_unique<LCTreeExpansion>(*m_treeView, *m_treeModel);
    m_projectModel = new LCProjectInfoModel(this);
    // a renamed project is renamed in the tree at once
    connect(
        m_projectModel, &QAbstractItemModel::dataChanged, m_treeModel, &LCTreeModel::rootChanged);
    m_panelModel = new LCPanelInfoModel(this);
    m_loopModel = new LCLoopModel(this);
    m_deviceModel = new LCDeviceModel(this);

    for (int row = 0; row < kProjectRows; ++row) {
        m_projectTextDelegates << new LCItemDelegate(kTextEditor, this);
    }
    m_panelNoteDelegate = new LCItemDelegate(kTextEditor, this);
    const auto combo = [this](const QStringList &items) {
        auto *delegate = new LCItemDelegate(kComboEditor, this);
        delegate->setItems(items, {});
        return delegate;
    };
    m_cardsUpTo32Delegate = combo(quantities(kMaxSmallPanelCards));
    m_cardsUpTo3Delegate = combo(quantities(kMaxLargePanelLoopCards));
    m_cardsUpTo8Delegate = combo(quantities(kMaxZcpCards));
    m_cardsUpTo1Delegate = combo(quantities(1));
    m_cardsUpTo2Delegate = combo(quantities(kMaxCanCards));
    m_slotCardDelegate = combo({tr("Optical Card"), tr("Hyper Network"), tr("None")});
    m_firstLengthDelegate = new LCItemDelegate(kIntegerEditor, this);
    m_lastLengthDelegate = new LCItemDelegate(kIntegerEditor, this);

    m_deviceLengthDelegate = new LCItemDelegate(kIntegerEditor, this);
    m_deviceTypeDelegate = new LCItemDelegate(kIconComboEditor, this);
    m_deviceTypeDelegate->setUseCompleter(true);
    fillDeviceTypeItems();
    m_subTypeDelegate = new LCItemDelegate(kIconComboEditor, this);
    QStringList subTypeNames;
    QList<QIcon> subTypeIcons;
    for (const DevSubType &subType : LCDataStore::instance()->subTypes()) {
        subTypeNames << subType.name;
        subTypeIcons << LCIcons::subTypeIcon(subType.picture);
    }
    m_subTypeDelegate->setItems(subTypeNames, subTypeIcons);
    m_cableTypeDelegate = new LCItemDelegate(kComboEditor, this);
    fillCableTypeItems();

    connect(m_subTypeDelegate, &LCItemDelegate::sigCreateEditor, this,
        &MainWindow::slotUpdateDelegate, Qt::DirectConnection);
}

void MainWindow::fillDeviceTypeItems()
{
    QStringList names;
    QList<QIcon> icons;
    for (const DeviceType &type : LCDataStore::instance()->deviceTypes()) {
        names << type.Name;
        icons << LCIcons::deviceIcon(type.IcoID);
    }
    m_deviceTypeDelegate->setItems(names, icons);
}

void MainWindow::fillCableTypeItems()
{
    QStringList names;
    for (const WireType &type : LCDataStore::instance()->wireTypes()) {
        names << type.Name;
    }
    m_cableTypeDelegate->setItems(names, {});
}

void MainWindow::resetViews(Reset reset)
{
    LCProject *project = LCDataStore::instance()->project();
    if (!project) {
        return;
    }
    detachGrids();
    m_treeModel->setRoot(project);
    attachTree();
    // another library may have come with the project
    fillDeviceTypeItems();
    fillCableTypeItems();
    setButtonsFor(nullptr);
    m_resultPane->clear();
    if (reset == Reset::SameProject) {
        // what the caller saved before it changed the tree
        m_treeExpansion->restore();
        return;
    }
    // a new project: panels, their loop lists and loops in view at once, nothing shown, nothing
    // calculated yet
    m_treeView->expandToDepth(kExpandedTreeDepth);
    m_resultDock->hide();
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

void MainWindow::detachGrids()
{
    // the editors go with the grid they were attached for, before anything else is shown
    m_gridView->clearDelegates();
    QItemSelectionModel *const oldSelection = m_gridView->selectionModel();
    m_gridView->setModel(nullptr);
    if (oldSelection) {
        oldSelection->deleteLater();
    }
    m_deviceModel->setLoop(nullptr);
    m_loopModel->setController(nullptr);
    m_panelModel->setController(nullptr);
    m_projectModel->setProject(nullptr);
    m_shownObject = nullptr;
}

void MainWindow::showGrid(QAbstractItemModel *model, bool withHeaders)
{
    m_gridView->clearDelegates();
    // the view makes a new selection model for every model it is given and keeps the old ones
    QItemSelectionModel *const oldSelection = m_gridView->selectionModel();
    m_gridView->setModel(model);
    if (oldSelection && oldSelection != m_gridView->selectionModel()) {
        oldSelection->deleteLater();
    }
    m_gridView->horizontalHeader()->setVisible(withHeaders);
    m_gridView->verticalHeader()->setVisible(withHeaders);
    m_gridView->setMultiEdit(withHeaders);
}

void MainWindow::showObject(LCObject *object)
{
    if (!object || object == m_shownObject) {
        return;
    }
    switch (object->kind()) {
    case ObjectKind::Project:
        m_projectModel->setProject(object);
        showGrid(m_projectModel, false);
        setColumnWidths(kRecordColumnWidths);
        for (int row = 0; row < m_projectTextDelegates.size(); ++row) {
            m_gridView->setRowDelegate(row, m_projectTextDelegates.at(row));
        }
        break;
    case ObjectKind::Controller:
        m_panelModel->setController(object);
        showGrid(m_panelModel, false);
        setColumnWidths(kRecordColumnWidths);
        if (object->property(PropertyId::PanelType).toInt() == kLargePanelType) {
            m_gridView->setRowDelegate(kLoopCardRow, m_cardsUpTo3Delegate);
            m_gridView->setRowDelegate(kSecondCardRow, m_cardsUpTo8Delegate);
            m_gridView->setRowDelegate(kMainCardRow, m_cardsUpTo1Delegate);
            m_gridView->setRowDelegate(kCanCardRow, m_cardsUpTo2Delegate);
            m_gridView->setRowDelegate(kModbusCardRow, m_cardsUpTo1Delegate);
            m_gridView->setRowDelegate(kSlot1Row, m_slotCardDelegate);
            m_gridView->setRowDelegate(kSlot2Row, m_slotCardDelegate);
            m_gridView->setRowDelegate(kLargePanelNoteRow, m_panelNoteDelegate);
        } else {
            m_gridView->setRowDelegate(kLoopCardRow, m_cardsUpTo32Delegate);
            m_gridView->setRowDelegate(kSecondCardRow, m_cardsUpTo32Delegate);
            m_gridView->setRowDelegate(kSmallPanelNoteRow, m_panelNoteDelegate);
        }
        break;
    case ObjectKind::Plain:
        m_loopModel->setController(object->parent());
        showGrid(m_loopModel, true);
        setColumnWidths(kLoopColumnWidths);
        m_gridView->setColumnDelegate(kFirstLengthColumn, m_firstLengthDelegate);
        m_gridView->setColumnDelegate(kLastLengthColumn, m_lastLengthDelegate);
        break;
    case ObjectKind::Loop:
        m_deviceModel->setLoop(object);
        showGrid(m_deviceModel, true);
        setColumnWidths(kDeviceColumnWidths);
        m_gridView->setColumnDelegate(kDeviceLengthColumn, m_deviceLengthDelegate);
        m_gridView->setColumnDelegate(kDeviceTypeColumn, m_deviceTypeDelegate);
        m_gridView->setColumnDelegate(kSubTypeColumn, m_subTypeDelegate);
        m_gridView->setColumnDelegate(kCableTypeColumn, m_cableTypeDelegate);
        break;
    case ObjectKind::Device:
        break;
    }
    m_shownObject = object;
}

template <std::size_t Columns>
void MainWindow::setColumnWidths(const int (&widths)[Columns])
{
    // the widths are minimums: a header or a name wider than its column is not cut off, up to
    // a width that leaves the other columns in reach
    for (int column = 0; column < int(Columns); ++column) {
        m_gridView->fitColumn(column, widths[column]);
    }
}

LCObject *MainWindow::currentObject() const
{
    const QModelIndex index = m_treeView->currentIndex();
    return index.isValid() ? static_cast<LCObject *>(index.internalPointer()) : nullptr;
}

void MainWindow::setButtonsFor(const LCObject *object)
{
    const ObjectKind kind = object ? object->kind() : ObjectKind::Project;
    const bool panel = kind == ObjectKind::Controller;
    const bool loopOrLoops = kind == ObjectKind::Loop || kind == ObjectKind::Plain;
    m_calculateButton->setEnabled(panel || loopOrLoops);
    m_reportButton->setEnabled(panel || loopOrLoops);
    m_batteryButton->setEnabled(panel);
}

void MainWindow::slotTreeItemClicked()
{
    if (!m_treeView->currentIndex().isValid()) {
        return;
    }
    LCObject *const object = currentObject();
    showObject(object);
    setButtonsFor(object);
    if (m_resultDock->isVisible()) {
        showResultOf(object);
    }
}

void MainWindow::showResultOf(const LCObject *object)
{
    m_resultPane->setPlainText(object ? LCResultText::paneText(*object) : QString());
}

void MainWindow::objectChanged(LCObject *object, ChangeKind)
{
    // a loop's results were computed or made stale: the pane must not show the old ones
    const LCObject *const shown = currentObject();
    if (!shown || !object || !m_resultDock->isVisible()) {
        return;
    }
    const LCObject *const panel = object->parent();
    if (shown == object || shown == panel
        || (shown->parent() == panel && shown != object && shown->kind() == ObjectKind::Plain)) {
        showResultOf(shown);
    }
}

void MainWindow::updateTitle()
{
    const LCDataStore *const store = LCDataStore::instance();
    const QString path = store->projectFilePath();
    setWindowFilePath(path);
    // the placeholder is where the unsaved-change marker goes
    setWindowTitle(QFileInfo(path).fileName() + QStringLiteral("[*] - Mirel"));
    setWindowModified(store->project() && store->anyChanged());
}

void MainWindow::slotUpdateDelegate(const QModelIndex &index)
{
    if (sender() != m_subTypeDelegate || !m_shownObject) {
        return;
    }
    const LCObject *const device = m_shownObject->child(index.row());
    if (!device) {
        return;
    }
    const LCDataStore *store = LCDataStore::instance();
    const QList<int> ids =
        store->deviceTypes().value(device->property(PropertyId::deviceTypeid).toInt()).SubType;
    const QMap<int, DevSubType> subTypes = store->subTypes();
    QStringList names;
    QList<QIcon> icons;
    for (const int id : ids) {
        const DevSubType subType = subTypes.value(id);
        names << subType.name;
        icons << LCIcons::subTypeIcon(subType.picture);
    }
    m_subTypeDelegate->setItems(names, icons);
}

bool MainWindow::saveTo(const QString &path)
{
    LCDataStore *store = LCDataStore::instance();
    QString error;
    if (!store->saveProject(path, &error)) {
        const QString file =
            QDir::toNativeSeparators(path.isEmpty() ? store->workingFilePath() : path);
        m_prompter->information(
            this, tr("Error"), tr("The project could not be saved to %1: %2").arg(file, error));
        return false;
    }
    return true;
}

bool MainWindow::saveChangesIfWanted()
{
    if (!LCDataStore::instance()->anyChanged()) {
        return true;
    }
    const LCPrompter::Answer answer = m_prompter->questionWithCancel(
        this, tr("Information"), tr("Do you want to save the change?"));
    switch (answer) {
    case LCPrompter::Answer::Yes:
        return saveTo(QString());
    case LCPrompter::Answer::No:
        return true;
    case LCPrompter::Answer::Cancel:
        break;
    }
    return false;
}

QString MainWindow::chosenSaveFile()
{
    QString path = m_prompter->saveFileName(
        this, tr("Save as..."), QDir::currentPath(), tr("XML Files (*.xml)"));
    if (path.isEmpty() || !QFileInfo(path).suffix().isEmpty()) {
        return path;
    }
    path += QLatin1Char('.') + kProjectSuffix;
    // the file dialog asked about the name without the suffix, not about this one
    if (QFileInfo::exists(path)
        && m_prompter->question(this, tr("Information"),
               tr("%1 already exists.\nDo you want to replace it?")
                   .arg(QDir::toNativeSeparators(path)))
            != LCPrompter::Answer::Yes) {
        return QString();
    }
    return path;
}

void MainWindow::slotNew()
{
    if (!saveChangesIfWanted()) {
        return;
    }
    // the dialog creates the project and hands it to the library, which destroys the old one:
    // nothing may show it meanwhile
    const LCProject *const before = LCDataStore::instance()->project();
    m_treeExpansion->save();
    detachGrids();
    m_treeModel->setRoot(nullptr);
    LCProjectInfoDlg dialog(*m_prompter);
    m_prompter->exec(dialog);
    // cancelled: the same project, as the user left it
    resetViews(
        LCDataStore::instance()->project() == before ? Reset::SameProject : Reset::NewProject);
}

void MainWindow::slotOpen()
{
    if (!saveChangesIfWanted()) {
        return;
    }
    const QString path = m_prompter->openFileName(
        this, tr("Open a Project"), QDir::currentPath(), tr("XBEL Files (*.xbel *.xml)"));
    if (path.isEmpty()) {
        return;
    }
    // nothing may show the old project while it is replaced
    m_treeExpansion->save();
    detachGrids();
    m_treeModel->setRoot(nullptr);
    if (LCDataStore::instance()->loadProject(path).projectRead) {
        resetViews();
        return;
    }
    resetViews(Reset::SameProject);
    m_prompter->information(this, tr("Infomation"), tr("Open project failed!"));
}

void MainWindow::slotSave()
{
    if (saveTo(QString())) {
        m_prompter->information(this, tr("Infomation"), tr("Save Sucessful!"));
    }
}

void MainWindow::slotSaveAs()
{
    const QString path = chosenSaveFile();
    if (!path.isEmpty() && saveTo(path)) {
        m_prompter->information(this, tr("Infomation"), tr("Save Sucessful!"));
    }
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
    const LCDataStore *store = LCDataStore::instance();
    if (!store->project()) {
        m_prompter->information(this, tr("Information"), tr("No project exists!"));
        return;
    }
    LCDefineDlg dialog(*m_prompter, this);
    m_prompter->exec(dialog);
    // the flags may have been set before, so the names are taken afresh whatever they say
    fillDeviceTypeItems();
    fillCableTypeItems();
    // names and unknown types shown in the grid follow the library
    if (auto *const grid = qobject_cast<LCTableModel *>(m_gridView->model())) {
        grid->refresh();
    }
}

void MainWindow::slotBattery()
{
    if (!LCDataStore::instance()->project()) {
        m_prompter->information(this, tr("Information"), tr("No project exists!"));
        return;
    }
    LCObject *const object = currentObject();
    if (!object) {
        return;
    }
    LCBatteryDlg dialog(object, *m_prompter, this);
    m_prompter->exec(dialog);
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
    if (saveChangesIfWanted()) {
        event->accept();
    } else {
        event->ignore();
    }
}

void MainWindow::slotCalc()
{
    LCProject *project = LCDataStore::instance()->project();
    if (!project) {
        m_prompter->information(this, tr("Information"), tr("No project exists!"));
        return;
    }
    LCObject *object = currentObject();
    if (!object) {
        return;
    }
    if (object->kind() == ObjectKind::Plain) {
        object = object->parent();
    }
    if (object->kind() == ObjectKind::Controller) {
        calculatePanel(object);
    } else if (object->kind() == ObjectKind::Loop) {
        if (!calculateLoop(object)) {
            return;
        }
    }
    showResultOf(object);
    m_resultDock->setVisible(true);
    project->setProperty(PropertyId::Date, QDate::currentDate().toString(kDateFormat));
}

void MainWindow::calculatePanel(LCObject *object)
{
    auto *panel = static_cast<LCController *>(object);
    const LCPanelSummary::Outcome outcome = LCPanelSummary::calculatePanel(*panel);
    if (outcome.anyLoopFails) {
        if (m_prompter->question(this, tr("Information"), tr("Do you want to create a report?"))
            == LCPrompter::Answer::Yes) {
            slotReport();
        }
    } else if (!outcome.hasLoops) {
        m_prompter->information(this, tr("Information"), tr("All the loop is blank"));
    }
    const QModelIndex current = m_treeView->currentIndex();
    m_treeView->expand(current);
    m_treeView->expand(m_treeModel->index(0, 0, current));
}

bool MainWindow::calculateLoop(LCObject *object)
{
    auto *loop = static_cast<LCLoop *>(object);
    loop->setProperty(PropertyId::ResultText, QString());
    if (loop->isEmpty()) {
        m_prompter->information(this, tr("Information"),
            tr("Loop") + QString::number(loop->property(PropertyId::Loopid).toInt())
                + tr(" is blank!"));
        return false;
    }
    LCLoopCalculator::fromLibrary().calculateLoop(*loop);
    LCLoopVerdict::verdictText(*loop);
    if (loop->property(PropertyId::LoopStatus).toInt() == LoopStatusValue::Fails
        && m_prompter->question(this, tr("Information"), tr("Do you want to create a report"))
            == LCPrompter::Answer::Yes) {
        slotReport();
    }
    m_deviceModel->refresh();
    return true;
}

LCLoop *MainWindow::shownLoop() const
{
    return m_gridView->model() == m_deviceModel ? m_deviceModel->loop() : nullptr;
}

LCController *MainWindow::shownLoopsPanel() const
{
    return m_gridView->model() == m_loopModel ? m_loopModel->controller() : nullptr;
}

QModelIndex MainWindow::treeIndexOf(const LCObject *object) const
{
    // the path from the project down to object, then the same path through the model
    QList<const LCObject *> path;
    for (const LCObject *step = object; step; step = step->parent()) {
        path.prepend(step);
    }
    QModelIndex index = m_treeModel->index(0, 0, QModelIndex());
    for (int i = 1; i < path.size() && index.isValid(); ++i) {
        const LCObject *step = path.at(i);
        int row = 0;
        if (step->kind() == ObjectKind::Loop) {
            // below a panel the tree goes through its "Loops" item
            index = m_treeModel->index(0, 0, index);
            row = step->parent()->indexOf(step);
        } else if (step->kind() != ObjectKind::Plain) {
            row = step->parent()->indexOf(step);
        }
        index = m_treeModel->index(row, 0, index);
    }
    return index;
}

void MainWindow::refreshTreeKeeping(const LCObject *object)
{
    m_treeExpansion->save();
    m_treeModel->refresh();
    m_treeExpansion->restore();
    const QModelIndex index = treeIndexOf(object);
    m_treeView->setCurrentIndex(index);
    for (QModelIndex step = index; step.isValid(); step = step.parent()) {
        m_treeView->expand(step);
    }
}

std::unique_ptr<QMenu> MainWindow::gridContextMenu()
{
    auto menu = std::make_unique<QMenu>(this);
    // a full loop or panel says why nothing more can be added
    menu->setToolTipsVisible(true);
    const QModelIndex current = m_gridView->currentIndex();
    if (!current.isValid() || current.column() != 0) {
        return menu;
    }
    if (const LCLoop *loop = shownLoop()) {
        addDeviceEntry(*menu, *loop);
        if (!loop->isEmpty()) {
            menu->addAction(
                QIcon(":/img/del.png"), tr("Delete Device"), this, &MainWindow::slotDeleteDevice);
        }
        if (current.row() != 0) {
            if (current.data().toString() == tr("Trunk")) {
                menu->addAction(
                    QIcon(":/img/branch.png"), tr("Set Branch"), this, &MainWindow::slotBranch);
            } else {
                menu->addAction(
                    QIcon(":/img/trunk.png"), tr("Set Trunk"), this, &MainWindow::slotTrunk);
            }
        }
    } else if (const LCController *panel = shownLoopsPanel()) {
        addLoopEntry(*menu, *panel);
        if (!panel->isEmpty()) {
            menu->addAction(
                QIcon(":/img/del.png"), tr("Delete Loop"), this, &MainWindow::slotDeleteLoop);
        }
    }
    return menu;
}

std::unique_ptr<QMenu> MainWindow::treeContextMenu()
{
    auto menu = std::make_unique<QMenu>(this);
    menu->setToolTipsVisible(true);
    const LCObject *object = currentObject();
    if (!object) {
        return menu;
    }
    switch (object->kind()) {
    case ObjectKind::Project:
        menu->addAction(
            QIcon(":/img/add.png"), tr("Add FACP"), this, &MainWindow::slotAddController);
        break;
    case ObjectKind::Controller:
        menu->addAction(
            QIcon(":/img/del.png"), tr("Delete AFCP"), this, &MainWindow::slotDeleteController);
        break;
    case ObjectKind::Loop:
        addDeviceEntry(*menu, static_cast<const LCLoop &>(*object));
        break;
    case ObjectKind::Plain:
        if (const LCObject *panel = object->parent();
            panel && panel->kind() == ObjectKind::Controller) {
            addLoopEntry(*menu, static_cast<const LCController &>(*panel));
        }
        break;
    case ObjectKind::Device:
        break;
    }
    return menu;
}

void MainWindow::addDeviceEntry(QMenu &menu, const LCLoop &loop)
{
    QAction *const add =
        menu.addAction(QIcon(":/img/add.png"), tr("Add Device"), this, &MainWindow::slotAddDevice);
    if (loop.isFull()) {
        add->setEnabled(false);
        add->setToolTip(
            tr("The loop holds its maximum of %1 devices.").arg(LCLoop::kMaxDevices + 1));
    }
}

void MainWindow::addLoopEntry(QMenu &menu, const LCController &panel)
{
    QAction *const add =
        menu.addAction(QIcon(":/img/add.png"), tr("Add Loop"), this, &MainWindow::slotAddLoop);
    if (panel.isFull()) {
        add->setEnabled(false);
        add->setToolTip(tr("The panel holds its maximum of %1 loops.").arg(panel.childCount()));
    }
}

void MainWindow::slotViewContextMenu(const QPoint &position)
{
    const std::unique_ptr<QMenu> menu = gridContextMenu();
    if (!menu->isEmpty()) {
        menu->exec(m_gridView->viewport()->mapToGlobal(position));
    }
}

void MainWindow::slotViewProjectContextMenu(const QPoint &position)
{
    // the menu is about the item under the mouse, which becomes the one shown
    const QModelIndex under = m_treeView->indexAt(position);
    if (under.isValid()) {
        m_treeView->setCurrentIndex(under);
    }
    slotTreeItemClicked();
    const std::unique_ptr<QMenu> menu = treeContextMenu();
    if (!menu->isEmpty()) {
        menu->exec(m_treeView->viewport()->mapToGlobal(position));
    }
}

void MainWindow::slotAddDevice()
{
    LCLoop *const loop = shownLoop();
    if (!loop) {
        return;
    }
    const QModelIndex current = m_gridView->currentIndex();
    const int position =
        current.isValid() ? std::min(current.row() + 1, loop->childCount()) : loop->childCount();
    auto device = std::make_unique<LCDevice>(loop);
    device->setProperty(PropertyId::deviceTypeid, LCDevice::kDefaultDeviceType);
    device->setProperty(PropertyId::pos, 0.0f);
    device->setProperty(PropertyId::truck, 0);
    device->setProperty(PropertyId::CableType, loop->property(PropertyId::LoopCableType).toInt());
    device->setProperty(PropertyId::Relay, false);
    loop->insertChild(std::move(device), position);
    m_deviceModel->refresh();
}

void MainWindow::slotDeleteDevice()
{
    LCLoop *const loop = shownLoop();
    const QList<int> rows = selectedRowsDescending(m_gridView->selectionModel());
    if (!loop || rows.isEmpty()) {
        return;
    }
    // exactly the devices whose rows hold a selected cell, each once
    for (const int row : rows) {
        loop->removeChild(row);
    }
    m_deviceModel->refresh();
}

void MainWindow::slotTrunk()
{
    LCLoop *const loop = shownLoop();
    if (!loop) {
        return;
    }
    const QModelIndexList selected = m_gridView->selectionModel()->selectedIndexes();
    const LCObject *first = selected.isEmpty() ? nullptr : loop->child(selected.first().row());
    const int branch = first ? first->property(PropertyId::truck).toInt() : 0;
    for (int row = 0; row < loop->childCount(); ++row) {
        LCObject *const device = loop->child(row);
        if (device->property(PropertyId::truck).toInt() == branch) {
            device->setProperty(PropertyId::truck, 0);
            device->setProperty(PropertyId::Relay, false);
            m_gridView->setRowHidden(row, false);
        }
    }
}

void MainWindow::slotBranch()
{
    LCLoop *const loop = shownLoop();
    if (!loop) {
        return;
    }
    const bool relay =
        m_prompter->question(this, tr("Information"), tr("Do you want to set a relay"))
        == LCPrompter::Answer::Yes;
    const QModelIndexList selected = m_gridView->selectionModel()->selectedIndexes();
    if (selected.isEmpty()) {
        return;
    }
    const int branch = selected.first().row();
    for (const QModelIndex &index : selected) {
        const int row = index.row();
        if (row == 0) {
            m_prompter->information(
                this, tr("Information"), tr("Can not set a relay from the 1st device"));
            return;
        }
        LCObject *const device = loop->child(row);
        if (!device) {
            continue;
        }
        device->setProperty(PropertyId::truck, branch);
        if (relay) {
            device->setProperty(PropertyId::Relay, true);
        }
        if (row != branch) {
            m_gridView->setRowHidden(row, true);
        }
    }
}

void MainWindow::slotViewClicked()
{
    const QModelIndex current = m_gridView->currentIndex();
    const LCLoop *loop = shownLoop();
    if (!loop || !current.isValid() || current.column() != 0) {
        return;
    }
    const LCObject *clicked = loop->child(current.row());
    const int branch = clicked ? clicked->property(PropertyId::truck).toInt() : 0;
    if (branch == 0) {
        return;
    }
    // the branch folds under its first device and unfolds again
    bool first = true;
    for (int row = 0; row < loop->childCount(); ++row) {
        if (loop->child(row)->property(PropertyId::truck).toInt() != branch) {
            continue;
        }
        if (first) {
            first = false;
            continue;
        }
        m_gridView->setRowHidden(row, m_gridView->rowHeight(row) != 0);
    }
}

void MainWindow::slotAddLoop()
{
    // from the grid's menu or the tree's: the panel of the loop list on show
    LCController *const panel = shownLoopsPanel();
    if (!panel) {
        return;
    }
    LCLoopInfoDlg dialog(panel, *m_prompter, this);
    if (m_prompter->exec(dialog) != QDialog::Accepted) {
        return;
    }
    m_loopModel->refresh();
    refreshTreeKeeping(panel->loopsNode());
}

void MainWindow::slotDeleteLoop()
{
    LCController *const panel = shownLoopsPanel();
    const QList<int> rows = selectedRowsDescending(m_gridView->selectionModel());
    if (!panel || rows.isEmpty()) {
        return;
    }
    // nothing may show a loop about to go
    m_deviceModel->setLoop(nullptr);
    for (const int row : rows) {
        panel->removeChild(row);
    }
    m_loopModel->refresh();
    refreshTreeKeeping(panel->loopsNode());
}

void MainWindow::slotAddController()
{
    LCControllerInfoDlg dialog(*m_prompter, this);
    if (m_prompter->exec(dialog) != QDialog::Accepted) {
        return;
    }
    // the new panel is shown, with the tree open down to its loop list
    LCProject *const project = LCDataStore::instance()->project();
    const LCObject *const added = dialog.createdPanel();
    m_treeExpansion->save();
    m_treeExpansion->open(project);
    m_treeExpansion->open(added);
    resetViews(Reset::SameProject);
    m_treeView->setCurrentIndex(treeIndexOf(added ? added : project));
}

void MainWindow::slotDeleteController()
{
    LCObject *const panel = currentObject();
    LCProject *const project = LCDataStore::instance()->project();
    if (!panel || panel->kind() != ObjectKind::Controller || !project) {
        return;
    }
    // nothing may show the panel while it goes
    m_treeExpansion->save();
    detachGrids();
    m_treeModel->setRoot(nullptr);
    project->removeChild(panel);
    resetViews(Reset::SameProject);
    m_treeView->setCurrentIndex(treeIndexOf(project));
}
