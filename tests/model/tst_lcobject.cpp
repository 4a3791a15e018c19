#include <QtTest>
class Test_tst_lcobject : public QObject { Q_OBJECT private slots: void placeholder() {} };
QTEST_GUILESS_MAIN(Test_tst_lcobject)
#include "tst_lcobject.moc"
