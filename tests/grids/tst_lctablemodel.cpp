#include "grids/lctablemodel.h"

#include <QAbstractItemModelTester>
#include <QColor>
#include <QtTest>

namespace
{
constexpr int kRows = 3;
constexpr int kColumns = 2;
constexpr int kEditableColumn = 1;
constexpr int kInvalidRow = 2; // a row whose cells the model declares invalid
constexpr int kCentred = 0x84;

// Cells hold non-negative numbers; only the second column can be edited.
class NumberGrid : public LCTableModel
{
public:
    explicit NumberGrid(bool source)
        : m_source(source)
    {
    }
    int getRowCount() const override { return kRows; }
    int getColumnCount() const override { return kColumns; }
    bool isCellValid(int row, int) const override { return row != kInvalidRow; }
    bool isCellEditable(int, int col) const override { return col == kEditableColumn; }
    bool isCellDragEnabled(int row, int) const override { return row == 0; }
    bool isCellDropEnabled(int row, int) const override { return row == 1; }
    QVariant horizontalHeaderText(int section) const override
    {
        return QString("H%1").arg(section);
    }
    QVariant verticalHeaderText(int section) const override { return QString("V%1").arg(section); }
    QVariant cellText(int row, int col) const override
    {
        return QString::number(m_cells[row][col]);
    }
    QVariant cellBackground(int row, int) const override
    {
        return QColor(row ? Qt::red : Qt::green);
    }
    bool setCellData(int row, int col, const QVariant &value) override
    {
        bool ok = false;
        const int number = value.toInt(&ok);
        if (!ok || number < 0) {
            return false;
        }
        m_cells[row][col] = number;
        return true;
    }
    bool hasSource() const override { return m_source; }

private:
    bool m_source;
    int m_cells[kRows][kColumns] = {{1, 2}, {3, 4}, {5, 6}};
};
} // namespace

class TestLCTableModel : public QObject
{
    Q_OBJECT

private slots:
    void withoutSource();
    void roles();
    void setData_data();
    void setData();
    void saveAndRefresh();
};

void TestLCTableModel::withoutSource()
{
    NumberGrid model(false);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(model.columnCount(), kColumns);
    QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("H1"));
    QVERIFY(!model.setData(model.index(0, kEditableColumn), 7));
    QVERIFY(!model.isModified());
}

void TestLCTableModel::roles()
{
    NumberGrid model(true);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    const QModelIndex cell = model.index(1, 1);
    QCOMPARE(model.data(cell).toString(), QStringLiteral("4"));
    QCOMPARE(model.data(cell, Qt::TextAlignmentRole).toInt(), kCentred);
    QCOMPARE(model.data(cell, Qt::BackgroundRole).value<QColor>(), QColor(Qt::red));
    // editors start from the displayed text; the raw value is not offered
    QVERIFY(!model.data(cell, Qt::EditRole).isValid());
    QVERIFY(!model.data(cell, Qt::ToolTipRole).isValid());
    QCOMPARE(model.headerData(2, Qt::Vertical).toString(), QStringLiteral("V2"));
    QCOMPARE(model.headerData(0, Qt::Vertical, Qt::TextAlignmentRole).toInt(), kCentred);
    QVERIFY(!model.headerData(0, Qt::Horizontal, Qt::ToolTipRole).isValid());

    const Qt::ItemFlags base = Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
    QCOMPARE(model.flags(model.index(0, 0)), base | Qt::ItemIsDragEnabled);
    QCOMPARE(model.flags(model.index(1, 1)), base | Qt::ItemIsEditable | Qt::ItemIsDropEnabled);
    QVERIFY2(model.flags(model.index(kInvalidRow, 1)) == base, "an invalid cell is never editable");
}

void TestLCTableModel::setData_data()
{
    QTest::addColumn<int>("col");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<int>("role");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("number") << 1 << QVariant(9) << int(Qt::EditRole) << true;
    QTest::newRow("number as text") << 1 << QVariant("12") << int(Qt::EditRole) << true;
    QTest::newRow("display role") << 1 << QVariant(9) << int(Qt::DisplayRole) << false;
    QTest::newRow("refused by the model") << 1 << QVariant(-1) << int(Qt::EditRole) << false;
    QTest::newRow("not a number") << 1 << QVariant("x") << int(Qt::EditRole) << false;
}

void TestLCTableModel::setData()
{
    QFETCH(int, col);
    QFETCH(QVariant, value);
    QFETCH(int, role);
    QFETCH(bool, accepted);
    NumberGrid model(true);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    const QModelIndex cell = model.index(0, col);
    QCOMPARE(model.setData(cell, value, role), accepted);
    QCOMPARE(model.isModified(), accepted);
    QCOMPARE(model.data(cell).toString(), accepted ? value.toString() : QStringLiteral("2"));
    QCOMPARE(changed.count(), accepted ? 1 : 0);
    if (accepted) {
        QCOMPARE(changed.at(0).at(0).toModelIndex(), cell);
        QCOMPARE(changed.at(0).at(1).toModelIndex(), cell);
        QVERIFY(changed.at(0).at(2).value<QVector<int>>().isEmpty());
    }
}

void TestLCTableModel::saveAndRefresh()
{
    NumberGrid model(true);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    QVERIFY(model.setData(model.index(2, 1), 8));
    model.refresh();
    QCOMPARE(reset.count(), 1);
    QVERIFY2(model.isModified(), "a refresh is no save");
    model.save();
    QVERIFY(!model.isModified());
    QVERIFY(!model.setData(model.index(2, 1), -8));
    QVERIFY2(!model.isModified(), "a refused edit changes nothing");
}

QTEST_GUILESS_MAIN(TestLCTableModel)
#include "tst_lctablemodel.moc"
