#pragma once

#include "scriptedprompter.h"

#include "app/commands/lcpropertycommand.h"
#include "app/mainwindow.h"
#include "definitions/lcdatastore.h"
#include "grids/ui/lctableview.h"
#include "model/lcproject.h"

#include <QUndoStack>
#include <QtTest>
#include <QtWidgets>

#include <memory>
#include <utility>

// A main window on a copy of the program's files with the sample project as working file,
// answering its boxes and dialogs from a script and driven with the mouse and the keyboard.
class MainWindowFixture
{
protected:
    static inline const QString kSample =
        QStringLiteral(MIREL_SOURCE_DIR "/data/config/config.xml");

    static bool copy(const QString &from, const QString &to)
    {
        return QDir().mkpath(QFileInfo(to).absolutePath()) && QFile::copy(from, to);
    }
    static QByteArray readAll(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static bool writeAll(const QString &path, const QByteArray &bytes)
    {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    }

    void setUpFiles()
    {
        QApplication::setQuitOnLastWindowClosed(false);
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        const QString bin = QCoreApplication::applicationDirPath();
        QStringList files = {"config/default.xml", "data.prj", "Report/Report.xlt"};
        for (const QString &folder : {QStringLiteral("deviceico"), QStringLiteral("subtypeico")}) {
            for (const QString &name : QDir(bin + '/' + folder).entryList(QDir::Files)) {
                files << folder + '/' + name;
            }
        }
        for (const QString &name : files) {
            QVERIFY(copy(bin + '/' + name, path(name)));
        }
        QVERIFY(copy(kSample, path("config/config.xml")));
        LCDataStore::instance()->setPaths(
            LCPaths(m_dir->path(), {path("user"), path("Documents")}));
        m_prompter = ScriptedPrompter();
    }

    void tearDown()
    {
        m_window.reset();
        LCDataStore::instance()->setPaths(LCPaths::ofProgram());
    }

    void start()
    {
        m_window = std::make_unique<MainWindow>(nullptr, &m_prompter);
        m_window->show();
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    }

    QString path(const QString &name) const { return m_dir->filePath(name); }

    // The tree item of the project, a panel, its "Loops" item (loop -2) or one of its loops.
    QModelIndex treeIndex(int panel = -1, int loop = -1) const
    {
        const QAbstractItemModel *const model = tree()->model();
        const QModelIndex top = model->index(0, 0);
        const QModelIndex panelItem = panel < 0 ? top : model->index(panel, 0, top);
        const QModelIndex loops = loop == -1 ? panelItem : model->index(0, 0, panelItem);
        return loop < 0 ? loops : model->index(loop, 0, loops);
    }
    QModelIndex loopsIndex(int panel) const { return treeIndex(panel, -2); }

    // Mouse clicks as the user makes them, on a tree item, a grid cell or a tool button.
    void click(const QModelIndex &item)
    {
        tree()->scrollTo(item);
        QTest::mouseClick(
            tree()->viewport(), Qt::LeftButton, {}, tree()->visualRect(item).center());
    }
    void clickCell(int row, int column, Qt::KeyboardModifiers modifiers = {})
    {
        const QModelIndex cell = grid()->model()->index(row, column);
        grid()->scrollTo(cell);
        QTest::mouseClick(
            grid()->viewport(), Qt::LeftButton, modifiers, grid()->visualRect(cell).center());
    }
    void clickButton(const char *name) { QTest::mouseClick(button(name), Qt::LeftButton); }
    // Typing over the current cell opens its editor; Enter commits.
    void typeInCurrentCell(const QString &text)
    {
        QTest::keyClicks(grid(), text.left(1));
        QVERIFY(editor());
        QTest::keyClicks(editor(), text.mid(1));
        QTest::keyClick(editor(), Qt::Key_Return);
        QTRY_VERIFY(!editor());
    }
    // A pick in the combo box of the current cell (opened with F2) by typing its first letters,
    // which ends the edit; the delegate writes it into every selected cell.
    QComboBox *openComboEditor()
    {
        if (!editor()) {
            QTest::keyClick(grid(), Qt::Key_F2);
        }
        return qobject_cast<QComboBox *>(editor());
    }
    QStringList comboItems()
    {
        QStringList texts;
        for (const QComboBox *combo = openComboEditor(); combo && texts.size() < combo->count();) {
            texts << combo->itemText(texts.size());
        }
        return texts;
    }
    void choose(const QString &keys)
    {
        QVERIFY(openComboEditor());
        QTest::keyClicks(editor(), keys);
        // a name typed into an editable box is taken with Enter; Escape closes what is left open
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
            if (editor()) {
                QTest::keyClick(editor(), key);
            }
        }
        QTRY_VERIFY(!editor());
    }
    void clickRowHeader(int row, Qt::KeyboardModifiers modifiers = {})
    {
        QHeaderView *const header = grid()->verticalHeader();
        const QPoint centre(header->width() / 2,
            header->sectionViewportPosition(row) + header->sectionSize(row) / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, modifiers, centre);
    }

    // The context menus as they would open now: their entries, a disabled one in brackets with
    // its reason, and the user's pick.
    QStringList treeMenu() const { return entries(m_window->treeContextMenu()); }
    QStringList gridMenu() const { return entries(m_window->gridContextMenu()); }
    void fromTreeMenu(const QString &entry) { trigger(m_window->treeContextMenu(), entry); }
    void fromGridMenu(const QString &entry) { trigger(m_window->gridContextMenu(), entry); }

    // The boxes shown since the last call, as "title|text".
    QStringList told() { return std::exchange(m_prompter.shown, {}); }
    // What the grid shows in the given rows, one text per row with the cells split by '|'.
    QStringList gridRows(const QList<int> &rows) const
    {
        QStringList texts;
        for (const int row : rows) {
            QStringList cells;
            for (int column = 0; column < grid()->model()->columnCount(); ++column) {
                cells << grid()->model()->index(row, column).data().toString();
            }
            texts << cells.join('|');
        }
        return texts;
    }

    QTreeView *tree() const { return m_window->findChild<QTreeView *>("treeView"); }
    LCTableView *grid() const { return m_window->findChild<LCTableView *>("gridView"); }
    // the editor open on the current cell, if any
    QWidget *editor() const { return grid()->indexWidget(grid()->currentIndex()); }
    QString pane() const { return m_window->findChild<QTextEdit *>("resultPane")->toPlainText(); }
    QDockWidget *dock() const { return m_window->findChild<QDockWidget *>("resultDock"); }
    QToolButton *button(const char *name) const { return m_window->findChild<QToolButton *>(name); }
    LCProject *project() const { return LCDataStore::instance()->project(); }
    // A change as the user makes one: a step on the window's undo stack.
    void edit(LCObject &object, PropertyId id, const QVariant &value) const
    {
        m_window->undoStack().push(new LCPropertyCommand(object, id, value));
    }
    QVariant treeColour(const QModelIndex &item) const { return item.data(Qt::BackgroundRole); }

    std::unique_ptr<QTemporaryDir> m_dir;
    ScriptedPrompter m_prompter;
    std::unique_ptr<MainWindow> m_window;

private:
    static QStringList entries(const std::unique_ptr<QMenu> &menu)
    {
        QStringList texts;
        for (const QAction *action : menu->actions()) {
            texts << (action->isEnabled()
                    ? action->text()
                    : QStringLiteral("(%1: %2)").arg(action->text(), action->toolTip()));
        }
        return texts;
    }
    static void trigger(const std::unique_ptr<QMenu> &menu, const QString &entry)
    {
        for (QAction *action : menu->actions()) {
            if (action->text() == entry) {
                action->trigger();
                return;
            }
        }
        QFAIL(qPrintable("no menu entry " + entry));
    }
};
