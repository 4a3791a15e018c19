#include "app/lcmainactions.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

namespace
{
constexpr int kToolIconSize = 32;
constexpr int kToolButtonWidth = 64;

// The platform's keys for a standard command, or the usual ones where it has none.
void setStandardKeys(QAction *action, QKeySequence::StandardKey key, const QString &fallback)
{
    const QList<QKeySequence> keys = QKeySequence::keyBindings(key);
    action->setShortcuts(keys.isEmpty() ? QList<QKeySequence>{QKeySequence(fallback)} : keys);
}
} // namespace

LCMainActions::LCMainActions(QMainWindow &window)
    : QObject(&window)
{
    newProject = make(tr("New"), QStringLiteral(":/img/newprj.png"));
    setStandardKeys(newProject, QKeySequence::New, QStringLiteral("Ctrl+N"));
    open = make(tr("Open"), QStringLiteral(":/img/open.png"));
    setStandardKeys(open, QKeySequence::Open, QStringLiteral("Ctrl+O"));
    save = make(tr("Save"), QStringLiteral(":/img/save.png"));
    setStandardKeys(save, QKeySequence::Save, QStringLiteral("Ctrl+S"));
    saveAs = make(tr("Save as"), QStringLiteral(":/img/saveAs.png"));
    setStandardKeys(saveAs, QKeySequence::SaveAs, QStringLiteral("Ctrl+Shift+S"));
    report = make(tr("Report"), QStringLiteral(":/img/print.png"));
    exportSheet = make(tr("Export Calculation Sheet..."), QString());
    printPreview = make(tr("Print Preview..."), QString());
    print = make(tr("Print..."), QString());
    setStandardKeys(print, QKeySequence::Print, QStringLiteral("Ctrl+P"));
    exit = make(tr("Exit"), QStringLiteral(":/img/exit.png"));
    setStandardKeys(exit, QKeySequence::Quit, QStringLiteral("Ctrl+Q"));
    undo = make(tr("Undo"), QString());
    setStandardKeys(undo, QKeySequence::Undo, QStringLiteral("Ctrl+Z"));
    redo = make(tr("Redo"), QString());
    setStandardKeys(redo, QKeySequence::Redo, QStringLiteral("Ctrl+Shift+Z"));
    addDevice = make(tr("Add Device"), QStringLiteral(":/img/add.png"));
    deleteDevice = make(tr("Delete Device"), QStringLiteral(":/img/del.png"));
    setBranch = make(tr("Set Branch"), QStringLiteral(":/img/branch.png"));
    setTrunk = make(tr("Set Trunk"), QStringLiteral(":/img/trunk.png"));
    addLoop = make(tr("Add Loop"), QStringLiteral(":/img/add.png"));
    deleteLoop = make(tr("Delete Loop"), QStringLiteral(":/img/del.png"));
    addPanel = make(tr("Add FACP"), QStringLiteral(":/img/add.png"));
    deletePanel = make(tr("Delete AFCP"), QStringLiteral(":/img/del.png"));
    calculate = make(tr("Calculate"), QStringLiteral(":/img/calculate.png"));
    calculate->setShortcut(Qt::Key_F5);
    battery = make(tr("Battery"), QStringLiteral(":/img/calculate1.png"));
    define = make(tr("Define"), QStringLiteral(":/img/define.png"));
    about = make(tr("About"), QStringLiteral(":/img/About.png"));
    for (QAction *action : {report, calculate, battery}) {
        action->setEnabled(false);
    }
}

QAction *LCMainActions::make(const QString &text, const QString &icon)
{
    auto *action = new QAction(icon.isEmpty() ? QIcon() : QIcon(icon), text, this);
    // the window's shortcuts work wherever the focus is in it
    action->setShortcutContext(Qt::WindowShortcut);
    return action;
}

void LCMainActions::install(QMainWindow &window)
{
    auto *toolBar = new QToolBar(&window);
    toolBar->setObjectName(QStringLiteral("toolBar"));
    toolBar->setIconSize(QSize(kToolIconSize, kToolIconSize));
    toolBar->setMovable(false);
    const std::pair<QAction *, const char *> buttons[] = {{newProject, "newButton"},
        {open, "openButton"}, {save, "saveButton"}, {saveAs, "saveAsButton"},
        {report, "reportButton"}, {define, "defineButton"}, {calculate, "calculateButton"},
        {battery, "batteryButton"}, {about, "aboutButton"}, {exit, "exitButton"}};
    for (const auto &[action, name] : buttons) {
        auto *button = new QToolButton(toolBar);
        button->setObjectName(QLatin1String(name));
        button->setDefaultAction(action);
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setFixedWidth(kToolButtonWidth);
        toolBar->addWidget(button);
    }
    window.addToolBar(toolBar);

    QMenuBar *const bar = window.menuBar();
    QMenu *const file = bar->addMenu(tr("&File"));
    file->addActions({newProject, open});
    openRecent = file->addMenu(tr("Open Recent"));
    file->addActions({save, saveAs});
    file->addSeparator();
    file->addActions({report, exportSheet, printPreview, print});
    file->addSeparator();
    file->addAction(exit);
    QMenu *const edit = bar->addMenu(tr("&Edit"));
    edit->addActions({undo, redo});
    edit->addSeparator();
    edit->addActions({addDevice, deleteDevice, setBranch, setTrunk});
    edit->addSeparator();
    edit->addActions({addLoop, deleteLoop, addPanel, deletePanel});
    // the menus say why a command cannot be used now (a full loop or panel)
    edit->setToolTipsVisible(true);
    QMenu *const tools = bar->addMenu(tr("&Tools"));
    tools->addActions({calculate, battery, define});
    QMenu *const help = bar->addMenu(tr("&Help"));
    help->addAction(about);
}
