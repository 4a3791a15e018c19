#include "app/lcaboutdlg.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

namespace
{
QString labelText(const QDialog &dialog, const char *name)
{
    const auto *const label = dialog.findChild<QLabel *>(QLatin1String(name));
    return label ? label->text() : QStringLiteral("<no label %1>").arg(QLatin1String(name));
}
} // namespace

class TestLCAboutDlg : public QObject
{
    Q_OBJECT

private slots:
    void texts();
    void fixedSize();
    void everythingFits();
    void okAccepts();
};

void TestLCAboutDlg::texts()
{
    const LCAboutDlg dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("About Mirel"));
    QCOMPARE(labelText(dialog, "nameLabel"), QStringLiteral("Mirel"));
    QCOMPARE(labelText(dialog, "versionLabel"), QStringLiteral("Ver 3.01"));

    // the program's own wording, naming no other maker
    QCOMPARE(labelText(dialog, "disclaimerLabel"),
        QStringLiteral("Mirel is a great tool to help verify projects before installation, but no "
                       "replacement for your engineering expertise. It is the Mirel team's "
                       "intention to keep the product and its details current and accurate. We "
                       "cannot cover all specific applications or anticipate all electrical "
                       "requirements of every site, and assume no liability for calculations for "
                       "special applications beyond its scope."));
    QCOMPARE(labelText(dialog, "noticeLabel"),
        QStringLiteral("(c) the Mirel team. All rights reserved.\n"
                       "Provided as is, without any warranty."));

    const auto *const logo = dialog.findChild<QLabel *>(QStringLiteral("logoLabel"));
    QVERIFY(logo);
    const QPixmap pixmap = logo->pixmap(Qt::ReturnByValue);
    QVERIFY(!pixmap.isNull());
    QCOMPARE(pixmap.size(), QSize(32, 32));

    const auto *const ok = dialog.findChild<QPushButton *>(QStringLiteral("okButton"));
    QVERIFY(ok);
    QCOMPARE(ok->text(), QStringLiteral("Ok"));
    QCOMPARE(ok->minimumWidth(), 80);
    QCOMPARE(ok->maximumWidth(), 80);

    const auto *const line = dialog.findChild<QFrame *>();
    QVERIFY(line);
}

void TestLCAboutDlg::fixedSize()
{
    LCAboutDlg dialog;
    QCOMPARE(dialog.minimumSize(), QSize(508, 262));
    QCOMPARE(dialog.maximumSize(), QSize(508, 262));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.size(), QSize(508, 262));
}

void TestLCAboutDlg::everythingFits()
{
    LCAboutDlg dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    for (const QLabel *const label : dialog.findChildren<QLabel *>()) {
        const int needed =
            label->wordWrap() ? label->heightForWidth(label->width()) : label->sizeHint().height();
        QVERIFY2(needed <= label->height(), qPrintable(label->objectName()));
        if (!label->wordWrap()) {
            QVERIFY2(label->sizeHint().width() <= label->width(), qPrintable(label->objectName()));
        }
        QVERIFY(dialog.rect().contains(label->geometry()));
    }
}

void TestLCAboutDlg::okAccepts()
{
    LCAboutDlg dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    dialog.findChild<QPushButton *>(QStringLiteral("okButton"))->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!dialog.isVisible());
}

QTEST_MAIN(TestLCAboutDlg)
#include "tst_lcaboutdlg.moc"
