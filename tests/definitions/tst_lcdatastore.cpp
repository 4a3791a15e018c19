#include <QtTest>
class Test_tst_lcdatastore : public QObject { Q_OBJECT private slots: void placeholder() {} };
QTEST_GUILESS_MAIN(Test_tst_lcdatastore)
#include "tst_lcdatastore.moc"
