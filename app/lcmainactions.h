#pragma once

#include <QObject>

class QAction;
class QMainWindow;
class QMenu;

// Every command of the main window as an action, with its icon and standard shortcut, laid out
// in the menu bar (File, Edit, Tools, Help) and as the tool bar's buttons. A button and its menu
// entry are one action, so they are always enabled alike.
class LCMainActions : public QObject
{
    Q_OBJECT

public:
    explicit LCMainActions(QMainWindow &window);

    // Builds the tool bar and the menu bar of window.
    void install(QMainWindow &window);

    QAction *newProject = nullptr;
    QAction *open = nullptr;
    QAction *save = nullptr;
    QAction *saveAs = nullptr;
    QAction *report = nullptr;
    QAction *exportSheet = nullptr;
    QAction *printPreview = nullptr;
    QAction *print = nullptr;
    QAction *exit = nullptr;
    QAction *undo = nullptr;
    QAction *redo = nullptr;
    QAction *addDevice = nullptr;
    QAction *deleteDevice = nullptr;
    QAction *setBranch = nullptr;
    QAction *setTrunk = nullptr;
    QAction *addLoop = nullptr;
    QAction *deleteLoop = nullptr;
    QAction *addPanel = nullptr;
    QAction *deletePanel = nullptr;
    QAction *calculate = nullptr;
    QAction *battery = nullptr;
    QAction *define = nullptr;
    QAction *about = nullptr;
    // filled with the recent files each time it opens
    QMenu *openRecent = nullptr;

private:
    QAction *make(const QString &text, const QString &icon);
};
