#include "grids/lctablemodel.h"
#include "grids/ui/lcitemdelegate.h"
#include "grids/ui/lctableview.h"

#include <QAbstractItemModelTester>
#include <QComboBox>
#include <QCompleter>
#include <QIntValidator>
#include <QLineEdit>
#include <QtTest>

namespace
{
using Kind = LCItemDelegate::EditorKind;
constexpr int kRows = 4;
constexpr int kColumns = 3;
constexpr int kReadOnlyColumn = 2;
using Cells = QList<QPair<int, int>>; // (row, column) pairs

// Keeps what it is given and records every write in order.
class RecordingModel : public LCTableModel
{
public:
    int getRowCount() const override { return kRows; }
    int getColumnCount() const override { return kColumns; }
    bool isCellEditable(int, int col) const override { return col != kReadOnlyColumn; }
    QVariant cellText(int row, int col) const override
    {
        return cells.value({row, col}).toString();
    }
    bool setCellData(int row, int col, const QVariant &value) override
    {
        writes.append({{row, col}, value});
        cells.insert({row, col}, value);
        return true;
    }
    bool hasSource() const override { return true; }

    QMap<QPair<int, int>, QVariant> cells;
    QList<QPair<QPair<int, int>, QVariant>> writes;
};

// A shown grid with multi-edit, a combo box on column 1 and a text line on column 2.
struct Grid {
    Grid()
    {
        view.setModel(&model);
        combo.setItems({"A", "B", "C"}, {});
        view.setColumnDelegate(1, &combo);
        view.setColumnDelegate(kReadOnlyColumn, &line);
        view.setMultiEdit(true);
        view.show();
    }
    void select(const Cells &cells)
    {
        for (const auto &cell : cells) {
            view.selectionModel()->select(
                model.index(cell.first, cell.second), QItemSelectionModel::Select);
        }
    }
    void release(Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers modifiers = {})
    {
        const QModelIndexList selected = view.selectionModel()->selectedIndexes();
        QTest::mouseRelease(
            view.viewport(), button, modifiers, view.visualRect(selected.last()).center());
    }
    Cells written() const
    {
        Cells result;
        for (const auto &write : model.writes) {
            result << write.first;
        }
        return result;
    }

    RecordingModel model;
    QAbstractItemModelTester tester{&model, QAbstractItemModelTester::FailureReportingMode::QtTest};
    LCItemDelegate combo{Kind::Combo};
    LCItemDelegate line{Kind::Text};
    LCTableView view;
};
} // namespace

class TestLCItemDelegate : public QObject
{
    Q_OBJECT

private slots:
    void oneEditForThreeCells();
    void releaseOpensNothing_data();
    void releaseOpensNothing();
    void keysOpenTheEditor_data();
    void keysOpenTheEditor();
    void committedValueGoesToWholeSelection();
    void lineEditors_data();
    void lineEditors();
    void ownValidatorReplacesBuiltIn();
    void comboEditors();
    void editorShowsDisplayedText();
    void withoutViewNothingIsWritten();
    void attachAndClearDelegates();
};

void TestLCItemDelegate::oneEditForThreeCells()
{
    Grid grid;
    grid.select({{3, 1}, {0, 1}, {2, 1}});
    grid.release();
    auto *const editor = qobject_cast<QComboBox *>(grid.view.indexWidget(grid.model.index(2, 1)));
    QVERIFY2(editor, "the last selected cell is edited");
    QVERIFY(grid.model.writes.isEmpty());

    QSignalSpy changed(&grid.model, &QAbstractItemModel::dataChanged);
    editor->setCurrentIndex(2);
    QCOMPARE(grid.written(), (Cells{{3, 1}, {0, 1}, {2, 1}}));
    for (const auto &write : grid.model.writes) {
        QCOMPARE(write.second, QVariant(QStringLiteral("C")));
    }
    QCOMPARE(changed.count(), 3);
    QCOMPARE(changed.at(1).at(0).toModelIndex(), grid.model.index(0, 1));
    // a pick in the list is the whole edit
    emit editor->activated(2);
    QVERIFY(!grid.view.indexWidget(grid.model.index(2, 1)));
}

void TestLCItemDelegate::releaseOpensNothing_data()
{
    QTest::addColumn<Cells>("cells");
    QTest::addColumn<bool>("multiEdit");
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("modifiers");
    const int left = Qt::LeftButton;
    QTest::newRow("two columns") << Cells{{0, 1}, {1, 1}, {2, 0}} << true << left << 0;
    QTest::newRow("read-only column") << Cells{{0, 2}, {1, 2}, {2, 2}} << true << left << 0;
    QTest::newRow("multi-edit off") << Cells{{0, 1}, {1, 1}} << false << left << 0;
    QTest::newRow("right button") << Cells{{0, 1}, {1, 1}} << true << int(Qt::RightButton) << 0;
    QTest::newRow("one cell: double click edits") << Cells{{0, 1}} << true << left << 0;
    QTest::newRow("shift-click extends")
        << Cells{{0, 1}, {1, 1}} << true << left << int(Qt::ShiftModifier);
    QTest::newRow("ctrl-click adds")
        << Cells{{0, 1}, {1, 1}} << true << left << int(Qt::ControlModifier);
}

void TestLCItemDelegate::releaseOpensNothing()
{
    QFETCH(Cells, cells);
    QFETCH(bool, multiEdit);
    QFETCH(int, button);
    QFETCH(int, modifiers);
    Grid grid;
    grid.view.setMultiEdit(multiEdit);
    grid.select(cells);
    grid.release(Qt::MouseButton(button), Qt::KeyboardModifiers(modifiers));
    QVERIFY(grid.view.viewport()->findChildren<QComboBox *>().isEmpty());
    QVERIFY(grid.view.viewport()->findChildren<QLineEdit *>().isEmpty());
}

void TestLCItemDelegate::keysOpenTheEditor_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text");
    QTest::newRow("F2") << int(Qt::Key_F2) << QString();
    QTest::newRow("Enter") << int(Qt::Key_Return) << QString();
    QTest::newRow("typing over the cell") << int(Qt::Key_X) << QStringLiteral("x");
}

void TestLCItemDelegate::keysOpenTheEditor()
{
    QFETCH(int, key);
    QFETCH(QString, text);
    Grid grid;
    grid.view.setColumnDelegate(0, &grid.line);
    grid.model.cells.insert({1, 0}, QStringLiteral("old"));
    grid.view.setFocus();
    grid.view.setCurrentIndex(grid.model.index(1, 0));
    QTest::keyClick(&grid.view, Qt::Key(key), Qt::NoModifier);
    auto *const editor = qobject_cast<QLineEdit *>(grid.view.indexWidget(grid.model.index(1, 0)));
    QVERIFY(editor);
    QCOMPARE(editor->text(), text.isEmpty() ? QStringLiteral("old") : text);
}

void TestLCItemDelegate::committedValueGoesToWholeSelection()
{
    Grid grid;
    grid.select({{0, 0}, {1, 1}});
    grid.view.edit(grid.model.index(1, 1));
    auto *const editor = qobject_cast<QComboBox *>(grid.view.indexWidget(grid.model.index(1, 1)));
    QVERIFY(editor);
    editor->setCurrentIndex(1);
    QCOMPARE(grid.written(), (Cells{{0, 0}, {1, 1}}));
    QCOMPARE(grid.model.cells.value({0, 0}), QVariant(QStringLiteral("B")));

    // a read-only cell keeps its value, delegate or not
    QTest::ignoreMessage(QtWarningMsg, "edit: editing failed");
    grid.view.edit(grid.model.index(0, kReadOnlyColumn));
    QVERIFY(!grid.view.indexWidget(grid.model.index(0, kReadOnlyColumn)));
}

void TestLCItemDelegate::lineEditors_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("fromCode"); // set directly, past the validator
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QVariant>("stored");
    QTest::newRow("integer: seven digits")
        << 1 << "1234567" << false << "123456" << QVariant(123456);
    QTest::newRow("integer: letters refused") << 1 << "1a2" << false << "12" << QVariant(12);
    QTest::newRow("integer: empty is 0") << 1 << "" << false << "" << QVariant(0);
    QTest::newRow("integer: no number is 0") << 1 << "abc" << true << "abc" << QVariant(0);
    QTest::newRow("decimal: comma") << 2 << "12,5" << false << "12,5" << QVariant("12.5");
    QTest::newRow("decimal: mixed refused") << 2 << "1.2,3" << false << "1.23" << QVariant("1.23");
    QTest::newRow("text: anything") << 0 << "a,b 1" << false << "a,b 1" << QVariant("a,b 1");
}

void TestLCItemDelegate::lineEditors()
{
    QFETCH(int, kind);
    QFETCH(QString, typed);
    QFETCH(bool, fromCode);
    QFETCH(QString, shown);
    QFETCH(QVariant, stored);
    Grid grid;
    LCItemDelegate delegate(kind);
    grid.view.setColumnDelegate(0, &delegate);
    grid.select({{1, 0}});
    grid.view.edit(grid.model.index(1, 0));
    auto *const editor = qobject_cast<QLineEdit *>(grid.view.indexWidget(grid.model.index(1, 0)));
    QVERIFY(editor);
    QCOMPARE(editor->parent(), grid.view.viewport());
    if (kind != int(Kind::Text)) {
        QCOMPARE(editor->validator()->parent(), editor);
    }
    if (fromCode) {
        editor->setText(typed);
    } else {
        QTest::keyClicks(editor, typed);
    }
    QCOMPARE(editor->text(), shown);
    delegate.setModelData(editor, &grid.model, grid.model.index(1, 0));
    QCOMPARE(grid.model.writes.size(), 1);
    QCOMPARE(grid.model.writes.at(0).second, stored);
    QCOMPARE(grid.model.writes.at(0).second.userType(), stored.userType());
}

void TestLCItemDelegate::ownValidatorReplacesBuiltIn()
{
    QWidget parent;
    QIntValidator own(0, 99);
    for (const Kind kind : {Kind::Text, Kind::Integer, Kind::Decimal}) {
        LCItemDelegate delegate(kind);
        delegate.setValidator(&own);
        auto *const editor = qobject_cast<QLineEdit *>(delegate.createEditor(&parent, {}, {}));
        QVERIFY(editor);
        QCOMPARE(editor->validator(), &own);
    }
}

void TestLCItemDelegate::comboEditors()
{
    QWidget parent;
    const QIcon icon(QPixmap(8, 8));
    LCItemDelegate icons(Kind::IconCombo);
    icons.setItems({"Smoke", "Heat"}, {icon, icon});
    auto *editor = qobject_cast<QComboBox *>(icons.createEditor(&parent, {}, {}));
    QCOMPARE(editor->count(), 2);
    QVERIFY(!editor->itemIcon(1).isNull());
    QVERIFY(!editor->isEditable());

    icons.setItems({"Smoke", "Heat"}, {icon});
    QTest::ignoreMessage(QtDebugMsg, "Icon combobox missing icon");
    editor = qobject_cast<QComboBox *>(icons.createEditor(&parent, {}, {}));
    QCOMPARE(editor->itemText(1), QStringLiteral("Heat"));
    QVERIFY(editor->itemIcon(0).isNull());

    LCItemDelegate plain(Kind::Combo);
    // the owner fills the items for the cell when asked, before the box is built
    connect(&plain, &LCItemDelegate::sigCreateEditor, this, [&plain](const QModelIndex &) {
        plain.setItems({"Thin", "Heavy", "heavy"}, {});
    });
    plain.setUseCompleter(true);
    QSignalSpy commits(&plain, &QAbstractItemDelegate::commitData);
    editor = qobject_cast<QComboBox *>(plain.createEditor(&parent, {}, {}));
    QCOMPARE(editor->parent(), &parent);
    QCOMPARE(editor->itemText(2), QStringLiteral("heavy"));
    QVERIFY(editor->isEditable());
    // the entries are in id order, not sorted: every one that starts with the text is offered
    QCompleter *const completer = editor->completer();
    completer->setCompletionPrefix(QStringLiteral("h"));
    QCOMPARE(completer->completionCount(), 2);
    completer->setCompletionPrefix(QStringLiteral("T"));
    QCOMPARE(completer->currentCompletion(), QStringLiteral("Thin"));
    QCOMPARE(editor->insertPolicy(), QComboBox::NoInsert);
    QCOMPARE(commits.count(), 0);
    editor->setCurrentIndex(1);
    QCOMPARE(commits.count(), 1);
    QCOMPARE(commits.at(0).at(0).value<QWidget *>(), editor);

    LCItemDelegate none(int(Kind::IconCombo) + 1);
    QSignalSpy asked(&none, &LCItemDelegate::sigCreateEditor);
    QVERIFY(!none.createEditor(&parent, {}, {}));
    QCOMPARE(asked.count(), 1);
}

void TestLCItemDelegate::editorShowsDisplayedText()
{
    RecordingModel model;
    model.cells.insert({0, 1}, QStringLiteral("B"));
    model.cells.insert({0, 0}, 17);
    QWidget parent;
    LCItemDelegate combo(Kind::Combo);
    combo.setItems({"A", "B", "C"}, {});
    LCItemDelegate line(Kind::Integer);
    QSignalSpy commits(&combo, &QAbstractItemDelegate::commitData);
    QWidget *const comboEditor = combo.createEditor(&parent, {}, model.index(0, 1));
    QWidget *const lineEditor = line.createEditor(&parent, {}, model.index(0, 0));
    combo.setEditorData(comboEditor, model.index(0, 1));
    line.setEditorData(lineEditor, model.index(0, 0));
    QCOMPARE(qobject_cast<QComboBox *>(comboEditor)->currentText(), QStringLiteral("B"));
    QCOMPARE(qobject_cast<QLineEdit *>(lineEditor)->text(), QStringLiteral("17"));
    QVERIFY2(commits.isEmpty(), "showing the cell's value is no edit");
}

void TestLCItemDelegate::withoutViewNothingIsWritten()
{
    RecordingModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QTableView plainView;
    plainView.setModel(&model);
    LCItemDelegate delegate(Kind::Text);
    plainView.setItemDelegate(&delegate);
    plainView.selectionModel()->select(model.index(0, 0), QItemSelectionModel::Select);
    QLineEdit editor(QStringLiteral("x"));
    delegate.setModelData(&editor, &model, model.index(0, 0));
    QVERIFY(model.writes.isEmpty());

    // a kind that has no editor writes nothing either
    LCItemDelegate unknown(-1);
    unknown.setView(&plainView);
    unknown.setModelData(&editor, &model, model.index(0, 0));
    QVERIFY(model.writes.isEmpty());
    delegate.setView(&plainView);
    delegate.setModelData(&editor, &model, model.index(0, 0));
    QCOMPARE(model.writes.size(), 1);
}

void TestLCItemDelegate::attachAndClearDelegates()
{
    LCTableView view;
    QVERIFY(!view.multiEdit());
    LCItemDelegate column(Kind::Text), row(Kind::Text), whole(Kind::Text), last(Kind::Text);
    view.setColumnDelegate(1, &column);
    view.clearDelegates();
    QVERIFY2(!view.itemDelegateForColumn(1), "editors go also when no model is shown");
    view.setColumnDelegate(1, &column);

    RecordingModel model;
    view.setModel(&model);
    view.setRowDelegate(254, &row);
    view.setColumnDelegate(255, &last);
    view.setViewDelegate(&whole);
    QCOMPARE(column.view(), &view);
    QCOMPARE(row.view(), &view);
    QCOMPARE(whole.view(), &view);
    view.clearDelegates();
    QVERIFY(!view.itemDelegateForColumn(1));
    QVERIFY(!view.itemDelegateForRow(254));
    QCOMPARE(view.itemDelegateForColumn(255), &last);
    QCOMPARE(view.itemDelegate(), &whole);
}

QTEST_MAIN(TestLCItemDelegate)
#include "tst_lcitemdelegate.moc"
