#include <QtTest>
class Test_tst_lcdefinitionreader : public QObject { Q_OBJECT private slots: void placeholder() {} };
QTEST_GUILESS_MAIN(Test_tst_lcdefinitionreader)
#include "tst_lcdefinitionreader.moc"
