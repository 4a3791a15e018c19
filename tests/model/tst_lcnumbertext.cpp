#include "model/lcnumbertext.h"

#include <QtTest>

#include <clocale>
#include <cstdio>
#include <limits>

class TestLCNumberText : public QObject
{
    Q_OBJECT

private slots:
    void generalAsPrintf_data();
    void generalAsPrintf();
    void fixedTwoDecimals_data();
    void fixedTwoDecimals();
};

void TestLCNumberText::generalAsPrintf_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("decimal") << 0.35 << "0.35";
    QTest::newRow("trailing zeros dropped") << 2.5 << "2.5";
    QTest::newRow("integer") << 120.0 << "120";
    QTest::newRow("large") << 1234567.0 << "1.23457e+06";
    QTest::newRow("small") << 0.00001 << "1e-05";
    QTest::newRow("just below exponent form") << 999999.0 << "999999";
    QTest::newRow("tie rounds to even") << 1000.125 << "1000.12";
    QTest::newRow("another tie") << 123456.5 << "123456";
    QTest::newRow("negative zero") << -0.0 << "-0";
    QTest::newRow("negative") << -12500000.0 << "-1.25e+07";
    QTest::newRow("infinite") << std::numeric_limits<double>::infinity() << "inf";
    QTest::newRow("float twelve and a quarter") << double(12.25f) << "12.25";
    QTest::newRow("float tenth") << double(0.1f) << "0.1";
}

void TestLCNumberText::generalAsPrintf()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    // a desktop locale must not turn the decimal point into a comma
    std::setlocale(LC_ALL, "de_DE.UTF-8");
    QCOMPARE(LCNumberText::general(value), text);
    std::setlocale(LC_ALL, "C");
    char printed[64];
    std::snprintf(printed, sizeof printed, "%g", value);
    QCOMPARE(LCNumberText::general(value), QString::fromLatin1(printed));
}

void TestLCNumberText::fixedTwoDecimals_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("padded") << 3.5 << "3.50";
    QTest::newRow("rounded") << double(9.456f) << "9.46";
    QTest::newRow("zero") << 0.0 << "0.00";
    QTest::newRow("large") << 1234567.891 << "1234567.89";
}

void TestLCNumberText::fixedTwoDecimals()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(LCNumberText::fixed2(value), text);
}

QTEST_GUILESS_MAIN(TestLCNumberText)
#include "tst_lcnumbertext.moc"
