#pragma once

#include <QList>
#include <QObject>

#include <functional>
#include <memory>

class LCController;
class LCLoop;
class LCMainActions;
class LCObject;
class LCObjectGrids;
class LCPrompter;
class QMenu;
class QUndoStack;
class QWidget;

// The commands that change the project's structure and a loop's topology: add and delete
// devices, loops and panels, put devices on a branch or back on the trunk, fold a branch in the
// grid, and Undo and Redo. Each change is one step on the undo stack. The device and loop commands
// act on the loop or panel the grid shows, the panel commands on the tree's current object; the
// Edit menu, the tool bar and both context menus share one action per command.
class LCEditCommands : public QObject
{
    Q_OBJECT

public:
    struct Views {
        LCObjectGrids &grids;
        // the object of the tree's current item, or null
        std::function<LCObject *()> currentObject;
        // runs a change that adds or removes objects while nothing shows the project, then
        // shows the object given, or what is left of the path to it
        std::function<void(const std::function<void()> &, const LCObject *)> changeStructure;
        // opens the tree's item of an object
        std::function<void(const LCObject *)> expand;
        // where the tree draws its items
        QWidget &treeViewport;
    };

    LCEditCommands(Views views,
        LCMainActions &actions,
        QUndoStack &stack,
        LCPrompter &prompter,
        QWidget *window);

    // Enables each command's action for what the grid and the tree show now.
    void updateActions();
    // The context menus as they would open now; empty when none would open.
    std::unique_ptr<QMenu> gridContextMenu();
    std::unique_ptr<QMenu> treeContextMenu();

    LCLoop *shownLoop() const;
    LCController *shownLoopsPanel() const;

public slots:
    // Undo and Redo, with the views brought up to date.
    void undo();
    void redo();
    void addDevice();
    void deleteDevices();
    void setTrunk();
    void setBranch();
    // A click on the topology cell of a branch device folds its branch or unfolds it.
    void toggleBranch();
    void addLoop();
    void deleteLoops();
    void addPanel();
    void deletePanel();

private:
    void takeStep(bool back);
    // Rows of the grid that hold a selected cell, each once, in selection order.
    QList<int> selectedRows() const;

    Views m_views;
    LCMainActions &m_actions;
    QUndoStack &m_stack;
    LCPrompter &m_prompter;
    QWidget *m_window;
};
