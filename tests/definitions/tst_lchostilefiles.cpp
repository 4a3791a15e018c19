#include <QtTest>
class Test_tst_lchostilefiles : public QObject { Q_OBJECT private slots: void placeholder() {} };
QTEST_GUILESS_MAIN(Test_tst_lchostilefiles)
#include "tst_lchostilefiles.moc"
