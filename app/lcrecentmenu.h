#pragma once

#include <QObject>

class LCPrompter;
class LCRecentFiles;
class QMenu;
class QWidget;

// File > Open Recent: the last project files, newest first, filled each time it opens. A file
// that is gone is taken off the list with a word to the user.
class LCRecentMenu : public QObject
{
    Q_OBJECT

public:
    LCRecentMenu(QMenu &menu, LCRecentFiles &files, LCPrompter &prompter, QWidget *window);

signals:
    void fileChosen(const QString &path);

private slots:
    void fill();

private:
    void choose(const QString &path);

    QMenu &m_menu;
    LCRecentFiles &m_files;
    LCPrompter &m_prompter;
    QWidget *m_window;
};
