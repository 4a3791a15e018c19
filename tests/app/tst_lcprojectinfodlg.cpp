#include "app/lcprojectinfodlg.h"
#include "definitions/lcdatastore.h"
#include "grids/lcprojectinfomodel.h"
#include "model/lccontroller.h"
#include "model/lcmodificationflag.h"
#include "model/lcproject.h"
#include "scriptedprompter.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QDate>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace
{
using Column = LCProjectInfoModel::Column;
constexpr int kTitle = int(Column::Title);
constexpr int kText = int(Column::Text);

// The dialog's fields by name, in the order of its rows, with the property each one fills.
const QVector<QPair<const char *, PropertyId>> kFields = {
    {"projectName", PropertyId::Name},
    {"siteName", PropertyId::SiteName},
    {"siteAddress", PropertyId::SiteAddr},
    {"endUser", PropertyId::EndUser},
    {"installer", PropertyId::Installer},
    {"engineer", PropertyId::Engineer},
    {"projectDetails", PropertyId::ProjectNote},
    {"customerData", PropertyId::CustomerData},
    {"address", PropertyId::Addr},
};

struct Dialog {
    Dialog()
    {
        dialog.show();
        dialog.activateWindow();
        active = QTest::qWaitForWindowActive(&dialog);
    }
    QLineEdit *field(const char *name) const
    {
        auto *const line = dialog.findChild<QLineEdit *>(QLatin1String(name));
        if (!line) {
            qFatal("no field %s", name);
        }
        return line;
    }

    ScriptedPrompter prompter;
    LCProjectInfoDlg dialog{prompter};
    bool active = false;
};

QString text(const LCObject *project, PropertyId id)
{
    return project->property(id).toString();
}
} // namespace

class TestLCProjectInfoDlg : public QObject
{
    Q_OBJECT

private slots:
    void blankNameRefused_data();
    void blankNameRefused();
    void createsTrimmedProject();
    void closingLeavesProject();
    void roundTripThroughFile();
    void gridTitlesAndTexts();
    void gridEditsStoredAsTyped();
    void gridSource();
};

void TestLCProjectInfoDlg::blankNameRefused_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("empty") << "";
    QTest::newRow("spaces") << "    ";
    QTest::newRow("tab and newline") << "\t\n";
}

void TestLCProjectInfoDlg::blankNameRefused()
{
    QFETCH(QString, name);
    auto old = std::make_unique<LCProject>();
    LCProject *const previous = old.get();
    LCDataStore::instance()->setProject(std::move(old));
    Dialog ui;
    QVERIFY(ui.active);
    ui.field("projectName")->setText(name);
    ui.field("siteName")->setText(QStringLiteral("  North Quay "));
    ui.field("address")->setFocus();
    ui.dialog.slotOk();
    QCOMPARE(ui.prompter.shown, QStringList({"Information|Project Name is blank!"}));
    QCOMPARE(QApplication::focusWidget(), ui.field("projectName"));
    QCOMPARE(LCDataStore::instance()->project(), previous);
    QVERIFY(ui.dialog.isVisible());
    QCOMPARE(ui.dialog.result(), int(QDialog::Rejected));
    // the other fields keep what was typed
    QCOMPARE(ui.field("siteName")->text(), QStringLiteral("  North Quay "));
    QCOMPARE(ui.field("projectName")->text(), name);
}

void TestLCProjectInfoDlg::createsTrimmedProject()
{
    LCDataStore::instance()->setProject(std::make_unique<LCProject>());
    Dialog ui;
    // every field opens empty
    for (const auto &field : kFields) {
        QCOMPARE(ui.field(field.first)->text(), QString());
    }
    for (const auto &field : kFields) {
        ui.field(field.first)->setText(QStringLiteral("  %1 \t").arg(QLatin1String(field.first)));
    }
    ui.field("customerData")->setText(QStringLiteral("   "));
    LCModificationFlag::clear();
    ui.dialog.findChild<QPushButton *>("okButton")->click();
    QVERIFY(ui.prompter.shown.isEmpty());
    QCOMPARE(ui.dialog.result(), int(QDialog::Accepted));
    const LCProject *const project = LCDataStore::instance()->project();
    QVERIFY(project);
    QVERIFY(project->isEmpty());
    for (const auto &field : kFields) {
        const QString expected =
            field.second == PropertyId::CustomerData ? QString() : QLatin1String(field.first);
        QCOMPARE(text(project, field.second), expected);
        // empty texts are stored as well
        QCOMPARE(project->property(field.second).userType(), int(QMetaType::QString));
    }
    QCOMPARE(text(project, PropertyId::Date), QDate::currentDate().toString("yyyy-MM-dd"));
    QVERIFY(LCDataStore::instance()->projectChanged());
}

void TestLCProjectInfoDlg::closingLeavesProject()
{
    auto old = std::make_unique<LCProject>();
    LCProject *const previous = old.get();
    LCDataStore::instance()->setProject(std::move(old));
    Dialog ui;
    ui.field("projectName")->setText(QStringLiteral("Unwanted"));
    // there is no Cancel button: closing the window is how the user backs out
    QCOMPARE(ui.dialog.findChildren<QPushButton *>().size(), 1);
    ui.dialog.close();
    QCOMPARE(ui.dialog.result(), int(QDialog::Rejected));
    QCOMPARE(LCDataStore::instance()->project(), previous);
}

void TestLCProjectInfoDlg::roundTripThroughFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    Dialog ui;
    const QStringList values = {"Harbour Works", "North Quay", "1 Quay Road", "Port Authority",
        "Sparks & Co", "A. Engineer", "Phase <2> \"east\"", "Ref 42", "2 Dock Lane"};
    for (int i = 0; i < kFields.size(); ++i) {
        ui.field(kFields.at(i).first)->setText(values.at(i));
    }
    ui.dialog.slotOk();
    QCOMPARE(ui.dialog.result(), int(QDialog::Accepted));
    const QString path = dir.filePath(QStringLiteral("project.xml"));
    QString error;
    QVERIFY2(LCDataStore::instance()->saveProject(path, &error), qPrintable(error));
    const QString date = text(LCDataStore::instance()->project(), PropertyId::Date);

    LCDataStore::instance()->setProject(std::make_unique<LCProject>());
    const LCLoadResult loaded = LCDataStore::instance()->loadProject(path);
    QVERIFY2(loaded.projectRead, qPrintable(loaded.errorText));
    const LCProject *const project = LCDataStore::instance()->project();
    for (int i = 0; i < kFields.size(); ++i) {
        QCOMPARE(text(project, kFields.at(i).second), values.at(i));
    }
    QCOMPARE(text(project, PropertyId::Date), date);

    // and what the grid shows of it
    LCProjectInfoModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setProject(LCDataStore::instance()->project());
    QCOMPARE(model.index(0, kText).data().toString(), QStringLiteral("Harbour Works"));
    QCOMPARE(model.index(6, kText).data().toString(), date);
    QCOMPARE(model.index(7, kText).data().toString(), QStringLiteral("Phase <2> \"east\""));

    // a grid edit goes to the file as typed
    QVERIFY(model.setData(model.index(9, kText), QStringLiteral(" 3 Dock Lane "), Qt::EditRole));
    QVERIFY(LCDataStore::instance()->saveProject(path, &error));
    LCDataStore::instance()->setProject(std::make_unique<LCProject>());
    QVERIFY(LCDataStore::instance()->loadProject(path).projectRead);
    QCOMPARE(text(LCDataStore::instance()->project(), PropertyId::Addr),
        QStringLiteral(" 3 Dock Lane "));
}

void TestLCProjectInfoDlg::gridTitlesAndTexts()
{
    LCProject project;
    for (int id = 0; id <= int(PropertyId::Addr); ++id) {
        project.storeProperty(PropertyId(id), QStringLiteral("text %1").arg(id));
    }
    LCProjectInfoModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setProject(&project);
    QCOMPARE(model.rowCount(), 10);
    QCOMPARE(model.columnCount(), 2);
    QStringList titles;
    QStringList texts;
    for (int row = 0; row < model.rowCount(); ++row) {
        titles << model.index(row, kTitle).data().toString();
        texts << model.index(row, kText).data().toString();
    }
    QCOMPARE(titles,
        QStringList({"Project Name", "Site Name", "Site Address", "End-user", "Installer Name",
            "Engineer", "Calculate Date", "Description", "Customer Data", "Address"}));
    QCOMPARE(texts.at(6), QStringLiteral("text 6"));
    QCOMPARE(texts.at(7), QStringLiteral("text 7"));
    QCOMPARE(texts.at(9), QStringLiteral("text 9"));
    QVERIFY(!model.headerData(0, Qt::Horizontal).isValid());
    QVERIFY(!(model.flags(model.index(3, kTitle)) & Qt::ItemIsEditable));
    QVERIFY(model.flags(model.index(6, kText)) & Qt::ItemIsEditable);
}

void TestLCProjectInfoDlg::gridEditsStoredAsTyped()
{
    LCProject project;
    project.storeProperty(PropertyId::Date, QStringLiteral("2024-01-02"));
    LCProjectInfoModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setProject(&project);
    QVERIFY(model.setData(model.index(0, kText), QStringLiteral("  Padded  "), Qt::EditRole));
    QCOMPARE(text(&project, PropertyId::Name), QStringLiteral("  Padded  "));
    // the date is free text here
    QVERIFY(model.setData(model.index(6, kText), QStringLiteral("next week"), Qt::EditRole));
    QCOMPARE(text(&project, PropertyId::Date), QStringLiteral("next week"));
    QVERIFY(model.isModified());

    // the title column takes an edit without changing anything
    LCModificationFlag::clear();
    QVERIFY(model.setData(model.index(1, kTitle), QStringLiteral("x"), Qt::EditRole));
    QVERIFY(!LCModificationFlag::isSet());
    QCOMPARE(model.index(1, kTitle).data().toString(), QStringLiteral("Site Name"));
    QVERIFY(!project.property(PropertyId::SiteName).isValid());
}

void TestLCProjectInfoDlg::gridSource()
{
    LCProjectInfoModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(model.rowCount(), 0);
    LCController panel;
    model.setProject(&panel);
    QVERIFY(!model.hasSource());
    LCProject project;
    model.setProject(&project);
    QCOMPARE(model.rowCount(), 10);
    model.setProject(nullptr);
    QCOMPARE(model.rowCount(), 0);
    QVERIFY(!model.setData(model.index(0, kText), QStringLiteral("x"), Qt::EditRole));
}

QTEST_MAIN(TestLCProjectInfoDlg)
#include "tst_lcprojectinfodlg.moc"
