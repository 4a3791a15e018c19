#include "definitionsdata.h"

#include "../app/scriptedprompter.h"

#include "definitions/lctypeusage.h"
#include "definitions/ui/lcdefinedlg.h"
#include "grids/lcicons.h"
#include "grids/lctablemodel.h"
#include "grids/ui/lctableview.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QToolButton>
#include <QtTest>

Q_DECLARE_METATYPE(LCDefineDlg::Page)
Q_DECLARE_METATYPE(LCPrompter::Answer)

using namespace DefinitionsData;

namespace
{
using Page = LCDefineDlg::Page;
using Answer = LCPrompter::Answer;

// A complete, valid row for each page.
const QMap<Page, QStringList> kValidRow = {
    {Page::DeviceTypes, {"Beacon-2", "24", "0.3", "9"}},
    {Page::CableTypes, {"Cable-9", "18.5", "95", "a note"}},
    {Page::CardTypes, {"Card-9", "15", "25"}},
};

const QStringList kCloseQuestions = {
    "Information|Device type changed but not saved,close anyway?",
    "Information|Wire type changed but not saved,close anyway?",
    "Information|Card type changed but not saved,close anyway?",
};
} // namespace

class TestDefineDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void init()
    {
        QVERIFY(m_library.loadProject());
        m_prompter.shown.clear();
        m_prompter.answers.clear();
        m_dialog = std::make_unique<LCDefineDlg>(m_prompter);
        m_dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));
    }

    void cleanup() { m_dialog.reset(); }
    void pages_data()
    {
        QTest::addColumn<Page>("page");
        QTest::addColumn<QStringList>("headers");
        QTest::addColumn<QStringList>("firstColumns"); // the first two columns, row by row
        QTest::addColumn<int>("factoryRows");
        QTest::newRow("device types")
            << Page::DeviceTypes
            << QStringList{"Device Type", "Operating Voltage(v)", "Standby Current(mA)",
                   "Active Current(mA)"}
            << QStringList{"Smoke 24", "Heat 24", "CallPoint 24", "UserSmoke 12", "UserBell 24"}
            << 3;
        QTest::newRow("cable types")
            << Page::CableTypes
            << QStringList{"Cable Type", "Resistance per km(Ω)", "Capacity per km(pF)",
                   "Description"}
            << QStringList{"W1 24.2", "W2 36.2", "W3 14.8", "W4 72", "W5 18"} << 3;
        QTest::newRow("card types")
            << Page::CardTypes
            << QStringList{"Card Type", "Standby Current(mA)", "Active Current(mA)"}
            << QStringList{"C1 40", "C2 65", "C3 \"B\" 25.5"} << 2;
    }

    void pages()
    {
        QFETCH(Page, page);
        QFETCH(QStringList, headers);
        QFETCH(QStringList, firstColumns);
        QFETCH(int, factoryRows);
        showPage(page);
        QAbstractItemModelTester tester(
            table(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        QStringList shownHeaders;
        for (int col = 0; col < table()->columnCount(); ++col) {
            shownHeaders << table()->headerData(col, Qt::Horizontal).toString();
        }
        QCOMPARE(shownHeaders, headers);
        // rows in ascending id order, numbers as the file writes them; the factory rows read-only
        QStringList shown;
        for (int row = 0; row < table()->rowCount(); ++row) {
            shown << table()->index(row, 0).data().toString() + ' '
                    + table()->index(row, 1).data().toString();
            for (int col = 0; col < table()->columnCount(); ++col) {
                QCOMPARE(bool(table()->flags(table()->index(row, col)) & Qt::ItemIsEditable),
                    row >= factoryRows);
            }
        }
        QCOMPARE(shown, firstColumns);
    }

    void undefinedRowBlocksAddAndSave_data()
    {
        QTest::addColumn<Page>("page");
        QTest::addColumn<int>("newId");
        QTest::addColumn<QString>("blocked");
        QTest::addColumn<QString>("saved");
        // above every type and every id the project's devices and loops hold without a type
        QTest::newRow("device types")
            << Page::DeviceTypes << 46 << "Information|The device type in row 6 is blank"
            << "Infomation|Device type save sucessful!";
        QTest::newRow("cable types")
            << Page::CableTypes << 10 << "Information|Please complete the current cable type"
            << "Infomation|Cable type save sucessful!";
        QTest::newRow("card types")
            << Page::CardTypes << 4 << "Information|Please complete the current card type"
            << "Infomation|Card type save sucessful!";
    }

    void undefinedRowBlocksAddAndSave()
    {
        QFETCH(Page, page);
        QFETCH(int, newId);
        QFETCH(QString, blocked);
        QFETCH(QString, saved);
        showPage(page);
        const int row = table()->rowCount();
        click("addButton");
        QCOMPARE(table()->rowCount(), row + 1);
        QCOMPARE(table()->index(row, 0).data().toString(), QStringLiteral("UNDEFINED"));
        QVERIFY(m_prompter.shown.isEmpty());
        click("addButton");
        click("saveButton");
        QCOMPARE(m_prompter.shown, QStringList({blocked, blocked}));
        QCOMPARE(table()->rowCount(), row + 1);
        // the offending cell is the one to fill in
        QCOMPARE(grid()->currentIndex(), table()->index(row, 0));
        QVERIFY(!m_store->anyChanged());
        QVERIFY(modified());

        // completed, the row saves and only its kind counts as changed
        m_prompter.shown.clear();
        fillRow(row, kValidRow.value(page));
        click("saveButton");
        QCOMPARE(m_prompter.shown, QStringList{saved});
        QVERIFY(!modified());
        QCOMPARE(m_store->devTypesChanged(), page == Page::DeviceTypes);
        QCOMPARE(m_store->wireTypesChanged(), page == Page::CableTypes);
        QCOMPARE(m_store->cardTypesChanged(), page == Page::CardTypes);
        const QString savedName = page == Page::DeviceTypes
            ? m_store->deviceTypes().value(newId).Name
            : page == Page::CableTypes ? m_store->wireTypes().value(newId).Name
                                       : m_store->cardTypes().value(newId).Name;
        QCOMPARE(savedName, kValidRow.value(page).first());
    }

    void fieldMessages_data()
    {
        QTest::addColumn<Page>("page");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("message");
        const QMap<QString, Page> pages = {
            {"device", Page::DeviceTypes}, {"cable", Page::CableTypes}, {"card", Page::CardTypes}};
        const QString text =
            QString::fromUtf8(readFile(dataPath("definitions/field-messages.txt")));
        int rows = 0;
        for (const QString &line : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            const QStringList fields = line.split(QLatin1Char('|'));
            if (!line.startsWith(QLatin1Char('#')) && fields.size() == 5) {
                ++rows;
                QTest::newRow(qPrintable(fields.at(0).trimmed()))
                    << pages.value(fields.at(1).trimmed()) << fields.at(2).trimmed().toInt()
                    << fields.at(3).trimmed() << fields.at(4).trimmed();
            }
        }
        QVERIFY(rows > 20);
    }

    void fieldMessages()
    {
        QFETCH(Page, page);
        QFETCH(int, column);
        QFETCH(QString, value);
        QFETCH(QString, message);
        showPage(page);
        click("addButton");
        const int row = table()->rowCount() - 1;
        QStringList texts = kValidRow.value(page);
        texts[column] = value;
        fillRow(row, texts);
        click("saveButton");
        QCOMPARE(m_prompter.shown, QStringList{"Information|" + message});
        QCOMPARE(grid()->currentIndex(), table()->index(row, column));
        QVERIFY(!m_store->anyChanged());
        click("addButton");
        QCOMPARE(m_prompter.shown.size(), 2);
        QCOMPARE(table()->rowCount(), row + 1);
    }

    void factoryRowWithZeroCurrent()
    {
        // a factory file may have a type without standby current: its row is read-only, so the page
        // cannot be saved
        QMap<int, DeviceType> types = m_store->deviceTypes();
        types[2].Current = 0.0f;
        m_store->setDeviceTypes(types);
        m_dialog = std::make_unique<LCDefineDlg>(m_prompter);
        click("saveButton");
        QCOMPARE(m_prompter.shown, QStringList{"Information|The standby current can not be 0"});
        QCOMPARE(grid()->currentIndex(), table()->index(1, 2));
        QVERIFY(!(table()->flags(grid()->currentIndex()) & Qt::ItemIsEditable));
    }

    void deleteRows()
    {
        grid()->clearSelection();
        click("deleteButton");
        QCOMPARE(table()->rowCount(), 5);
        QVERIFY(!modified());
        // a factory row stays, but the table counts as changed
        select(1, 2);
        click("deleteButton");
        QCOMPARE(table()->rowCount(), 5);
        QVERIFY(modified());
        // a type in use stays, and the user is told why
        select(3);
        click("deleteButton");
        select(4);
        click("deleteButton");
        QCOMPARE(table()->rowCount(), 4);
        QCOMPARE(m_store->deviceTypes().size(), 5);
        // a cable is in use for the devices on it and for the loops it is the cable of
        showPage(Page::CableTypes);
        select(4);
        click("deleteButton");
        QCOMPARE(table()->rowCount(), 5);
        QVERIFY(!modified());
        QCOMPARE(m_prompter.shown,
            QStringList(
                {"Information|UserSmoke is used by 3 devices on Panel 1 Loop2, Panel 2 Loop1 "
                 "and cannot be deleted.",
                    "Information|W5 is used by 2 devices on Panel 1 Loop2, is the loop cable of "
                    "Panel 2 "
                    "Loop1 and cannot be deleted."}));
        QCOMPARE(LCTypeUsage::refusalText("Smoke", {1, {"Panel 1 Loop1"}, {}}),
            QStringLiteral("Smoke is used by 1 device on Panel 1 Loop1 and cannot be deleted."));
        QCOMPARE(LCTypeUsage::refusalText("W1", {0, {}, {"Panel 2 Loop1", "Panel 3 Loop4"}}),
            QStringLiteral(
                "W1 is the loop cable of Panel 2 Loop1, Panel 3 Loop4 and cannot be deleted."));
    }

    void deleteKeepsIdsThroughSaveAndReopen()
    {
        showPage(Page::CableTypes);
        select(3);
        click("deleteButton");
        // a later type keeps its id, and so what refers to it; an edit finds its type by row
        QVERIFY(table()->setData(table()->index(3, 3), QStringLiteral("five, edited")));
        click("saveButton");
        showPage(Page::CardTypes);
        click("addButton");
        fillRow(3, kValidRow.value(Page::CardTypes));
        click("addButton");
        fillRow(4, {"Card-10", "1", "2"});
        select(3);
        click("deleteButton");
        click("saveButton");

        const QString path = m_library.path("ids.xml");
        QVERIFY(m_store->saveProject(path));
        QVERIFY(m_store->loadProject(path).projectRead);
        QCOMPARE(m_store->wireTypes().keys(), QList<int>({1, 2, 3, 5}));
        QCOMPARE(m_store->wireTypes().value(5).Note, QStringLiteral("five, edited"));
        QCOMPARE(m_store->cardTypes().keys(), QList<int>({1, 2, 3, 5}));
        QCOMPARE(LCTypeUsage(m_store->project()).cableTypeUsers(5).devices, 2);

        // a factory id stays taken where the user's copy lacks it
        m_store->setCardTypes({{1, m_store->cardTypes().value(1)}});
        m_dialog = std::make_unique<LCDefineDlg>(m_prompter);
        showPage(Page::CardTypes);
        click("addButton");
        fillRow(1, kValidRow.value(Page::CardTypes));
        click("saveButton");
        QCOMPARE(m_store->cardTypes().keys(), QList<int>({1, 3}));
    }

    void saveAndDefaultTouchOnlyTheirKind()
    {
        showPage(Page::CardTypes);
        fillRow(2, {"C3-renamed"});
        showPage(Page::DeviceTypes);
        fillRow(4, {"Bell-renamed"});
        QCOMPARE(m_store->deviceTypes().value(40).Name, QStringLiteral("UserBell"));
        click("saveButton");
        QCOMPARE(m_prompter.shown, QStringList{"Infomation|Device type save sucessful!"});
        QCOMPARE(m_store->deviceTypes().value(40).Name, QStringLiteral("Bell-renamed"));
        QVERIFY(m_store->devTypesChanged());
        QVERIFY(!m_store->cardTypesChanged() && !m_store->wireTypesChanged());

        showPage(Page::CableTypes);
        click("defaultButton");
        QCOMPARE(m_store->wireTypes(), m_store->defaultWireTypes());
        QCOMPARE(table()->rowCount(), 3);
        QVERIFY(m_store->wireTypesChanged());
        QVERIFY2(!modified(), "Default is no edit of the table");
        // the card page kept its edit through all of it
        showPage(Page::CardTypes);
        QVERIFY(modified());
        QCOMPARE(table()->index(2, 0).data().toString(), QStringLiteral("C3-renamed"));
        QVERIFY(!m_store->cardTypesChanged());

        // closing asks about the cards only
        m_prompter.shown.clear();
        answer({Answer::Yes});
        QVERIFY(m_dialog->close());
        QCOMPARE(m_prompter.shown, QStringList{kCloseQuestions.at(2)});
        QCOMPARE(m_store->cardTypes().value(3).Name, QStringLiteral("C3 \"B\""));
    }

    void closeQuestions()
    {
        QVERIFY2(m_dialog->close(), "nothing edited, nothing asked");
        QVERIFY(m_prompter.shown.isEmpty());
        m_dialog->show();
        for (const Page page : {Page::DeviceTypes, Page::CableTypes, Page::CardTypes}) {
            showPage(page);
            click("addButton");
        }
        answer({Answer::Yes, Answer::No});
        QVERIFY(!m_dialog->close());
        QVERIFY(m_dialog->isVisible());
        QCOMPARE(m_prompter.shown, kCloseQuestions.mid(0, 2));
        // Escape asks the same, and the unsaved rows never reach the library
        m_prompter.shown.clear();
        answer({Answer::Yes, Answer::Yes, Answer::Yes});
        m_dialog->reject();
        QCOMPARE(m_prompter.shown, kCloseQuestions);
        QVERIFY(!m_dialog->isVisible());
        QVERIFY(!m_store->anyChanged());
    }

    void nameEditor_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("letters, digits, hyphen") << "Smoke-2" << true;
        QTest::newRow("twenty characters") << QString(20, QLatin1Char('a')) << true;
        QTest::newRow("twenty-one characters") << QString(21, QLatin1Char('a')) << false;
        QTest::newRow("space") << "Smoke 2" << false;
    }

    void nameEditor()
    {
        QFETCH(QString, text);
        QFETCH(bool, accepted);
        for (const Page page : {Page::DeviceTypes, Page::CableTypes, Page::CardTypes}) {
            showPage(page);
            click("addButton");
            const QModelIndex cell = table()->index(table()->rowCount() - 1, 0);
            std::unique_ptr<QWidget> editor(grid()->itemDelegateForColumn(0)->createEditor(
                grid()->viewport(), QStyleOptionViewItem(), cell));
            auto *const line = qobject_cast<QLineEdit *>(editor.get());
            QVERIFY(line && line->validator());
            QString typed = text;
            int position = 0;
            QCOMPARE(
                line->validator()->validate(typed, position) == QValidator::Acceptable, accepted);
        }
    }

    void descriptionEditorStartsFromTheText()
    {
        showPage(Page::CableTypes);
        const QModelIndex cell = table()->index(3, 3);
        QAbstractItemDelegate *const delegate = grid()->itemDelegateForColumn(3);
        std::unique_ptr<QWidget> editor(
            delegate->createEditor(grid()->viewport(), QStyleOptionViewItem(), cell));
        delegate->setEditorData(editor.get(), cell);
        auto *const line = qobject_cast<QLineEdit *>(editor.get());
        QVERIFY(line);
        QCOMPARE(line->text(), QStringLiteral("four"));
        // free text: spaces and any character
        QVERIFY(!line->validator());
    }

    void ownIconsReadable()
    {
        m_store->setPaths(LCPaths::ofProgram());
        QVERIFY(!LCIcons::deviceIcon(1).pixmap(32, 32).isNull());
        QVERIFY(LCIcons::deviceIcon(-1).isNull());
        // a sub type without a picture of its own shows the fallback one
        QVERIFY(!LCIcons::subTypeIcon("no such picture").pixmap(32, 32).isNull());
        m_library.useFolder();
    }

private:
    LCTableView *grid() const { return m_dialog->findChild<LCTableView *>("grid"); }
    LCTableModel *table() const { return qobject_cast<LCTableModel *>(grid()->model()); }
    void showPage(Page page)
    {
        m_dialog->findChild<QComboBox *>("kindSelector")->setCurrentIndex(int(page));
    }
    void click(const char *button) { m_dialog->findChild<QToolButton *>(button)->click(); }
    void select(int row, int column = 0) { grid()->setCurrentIndex(table()->index(row, column)); }
    // Writes texts into the cells of a row as the editors would.
    void fillRow(int row, const QStringList &texts)
    {
        for (int col = 0; col < texts.size(); ++col) {
            QVERIFY(table()->setData(table()->index(row, col), texts.at(col)));
        }
    }
    // Whether the table shown holds changes not saved.
    bool modified() const { return table()->isModified(); }
    // The answers the next questions get, in order.
    void answer(const QList<Answer> &answers)
    {
        m_prompter.answers.clear();
        m_prompter.answers.append(answers);
    }

    Library m_library;
    LCDataStore *const m_store = m_library.store;
    ScriptedPrompter m_prompter;
    std::unique_ptr<LCDefineDlg> m_dialog;
};

QTEST_MAIN(TestDefineDialog)
#include "tst_definedialog.moc"
