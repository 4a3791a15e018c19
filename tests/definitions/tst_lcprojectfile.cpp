#include <QtTest>
class Test_tst_lcprojectfile : public QObject { Q_OBJECT private slots: void placeholder() {} };
QTEST_GUILESS_MAIN(Test_tst_lcprojectfile)
#include "tst_lcprojectfile.moc"
