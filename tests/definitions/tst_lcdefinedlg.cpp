#include "definitionsdata.h"

#include "../app/scriptedprompter.h"

#include "definitions/lcdatastore.h"
#include "definitions/ui/lccardtypemodel.h"
#include "definitions/ui/lcdefinedlg.h"
#include "definitions/ui/lcdevtypemodel.h"
#include "definitions/ui/lcwiretypemodel.h"
#include "grids/ui/lctableview.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <memory>

Q_DECLARE_METATYPE(LCDefineDlg::Page)
Q_DECLARE_METATYPE(LCPrompter::Answer)

namespace
{
using DefinitionsData::kDefaults;
using DefinitionsData::writeFile;

using Page = LCDefineDlg::Page;
using Answer = LCPrompter::Answer;

// The user's definitions: the factory ones and some of their own, UserSmoke and W4 in use.
const char kProject[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<Project name="Define">
  <Panel Panelid="2" PanelType="1">
    <Loop Loopid="1" wiretype="4">
      <device deviceTypeid="7" pos="10" wiretype="1" truck="0"/>
    </Loop>
  </Panel>
  <Panel Panelid="1" PanelType="1">
    <Loop Loopid="2" wiretype="1">
      <device deviceTypeid="7" pos="10" wiretype="4" truck="0"/>
      <device deviceTypeid="7" pos="10" wiretype="4" truck="0"/>
    </Loop>
  </Panel>
  <DeviceType Name="Smoke" Volt="24" Current="0.3" ActiveCurrent="5" DevID="1"/>
  <DeviceType Name="Heat" Volt="24" Current="0.25" ActiveCurrent="5" DevID="2"/>
  <DeviceType Name="CallPoint" Volt="24" Current="0.2" ActiveCurrent="4" DevID="3"/>
  <DeviceType Name="UserSmoke" Volt="12" Current="0.35" ActiveCurrent="6" DevID="7"/>
  <DeviceType Name="UserBell" Volt="24" Current="0.4" ActiveCurrent="20" DevID="40"/>
  <WireType Name="W1" Resistance="24.2" Capacity="80" WireID="1" Note="one"/>
  <WireType Name="W2" Resistance="36.2" Capacity="75" WireID="2" Note="two"/>
  <WireType Name="W3" Resistance="14.8" Capacity="90" WireID="3" Note="three"/>
  <WireType Name="W4" Resistance="72" Capacity="100" WireID="4" Note="four"/>
  <CardType Name="C1" Current="40" ActiveCurrent="55" CardID="1"/>
  <CardType Name="C2" Current="65" ActiveCurrent="65" CardID="2"/>
  <CardType Name="C3" Current="30" ActiveCurrent="45" CardID="3"/>
</Project>
)";

// A complete, valid row for each page.
const QMap<Page, QStringList> kValidRow = {
    {Page::DeviceTypes, {"Beacon-2", "24", "0.3", "9"}},
    {Page::CableTypes, {"Cable-9", "18.5", "95", "a note"}},
    {Page::CardTypes, {"Card-9", "15", "25"}},
};
} // namespace

class TestLCDefineDlg : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void pagesKeepTheirWorkingCopies();
    void undefinedRowBlocksAddAndSave_data();
    void undefinedRowBlocksAddAndSave();
    void fieldMessages_data();
    void fieldMessages();
    void factoryRowWithZeroCurrent();
    void saveLeavesOtherPagesUnsaved();
    void defaultReplacesOnlyItsKind();
    void closeQuestions_data();
    void closeQuestions();
    void deleteRows();
    void nameValidator_data();
    void nameValidator();
    void descriptionEditorStartsFromTheText();

private:
    LCTableView *grid() const { return m_dialog->findChild<LCTableView *>("grid"); }
    void showPage(Page page);
    LCTableModel *table() const;
    void addRow();
    // Writes texts into the cells of a row as the editors would.
    void fillRow(int row, const QStringList &texts);
    // Whether the table shown holds changes not saved.
    bool modified() const;
    // The answers the next questions get, in order.
    void answer(const QList<Answer> &answers);

    QTemporaryDir m_dir;
    LCDataStore *const m_store = LCDataStore::instance();
    ScriptedPrompter m_prompter;
    std::unique_ptr<LCDefineDlg> m_dialog;
};

void TestLCDefineDlg::initTestCase()
{
    QApplication::setQuitOnLastWindowClosed(false);
    QVERIFY(m_dir.isValid());
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("config")));
    QVERIFY(writeFile(m_dir.filePath(QStringLiteral("config/default.xml")), kDefaults));
    QVERIFY(writeFile(m_dir.filePath(QStringLiteral("config/config.xml")), kProject));
    m_store->setBaseDirectory(m_dir.path());
}

void TestLCDefineDlg::cleanupTestCase()
{
    m_dialog.reset();
    m_store->setBaseDirectory(QCoreApplication::applicationDirPath());
}

void TestLCDefineDlg::init()
{
    QVERIFY(m_store->loadProject(QString()).projectRead);
    QVERIFY(!m_store->anyChanged());
    m_prompter.shown.clear();
    m_prompter.answers.clear();
    m_dialog = std::make_unique<LCDefineDlg>(m_prompter);
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));
}

void TestLCDefineDlg::showPage(Page page)
{
    m_dialog->findChild<QComboBox *>("kindSelector")->setCurrentIndex(int(page));
}

LCTableModel *TestLCDefineDlg::table() const
{
    return qobject_cast<LCTableModel *>(grid()->model());
}

void TestLCDefineDlg::addRow()
{
    m_dialog->findChild<QToolButton *>("addButton")->click();
}

void TestLCDefineDlg::fillRow(int row, const QStringList &texts)
{
    for (int col = 0; col < texts.size(); ++col) {
        QVERIFY(table()->setData(table()->index(row, col), texts.at(col)));
    }
}

bool TestLCDefineDlg::modified() const
{
    if (const auto *const devices = qobject_cast<const LCDevTypeModel *>(grid()->model())) {
        return devices->isModified();
    }
    if (const auto *const cables = qobject_cast<const LCWireTypeModel *>(grid()->model())) {
        return cables->isModified();
    }
    const auto *const cards = qobject_cast<const LCCardTypeModel *>(grid()->model());
    return cards && cards->isModified();
}

void TestLCDefineDlg::answer(const QList<Answer> &answers)
{
    m_prompter.answers.clear();
    for (const Answer next : answers) {
        m_prompter.answers.enqueue(next);
    }
}

void TestLCDefineDlg::pagesKeepTheirWorkingCopies()
{
    fillRow(3, {"Changed"});
    showPage(Page::CableTypes);
    QVERIFY(qobject_cast<LCWireTypeModel *>(table()));
    showPage(Page::DeviceTypes);
    QCOMPARE(table()->index(3, 0).data().toString(), QStringLiteral("Changed"));
    QVERIFY(modified());
    QVERIFY(m_prompter.shown.isEmpty());
}

void TestLCDefineDlg::undefinedRowBlocksAddAndSave_data()
{
    QTest::addColumn<Page>("page");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("blocked");
    QTest::addColumn<QString>("saved");

    QTest::newRow("device types") << Page::DeviceTypes << 5
                                  << "Information|The device type in row 6 is blank"
                                  << "Infomation|Device type save sucessful!";
    QTest::newRow("cable types") << Page::CableTypes << 4
                                 << "Information|Please complete the current cable type"
                                 << "Infomation|Cable type save sucessful!";
    QTest::newRow("card types") << Page::CardTypes << 3
                                << "Information|Please complete the current card type"
                                << "Infomation|Card type save sucessful!";
}

void TestLCDefineDlg::undefinedRowBlocksAddAndSave()
{
    QFETCH(Page, page);
    QFETCH(int, rows);
    QFETCH(QString, blocked);
    QFETCH(QString, saved);

    showPage(page);
    addRow();
    QCOMPARE(table()->rowCount(), rows + 1);
    QVERIFY(m_prompter.shown.isEmpty());

    addRow();
    QCOMPARE(m_prompter.shown, QStringList{blocked});
    QCOMPARE(table()->rowCount(), rows + 1);
    // the offending cell is the one to fill in
    QCOMPARE(grid()->currentIndex().row(), rows);
    QCOMPARE(grid()->currentIndex().column(), 0);
    auto *const save = m_dialog->findChild<QToolButton *>("saveButton");
    save->click();
    QCOMPARE(m_prompter.shown, QStringList({blocked, blocked}));
    QVERIFY(!m_store->anyChanged());
    QVERIFY(modified());

    // completed, the row saves and only its kind counts as changed
    m_prompter.shown.clear();
    fillRow(rows, kValidRow.value(page));
    save->click();
    QCOMPARE(m_prompter.shown, QStringList{saved});
    QVERIFY(!modified());
    QCOMPARE(m_store->devTypesChanged(), page == Page::DeviceTypes);
    QCOMPARE(m_store->wireTypesChanged(), page == Page::CableTypes);
    QCOMPARE(m_store->cardTypesChanged(), page == Page::CardTypes);
    // the new row is in the library under the next id
    const QString savedName = page == Page::DeviceTypes ? m_store->deviceTypes().value(41).Name
        : page == Page::CableTypes                      ? m_store->wireTypes().value(5).Name
                                                        : m_store->cardTypes().value(4).Name;
    QCOMPARE(savedName, kValidRow.value(page).first());
    // a further row may be added now
    addRow();
    QCOMPARE(m_prompter.shown.size(), 1);
    QCOMPARE(table()->rowCount(), rows + 2);
}

void TestLCDefineDlg::fieldMessages_data()
{
    QTest::addColumn<Page>("page");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("message");

    const auto row = [](const char *name, Page page, int column, const char *value,
                         const char *message) {
        QTest::newRow(name) << page << column << QString::fromUtf8(value)
                            << QString::fromUtf8(message);
    };
    row("device: voltage 0", Page::DeviceTypes, 1, "0",
        "The operating voltage can not be blank or 0");
    row("device: voltage blank", Page::DeviceTypes, 1, "",
        "The operating voltage can not be blank or 0");
    row("device: standby 0", Page::DeviceTypes, 2, "0", "The standby current can not be 0");
    row("device: name taken", Page::DeviceTypes, 0, "Heat",
        "The name Heat in row 6 is already used in row 2");
    row("device: voltage above the editor", Page::DeviceTypes, 1, "1000000",
        "The operating voltage in row 6 must be a number from 1 to 999999 V");
    row("device: voltage negative", Page::DeviceTypes, 1, "-24",
        "The operating voltage in row 6 must be a number from 1 to 999999 V");
    row("device: standby no number", Page::DeviceTypes, 2, "1.2.3",
        "The standby current in row 6 must be a number from 0 to 10000 mA");
    row("device: standby beyond a float", Page::DeviceTypes, 2,
        "12345678901234567890123456789012345678901234",
        "The standby current in row 6 must be a number from 0 to 10000 mA");
    row("device: standby 3e38", Page::DeviceTypes, 2, "3e38",
        "The standby current in row 6 must be a number from 0 to 10000 mA");
    row("device: standby negative", Page::DeviceTypes, 2, "-0.3",
        "The standby current can not be negative");
    row("device: active 0", Page::DeviceTypes, 3, "0.0", "The active current can not be 0");
    row("device: active negative", Page::DeviceTypes, 3, "-9",
        "The active current can not be negative");
    row("device: active just above", Page::DeviceTypes, 3, "10000.5",
        "The active current in row 6 must be a number from 0 to 10000 mA");
    row("cable: name blank", Page::CableTypes, 0, "", "Please complete the current cable type");
    row("cable: name taken", Page::CableTypes, 0, "W4",
        "The name W4 in row 5 is already used in row 4");
    row("cable: resistance 0", Page::CableTypes, 1, "0", "The restance per km can not be 0");
    row("cable: resistance negative", Page::CableTypes, 1, "-18.5",
        "The resistance per km can not be negative");
    row("cable: resistance above", Page::CableTypes, 1, "10001",
        "The resistance per km in row 5 must be a number from 0 to 10000 ohm");
    row("cable: capacity 0", Page::CableTypes, 2, "", "The capacity per km can not be 0");
    row("cable: capacity negative", Page::CableTypes, 2, "-95",
        "The capacity per km can not be negative");
    row("cable: capacity above", Page::CableTypes, 2, "1e10",
        "The capacity per km in row 5 must be a number from 0 to 1000000000 pF");
    row("card: name blank", Page::CardTypes, 0, "", "Please complete the current card type");
    row("card: name taken", Page::CardTypes, 0, "C1",
        "The name C1 in row 4 is already used in row 1");
    row("card: standby 0", Page::CardTypes, 1, "0", "The standby current can not be 0");
    row("card: standby negative", Page::CardTypes, 1, "-15",
        "The standby current can not be negative");
    row("card: active 0", Page::CardTypes, 2, "0", "The active current can not be 0");
    row("card: active negative", Page::CardTypes, 2, "-25",
        "The active current can not be negative");
    row("card: active above", Page::CardTypes, 2, "20000",
        "The active current in row 4 must be a number from 0 to 10000 mA");
}

void TestLCDefineDlg::fieldMessages()
{
    QFETCH(Page, page);
    QFETCH(int, column);
    QFETCH(QString, value);
    QFETCH(QString, message);

    showPage(page);
    addRow();
    const int row = table()->rowCount() - 1;
    QStringList texts = kValidRow.value(page);
    texts[column] = value;
    fillRow(row, texts);
    m_dialog->findChild<QToolButton *>("saveButton")->click();
    QCOMPARE(m_prompter.shown, QStringList{"Information|" + message});
    QCOMPARE(grid()->currentIndex().row(), row);
    QCOMPARE(grid()->currentIndex().column(), column);
    QVERIFY(!m_store->anyChanged());
    addRow();
    QCOMPARE(m_prompter.shown.size(), 2);
    QCOMPARE(table()->rowCount(), row + 1);
}

void TestLCDefineDlg::factoryRowWithZeroCurrent()
{
    // a factory type without standby current, as a factory file may have one: its row is
    // read-only, so the device page cannot be saved
    QMap<int, DeviceType> types = m_store->deviceTypes();
    types[2].Current = 0.0f;
    m_store->setDeviceTypes(types);
    LCDefineDlg dialog(m_prompter);
    auto *const save = dialog.findChild<QToolButton *>("saveButton");
    save->click();
    save->click();
    QCOMPARE(m_prompter.shown,
        QStringList({"Information|The standby current can not be 0",
            "Information|The standby current can not be 0"}));
    auto *const view = dialog.findChild<LCTableView *>("grid");
    QCOMPARE(view->currentIndex().row(), 1);
    QVERIFY(!(view->model()->flags(view->currentIndex()) & Qt::ItemIsEditable));
}

void TestLCDefineDlg::saveLeavesOtherPagesUnsaved()
{
    showPage(Page::CardTypes);
    fillRow(2, {"C3-renamed"});
    showPage(Page::DeviceTypes);
    fillRow(4, {"Bell-renamed"});
    m_dialog->findChild<QToolButton *>("saveButton")->click();
    QCOMPARE(m_prompter.shown, QStringList{"Infomation|Device type save sucessful!"});
    QCOMPARE(m_store->deviceTypes().value(40).Name, QStringLiteral("Bell-renamed"));
    QCOMPARE(m_store->cardTypes().value(3).Name, QStringLiteral("C3"));
    QVERIFY(m_store->devTypesChanged());
    QVERIFY(!m_store->cardTypesChanged());
    QVERIFY(!m_store->wireTypesChanged());
    showPage(Page::CardTypes);
    QVERIFY(modified());
    QCOMPARE(table()->index(2, 0).data().toString(), QStringLiteral("C3-renamed"));

    // closing asks about the cards only
    answer({Answer::Yes});
    QVERIFY(m_dialog->close());
    QCOMPARE(m_prompter.shown.mid(1),
        QStringList{"Information|Card type changed but not saved,close anyway?"});
    QCOMPARE(m_store->cardTypes().value(3).Name, QStringLiteral("C3"));
}

void TestLCDefineDlg::defaultReplacesOnlyItsKind()
{
    fillRow(3, {"Edited"});
    showPage(Page::CardTypes);
    m_dialog->findChild<QToolButton *>("defaultButton")->click();
    QVERIFY(m_prompter.shown.isEmpty());
    QCOMPARE(m_store->cardTypes(), m_store->defaultCardTypes());
    QCOMPARE(table()->rowCount(), 2);
    QVERIFY(m_store->cardTypesChanged());
    QVERIFY(!m_store->devTypesChanged());
    QVERIFY(!m_store->wireTypesChanged());
    // nothing was edited on the card page, and Default does not count as an edit there
    QVERIFY(!modified());
    QCOMPARE(m_store->deviceTypes().size(), 5);

    // the device page still holds its unsaved edit
    answer({Answer::No});
    QVERIFY(!m_dialog->close());
    QVERIFY(m_dialog->isVisible());
    QCOMPARE(m_prompter.shown,
        QStringList{"Information|Device type changed but not saved,close anyway?"});
}

void TestLCDefineDlg::closeQuestions_data()
{
    QTest::addColumn<bool>("edited");
    QTest::addColumn<QList<Answer>>("answers");
    QTest::addColumn<int>("asked");
    QTest::addColumn<bool>("closed");

    QTest::newRow("nothing edited: nothing asked") << false << QList<Answer>{} << 0 << true;

    QTest::newRow("No to the devices") << true << QList<Answer>{Answer::No} << 1 << false;
    QTest::newRow("No to the cables")
        << true << QList<Answer>{Answer::Yes, Answer::No} << 2 << false;
    QTest::newRow("No to the cards")
        << true << QList<Answer>{Answer::Yes, Answer::Yes, Answer::No} << 3 << false;
    QTest::newRow("Yes to all") << true << QList<Answer>{Answer::Yes, Answer::Yes, Answer::Yes} << 3
                                << true;
}

void TestLCDefineDlg::closeQuestions()
{
    QFETCH(bool, edited);
    QFETCH(QList<Answer>, answers);
    QFETCH(int, asked);
    QFETCH(bool, closed);

    if (edited) {
        addRow();
        showPage(Page::CableTypes);
        addRow();
        showPage(Page::CardTypes);
        addRow();
    }
    answer(answers);
    QCOMPARE(m_dialog->close(), closed);
    QCOMPARE(m_dialog->isVisible(), !closed);
    const QStringList questions = {
        "Information|Device type changed but not saved,close anyway?",
        "Information|Wire type changed but not saved,close anyway?",
        "Information|Card type changed but not saved,close anyway?",
    };
    QCOMPARE(m_prompter.shown, questions.mid(0, asked));
    // the unsaved rows never reach the library
    QCOMPARE(m_store->deviceTypes().size(), 5);
    QCOMPARE(m_store->wireTypes().size(), 4);
    QCOMPARE(m_store->cardTypes().size(), 3);
    QVERIFY(!m_store->anyChanged());

    // Escape asks the same
    if (!closed) {
        m_prompter.shown.clear();
        answer({Answer::Yes, Answer::Yes, Answer::Yes});
        m_dialog->reject();
        QCOMPARE(m_prompter.shown, questions);
        QVERIFY(!m_dialog->isVisible());
    }
}

void TestLCDefineDlg::deleteRows()
{
    auto *const remove = m_dialog->findChild<QToolButton *>("deleteButton");
    grid()->clearSelection();
    remove->click();
    QCOMPARE(table()->rowCount(), 5);
    QVERIFY(!modified());

    // a factory row stays, but the table counts as changed
    grid()->setCurrentIndex(table()->index(1, 2));
    remove->click();
    QCOMPARE(table()->rowCount(), 5);
    QVERIFY(modified());

    // a type in use stays, and the user is told why
    grid()->setCurrentIndex(table()->index(3, 0));
    remove->click();
    QCOMPARE(m_prompter.shown,
        QStringList{"Information|UserSmoke is used by 3 devices on Panel 1 Loop2, Panel 2 Loop1 "
                    "and cannot be deleted."});
    QCOMPARE(table()->rowCount(), 5);

    grid()->setCurrentIndex(table()->index(4, 0));
    remove->click();
    QCOMPARE(table()->rowCount(), 4);
    QCOMPARE(m_prompter.shown.size(), 1);
    QCOMPARE(m_store->deviceTypes().size(), 5);

    // a cable counts as in use for its devices and for the loops it is the cable of
    showPage(Page::CableTypes);
    grid()->setCurrentIndex(table()->index(3, 0));
    remove->click();
    QCOMPARE(m_prompter.shown.size(), 2);
    QVERIFY(m_prompter.shown.last().contains(QStringLiteral("Panel 2 Loop1")));
    QCOMPARE(table()->rowCount(), 4);
    QVERIFY(!modified());
}

void TestLCDefineDlg::nameValidator_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("letters, digits, hyphen") << "Smoke-2" << true;
    QTest::newRow("twenty characters") << QString(20, QLatin1Char('a')) << true;
    QTest::newRow("twenty-one characters") << QString(21, QLatin1Char('a')) << false;
    QTest::newRow("space") << "Smoke 2" << false;
    QTest::newRow("underscore") << "Smoke_2" << false;
}

void TestLCDefineDlg::nameValidator()
{
    QFETCH(QString, text);
    QFETCH(bool, accepted);

    for (const Page page : {Page::DeviceTypes, Page::CableTypes, Page::CardTypes}) {
        showPage(page);
        addRow();
        const QModelIndex cell = table()->index(table()->rowCount() - 1, 0);
        std::unique_ptr<QWidget> editor(grid()->itemDelegateForColumn(0)->createEditor(
            grid()->viewport(), QStyleOptionViewItem(), cell));
        auto *const line = qobject_cast<QLineEdit *>(editor.get());
        QVERIFY(line);
        QVERIFY(line->validator());
        QString typed = text;
        int position = 0;
        QCOMPARE(line->validator()->validate(typed, position) == QValidator::Acceptable, accepted);
    }
}

void TestLCDefineDlg::descriptionEditorStartsFromTheText()
{
    showPage(Page::CableTypes);
    addRow();
    fillRow(4, {"Cable-9", "1", "1", "old text"});
    const QModelIndex cell = table()->index(4, 3);
    QAbstractItemDelegate *const delegate = grid()->itemDelegateForColumn(3);
    std::unique_ptr<QWidget> editor(
        delegate->createEditor(grid()->viewport(), QStyleOptionViewItem(), cell));
    delegate->setEditorData(editor.get(), cell);
    auto *const line = qobject_cast<QLineEdit *>(editor.get());
    QVERIFY(line);
    QCOMPARE(line->text(), QStringLiteral("old text"));
    // free text: spaces and any character
    QVERIFY(!line->validator());
}

QTEST_MAIN(TestLCDefineDlg)
#include "tst_lcdefinedlg.moc"
