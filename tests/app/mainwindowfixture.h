#pragma once

#include "scriptedprompter.h"

#include "app/mainwindow.h"
#include "definitions/lcdatastore.h"
#include "grids/ui/lctableview.h"

#include <QApplication>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QToolButton>
#include <QTreeView>
#include <QtTest>

#include <memory>

// A main window on a copy of the program's files with the sample project as working file,
// answering its boxes and dialogs from a script.
class MainWindowFixture
{
protected:
    static QString samplePath()
    {
        return QStringLiteral(MIREL_SOURCE_DIR "/data/config/config.xml");
    }

    static bool copy(const QString &from, const QString &to)
    {
        QDir().mkpath(QFileInfo(to).absolutePath());
        QFile::remove(to);
        return QFile::copy(from, to);
    }

    void setUpFiles()
    {
        QApplication::setQuitOnLastWindowClosed(false);
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        const QString bin = QCoreApplication::applicationDirPath();
        QVERIFY(copy(bin + "/config/default.xml", m_dir->filePath("config/default.xml")));
        QVERIFY(copy(samplePath(), m_dir->filePath("config/config.xml")));
        QVERIFY(copy(bin + "/data.prj", m_dir->filePath("data.prj")));
        QVERIFY(copy(bin + "/Report/Report.xlt", m_dir->filePath("Report/Report.xlt")));
        for (const QString folder : {QStringLiteral("deviceico"), QStringLiteral("subtypeico")}) {
            const QDir icons(bin + QLatin1Char('/') + folder);
            for (const QString &name : icons.entryList(QDir::Files)) {
                QVERIFY(copy(icons.filePath(name), m_dir->filePath(folder + '/' + name)));
            }
        }
        LCDataStore::instance()->setBaseDirectory(m_dir->path());
        m_prompter = ScriptedPrompter();
    }

    void tearDown()
    {
        m_window.reset();
        LCDataStore::instance()->setBaseDirectory(QCoreApplication::applicationDirPath());
    }

    void start()
    {
        m_window = std::make_unique<MainWindow>(nullptr, &m_prompter);
        m_window->show();
    }

    // The tree item of the project, a panel, or a loop of a panel (-1 for none).
    QModelIndex treeIndex(int panel = -1, int loop = -1) const
    {
        const QAbstractItemModel *model = tree()->model();
        QModelIndex index = model->index(0, 0);
        if (panel >= 0) {
            index = model->index(panel, 0, index);
        }
        if (loop >= 0) {
            index = model->index(loop, 0, model->index(0, 0, index));
        }
        return index;
    }
    QModelIndex loopsIndex(int panel) const
    {
        return tree()->model()->index(0, 0, treeIndex(panel));
    }

    void click(const QModelIndex &index)
    {
        tree()->setCurrentIndex(index);
        m_window->slotTreeItemClicked();
    }

    QTreeView *tree() const { return m_window->findChild<QTreeView *>("treeView"); }
    LCTableView *grid() const { return m_window->findChild<LCTableView *>("gridView"); }
    QTextEdit *pane() const { return m_window->findChild<QTextEdit *>("resultPane"); }
    QDockWidget *dock() const { return m_window->findChild<QDockWidget *>("resultDock"); }
    QToolButton *button(const char *name) const { return m_window->findChild<QToolButton *>(name); }
    LCProject *project() const { return LCDataStore::instance()->project(); }

    std::unique_ptr<QTemporaryDir> m_dir;
    ScriptedPrompter m_prompter;
    std::unique_ptr<MainWindow> m_window;
};
