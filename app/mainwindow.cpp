#include "app/mainwindow.h"

#include "app/lcmessageboxprompter.h"
#include "app/lcprojectmodel.h"
#include "calc/lcloopcalculator.h"
#include "calc/lcloopverdict.h"
#include "definitions/lcdatastore.h"
#include "grids/lcdevicemodel.h"
#include "grids/lcicons.h"
#include "grids/ui/lcitemdelegate.h"
#include "grids/ui/lctableview.h"
#include "model/lccontroller.h"
#include "model/lcloop.h"
#include "model/lcobserverregistry.h"
#include "report/lcpanelsummary.h"

#include <QCloseEvent>
#include <QDate>
#include <QDir>
#include <QDockWidget>
#include <QHeaderView>
#include <QSplitter>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>
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

const QString kDateFormat = QStringLiteral("yyyy-MM-dd");
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
}

MainWindow::~MainWindow()
{
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

    auto *gridAndResult = new QWidget(this);
    auto *layout = new QVBoxLayout(gridAndResult);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_gridView, kGridShare);
    layout->addWidget(m_resultDock, kResultShare);
    m_resultDock->hide();

    auto *splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(m_treeView);
    splitter->addWidget(gridAndResult);
    splitter->setStretchFactor(0, kTreeStretch);
    splitter->setStretchFactor(1, kGridStretch);
    setCentralWidget(splitter);

    setMinimumSize(kMinimumWidth, kMinimumHeight);
    setWindowTitle(QStringLiteral("Mirel"));
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
    m_deviceModel = new LCDeviceModel(this);

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

void MainWindow::resetViews()
{
    LCProject *project = LCDataStore::instance()->project();
    if (!project) {
        return;
    }
    m_gridView->setModel(nullptr);
    m_deviceModel->setLoop(nullptr);
    m_treeModel->setRoot(project);
    m_treeView->setModel(m_treeModel);
    // panels, their loop lists and loops in view at once
    m_treeView->expandToDepth(kExpandedTreeDepth);
    m_shownObject = nullptr;
}

void MainWindow::showObject(LCObject *object)
{
    if (!object || object == m_shownObject) {
        return;
    }
    if (object->kind() == ObjectKind::Loop) {
        m_deviceModel->setLoop(object);
        m_gridView->clearDelegates();
        m_gridView->setModel(m_deviceModel);
        setColumnWidths(kDeviceColumnWidths);
        m_gridView->setColumnDelegate(kDeviceLengthColumn, m_deviceLengthDelegate);
        m_gridView->setColumnDelegate(kDeviceTypeColumn, m_deviceTypeDelegate);
        m_gridView->setColumnDelegate(kSubTypeColumn, m_subTypeDelegate);
        m_gridView->setColumnDelegate(kCableTypeColumn, m_cableTypeDelegate);
        m_gridView->horizontalHeader()->setVisible(true);
        m_gridView->verticalHeader()->setVisible(true);
        m_gridView->setMultiEdit(true);
    } else {
        // the grids of projects, panels and loop lists come with their own editors
        m_gridView->clearDelegates();
        m_gridView->setModel(nullptr);
    }
    m_shownObject = object;
}

template <std::size_t Columns>
void MainWindow::setColumnWidths(const int (&widths)[Columns])
{
    // the widths are minimums: a header or a name wider than its column is not cut off
    for (int column = 0; column < int(Columns); ++column) {
        m_gridView->resizeColumnToContents(column);
        m_gridView->setColumnWidth(
            column, std::max(widths[column], m_gridView->columnWidth(column)));
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
        m_resultPane->setPlainText(
            object ? object->property(PropertyId::ResultText).toString() : QString());
    }
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
    const LCPrompter::Answer answer =
        m_prompter->question(this, tr("Information"), tr("Do you want to save the change?"));
    return answer == LCPrompter::Answer::No || saveTo(QString());
}

void MainWindow::slotNew()
{
    // the project details dialog creates the new project
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
    if (LCDataStore::instance()->loadProject(path).projectRead) {
        resetViews();
    } else {
        m_prompter->information(this, tr("Infomation"), tr("Open project failed!"));
    }
}

void MainWindow::slotSave()
{
    if (saveTo(QString())) {
        m_prompter->information(this, tr("Infomation"), tr("Save Sucessful!"));
    }
}

void MainWindow::slotSaveAs()
{
    const QString path = m_prompter->saveFileName(
        this, tr("Save as..."), QDir::currentPath(), tr("XML Files (*.xml)"));
    if (!path.isEmpty() && saveTo(path)) {
        m_prompter->information(this, tr("Infomation"), tr("Save Sucessful!"));
    }
}

void MainWindow::slotReport()
{
    // the spreadsheet report of the selected panel or loop
}

void MainWindow::slotDefine()
{
    if (!LCDataStore::instance()->project()) {
        m_prompter->information(this, tr("Information"), tr("No project exists!"));
    }
}

void MainWindow::slotBattery()
{
    if (!LCDataStore::instance()->project()) {
        m_prompter->information(this, tr("Information"), tr("No project exists!"));
    }
}

void MainWindow::slotAbout()
{
}

void MainWindow::slotExit()
{
    close();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // a save that fails keeps the window open, so the work is not lost
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
    m_resultPane->setPlainText(object->property(PropertyId::ResultText).toString());
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

void MainWindow::slotViewClicked()
{
}

void MainWindow::slotViewContextMenu(const QPoint &)
{
}

void MainWindow::slotViewProjectContextMenu(const QPoint &)
{
    slotTreeItemClicked();
}
