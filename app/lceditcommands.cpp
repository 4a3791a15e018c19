#include "app/lceditcommands.h"

#include "app/commands/lcadddevicecommand.h"
#include "app/commands/lcinsertcommand.h"
#include "app/commands/lcpropertycommand.h"
#include "app/commands/lcremovecommand.h"
#include "app/commands/lcsetbranchcommand.h"
#include "app/commands/lcsettrunkcommand.h"
#include "app/lcmainactions.h"
#include "app/lcobjectgrids.h"
#include "calc/ui/lcloopinfodlg.h"
#include "definitions/lcdatastore.h"
#include "grids/lcdevicemodel.h"
#include "grids/lcloopmodel.h"
#include "grids/ui/lccontrollerinfodlg.h"
#include "grids/ui/lcprompter.h"
#include "grids/ui/lctableview.h"
#include "model/lccontroller.h"
#include "model/lcloop.h"

#include <QAction>
#include <QMenu>
#include <QUndoStack>
#include <QWidget>

LCEditCommands::LCEditCommands(
    Views views, LCMainActions &actions, QUndoStack &stack, LCPrompter &prompter, QWidget *window)
    : QObject(window)
    , m_views(std::move(views))
    , m_actions(actions)
    , m_stack(stack)
    , m_prompter(prompter)
    , m_window(window)
{
    const std::pair<QAction *, void (LCEditCommands::*)()> commands[] = {
        {actions.undo, &LCEditCommands::undo}, {actions.redo, &LCEditCommands::redo},
        {actions.addDevice, &LCEditCommands::addDevice},
        {actions.deleteDevice, &LCEditCommands::deleteDevices},
        {actions.setBranch, &LCEditCommands::setBranch},
        {actions.setTrunk, &LCEditCommands::setTrunk}, {actions.addLoop, &LCEditCommands::addLoop},
        {actions.deleteLoop, &LCEditCommands::deleteLoops},
        {actions.addPanel, &LCEditCommands::addPanel},
        {actions.deletePanel, &LCEditCommands::deletePanel}};
    for (const auto &[action, slot] : commands) {
        connect(action, &QAction::triggered, this, slot);
    }
}

LCLoop *LCEditCommands::shownLoop() const
{
    return m_views.grids.shownModel() == &m_views.grids.devices() ? m_views.grids.devices().loop()
                                                                  : nullptr;
}

LCController *LCEditCommands::shownLoopsPanel() const
{
    return m_views.grids.shownModel() == &m_views.grids.loops() ? m_views.grids.loops().controller()
                                                                : nullptr;
}

void LCEditCommands::updateActions()
{
    const LCObject *const object = m_views.currentObject();
    const LCLoop *const loop = shownLoop();
    const bool rows = !selectedRows().isEmpty();
    m_actions.addDevice->setEnabled(loop && !loop->isFull());
    m_actions.addDevice->setToolTip(loop && loop->isFull()
            ? tr("The loop holds its maximum of %1 devices.").arg(LCLoop::kMaxDevices + 1)
            : QString());
    m_actions.deleteDevice->setEnabled(loop && rows);
    const QModelIndex current = m_views.grids.view().currentIndex();
    const LCObject *const device = loop && current.row() > 0 ? loop->child(current.row()) : nullptr;
    const bool onBranch = device && device->property(PropertyId::truck).toInt() != 0;
    m_actions.setBranch->setEnabled(device && !onBranch);
    m_actions.setTrunk->setEnabled(onBranch);

    const LCController *const loops = shownLoopsPanel();
    m_actions.addLoop->setEnabled(loops && !loops->isFull());
    m_actions.addLoop->setToolTip(loops && loops->isFull()
            ? tr("The panel holds its maximum of %1 loops.").arg(loops->childCount())
            : QString());
    m_actions.deleteLoop->setEnabled(loops && rows);
    m_actions.addPanel->setEnabled(LCDataStore::instance()->project() != nullptr);
    m_actions.deletePanel->setEnabled(object && object->kind() == ObjectKind::Controller
        && m_views.grids.view().model() != nullptr);
}

QList<int> LCEditCommands::selectedRows() const
{
    QList<int> rows;
    const QItemSelectionModel *const selection = m_views.grids.view().selectionModel();
    if (!selection) {
        return rows;
    }
    for (const QModelIndex &index : selection->selectedIndexes()) {
        if (!rows.contains(index.row())) {
            rows << index.row();
        }
    }
    return rows;
}

std::unique_ptr<QMenu> LCEditCommands::gridContextMenu()
{
    auto menu = std::make_unique<QMenu>(m_window);
    // a full loop or panel says why nothing more can be added
    menu->setToolTipsVisible(true);
    updateActions();
    const QModelIndex current = m_views.grids.view().currentIndex();
    if (!current.isValid() || current.column() != 0) {
        return menu;
    }
    if (const LCLoop *loop = shownLoop()) {
        menu->addAction(m_actions.addDevice);
        if (!loop->isEmpty()) {
            menu->addAction(m_actions.deleteDevice);
        }
        if (current.row() != 0) {
            menu->addAction(current.data().toString() == LCDeviceModel::tr("Trunk")
                    ? m_actions.setBranch
                    : m_actions.setTrunk);
        }
    } else if (const LCController *panel = shownLoopsPanel()) {
        menu->addAction(m_actions.addLoop);
        if (!panel->isEmpty()) {
            menu->addAction(m_actions.deleteLoop);
        }
    }
    return menu;
}

std::unique_ptr<QMenu> LCEditCommands::treeContextMenu()
{
    auto menu = std::make_unique<QMenu>(m_window);
    menu->setToolTipsVisible(true);
    updateActions();
    const LCObject *object = m_views.currentObject();
    if (!object) {
        return menu;
    }
    switch (object->kind()) {
    case ObjectKind::Project:
        menu->addAction(m_actions.addPanel);
        break;
    case ObjectKind::Controller:
        menu->addAction(m_actions.deletePanel);
        break;
    case ObjectKind::Loop:
        menu->addAction(m_actions.addDevice);
        break;
    case ObjectKind::Plain:
        menu->addAction(m_actions.addLoop);
        break;
    case ObjectKind::Device:
        break;
    }
    return menu;
}

void LCEditCommands::addDevice()
{
    LCLoop *const loop = shownLoop();
    if (!loop || loop->isFull()) {
        return;
    }
    const QModelIndex current = m_views.grids.view().currentIndex();
    const int position = current.isValid() ? current.row() + 1 : loop->childCount();
    m_stack.push(new LCAddDeviceCommand(*loop, position));
    m_views.grids.devices().refresh();
}

void LCEditCommands::deleteDevices()
{
    LCLoop *const loop = shownLoop();
    const QList<int> rows = selectedRows();
    if (!loop || rows.isEmpty()) {
        return;
    }
    // exactly the devices whose rows hold a selected cell, each once
    m_stack.push(new LCRemoveCommand(*loop, rows, tr("Delete Device")));
    m_views.grids.devices().refresh();
}

void LCEditCommands::setTrunk()
{
    LCLoop *const loop = shownLoop();
    const QList<int> rows = selectedRows();
    const LCObject *const first = loop && !rows.isEmpty() ? loop->child(rows.first()) : nullptr;
    if (!first) {
        return;
    }
    const int branch = first->property(PropertyId::truck).toInt();
    m_stack.push(new LCSetTrunkCommand(*loop, branch));
    for (int row = 0; row < loop->childCount(); ++row) {
        if (m_views.grids.view().isRowHidden(row)
            && loop->child(row)->property(PropertyId::truck) == 0) {
            m_views.grids.view().setRowHidden(row, false);
        }
    }
    m_views.grids.devices().refreshCells();
}

void LCEditCommands::setBranch()
{
    LCLoop *const loop = shownLoop();
    if (!loop) {
        return;
    }
    const bool relay =
        m_prompter.question(m_window, tr("Information"), tr("Do you want to set a relay"))
        == LCPrompter::Answer::Yes;
    const QModelIndexList selected = m_views.grids.view().selectionModel()->selectedIndexes();
    QList<int> rows;
    for (const QModelIndex &index : selected) {
        rows << index.row();
    }
    auto *const command = new LCSetBranchCommand(*loop, rows, relay);
    const bool stopped = command->stoppedAtFirstDevice();
    m_stack.push(command);
    if (stopped) {
        m_prompter.information(
            m_window, tr("Information"), tr("Can not set a relay from the 1st device"));
    }
    // the branch folds under its first device
    for (const int row : rows) {
        if (row == 0) {
            break;
        }
        m_views.grids.view().setRowHidden(row, row != rows.first());
    }
    m_views.grids.devices().refreshCells();
}

void LCEditCommands::toggleBranch()
{
    const QModelIndex current = m_views.grids.view().currentIndex();
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
        if (!first) {
            m_views.grids.view().setRowHidden(row, m_views.grids.view().rowHeight(row) != 0);
        }
        first = false;
    }
}

void LCEditCommands::addLoop()
{
    // from the grid's menu or the tree's: the panel of the loop list on show
    LCController *const panel = shownLoopsPanel();
    if (!panel || panel->isFull()) {
        return;
    }
    const LCPropertyMap before = panel->properties();
    LCLoopInfoDlg dialog(panel, m_prompter, m_window);
    if (m_prompter.exec(dialog) != QDialog::Accepted || !dialog.createdLoop()) {
        return;
    }
    m_stack.push(new LCInsertCommand(*panel, *dialog.createdLoop(), before, tr("Add Loop")));
    m_views.changeStructure([] {}, panel->loopsNode());
    // the new loop in view, also when it is the first and its list had nothing to open
    m_views.expand(panel->loopsNode());
}

void LCEditCommands::deleteLoops()
{
    LCController *const panel = shownLoopsPanel();
    const QList<int> rows = selectedRows();
    if (!panel || rows.isEmpty()) {
        return;
    }
    m_views.changeStructure(
        [this, panel, rows] { m_stack.push(new LCRemoveCommand(*panel, rows, tr("Delete Loop"))); },
        panel->loopsNode());
}

void LCEditCommands::addPanel()
{
    LCProject *const project = LCDataStore::instance()->project();
    if (!project) {
        return;
    }
    const LCPropertyMap before = project->properties();
    LCControllerInfoDlg dialog(m_prompter, m_window);
    if (m_prompter.exec(dialog) != QDialog::Accepted || !dialog.createdPanel()) {
        return;
    }
    // the new panel is shown, with the tree open down to its loop list
    LCController *const added = dialog.createdPanel();
    m_stack.push(new LCInsertCommand(*project, *added, before, tr("Add FACP")));
    m_views.changeStructure([] {}, added);
    m_views.expand(project);
    m_views.expand(added);
}

void LCEditCommands::deletePanel()
{
    LCObject *const panel = m_views.currentObject();
    LCProject *const project = LCDataStore::instance()->project();
    if (!panel || panel->kind() != ObjectKind::Controller || !project) {
        return;
    }
    const QList<int> rows{project->indexOf(panel)};
    m_views.changeStructure(
        [this, project, rows] {
            m_stack.push(new LCRemoveCommand(*project, rows, tr("Delete AFCP")));
        },
        project);
}

void LCEditCommands::undo()
{
    takeStep(true);
}

void LCEditCommands::redo()
{
    takeStep(false);
}

void LCEditCommands::takeStep(bool back)
{
    const auto step = [this, back] { back ? m_stack.undo() : m_stack.redo(); };
    // A step of values leaves every row where it is: the views only read their texts again,
    // so a 241-cell edit is taken back as quickly as it was made. Other steps rebuild them.
    const int index = m_stack.index() - (back ? 1 : 0);
    if (!dynamic_cast<const LCPropertyCommand *>(m_stack.command(index))) {
        m_views.changeStructure(step, m_views.currentObject());
        return;
    }
    step();
    if (LCTableModel *const grid = m_views.grids.shownModel()) {
        grid->refreshCells();
    }
    m_views.treeViewport.update();
}
