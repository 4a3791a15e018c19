#include "app/lcrecentmenu.h"

#include "app/lcrecentfiles.h"
#include "grids/ui/lcprompter.h"

#include <QDir>
#include <QFileInfo>
#include <QMenu>

LCRecentMenu::LCRecentMenu(QMenu &menu, LCRecentFiles &files, LCPrompter &prompter, QWidget *window)
    : QObject(window)
    , m_menu(menu)
    , m_files(files)
    , m_prompter(prompter)
    , m_window(window)
{
    connect(&menu, &QMenu::aboutToShow, this, &LCRecentMenu::fill);
}

void LCRecentMenu::fill()
{
    m_menu.clear();
    const QStringList paths = m_files.files();
    for (int i = 0; i < paths.size(); ++i) {
        const QString path = paths.at(i);
        QAction *const entry = m_menu.addAction(
            QStringLiteral("&%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(path)));
        connect(entry, &QAction::triggered, this, [this, path] { choose(path); });
    }
    m_menu.setEnabled(!paths.isEmpty());
}

void LCRecentMenu::choose(const QString &path)
{
    if (QFileInfo::exists(path)) {
        emit fileChosen(path);
        return;
    }
    m_files.remove(path);
    m_prompter.information(m_window, tr("Information"),
        tr("%1 no longer exists and was taken off the list.").arg(QDir::toNativeSeparators(path)));
}
