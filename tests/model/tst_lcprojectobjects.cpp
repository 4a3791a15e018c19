#include <QtTest>
class Test_tst_lcprojectobjects : public QObject { Q_OBJECT private slots: void placeholder() {} };
QTEST_GUILESS_MAIN(Test_tst_lcprojectobjects)
#include "tst_lcprojectobjects.moc"
