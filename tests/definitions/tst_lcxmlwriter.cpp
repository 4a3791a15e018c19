#include "../model/modelfixture.h"
#include "bench/lcstreamprojectwriter.h"
#include "definitions/lcprojectwriter.h"
#include "definitions/lcxmltext.h"
#include "definitions/lcxmlwriter.h"
#include "model/lcnumbertext.h"

#include <QXmlStreamWriter>
#include <QtTest>

#include <limits>

using namespace ModelFixture;

namespace
{
// The same calls on the hand-written writer and on QXmlStreamWriter set up as the project
// writer used it, whose bytes the files have always had.
class BothWriters
{
public:
    BothWriters()
        : m_mine(0)
        , m_stream(&m_streamBytes)
    {
        m_stream.setCodec("UTF-8");
        m_stream.setAutoFormatting(true);
        m_stream.setAutoFormattingIndent(4);
        m_stream.writeStartDocument();
    }
    void start(const char *tag)
    {
        m_mine.startElement(QLatin1String(tag));
        m_stream.writeStartElement(QLatin1String(tag));
    }
    void text(const QString &value)
    {
        m_mine.textAttribute(QLatin1String("a"), value);
        m_stream.writeAttribute(QLatin1String("a"), LCXmlText::writable(value));
    }
    void integer(int value)
    {
        m_mine.integerAttribute(QLatin1String("i"), value);
        m_stream.writeAttribute(QLatin1String("i"), QString::number(value));
    }
    void number(double value)
    {
        m_mine.numberAttribute(QLatin1String("n"), value);
        m_stream.writeAttribute(QLatin1String("n"), LCNumberText::general(value));
    }
    void end()
    {
        m_mine.endElement();
        m_stream.writeEndElement();
    }
    void compare()
    {
        m_stream.writeEndDocument();
        const QByteArray mine = m_mine.finish();
        QCOMPARE(mine, m_streamBytes);
    }

private:
    LCXmlWriter m_mine;
    QByteArray m_streamBytes;
    QXmlStreamWriter m_stream;
};
} // namespace

class TestXmlWriter : public QObject
{
    Q_OBJECT

private slots:
    void texts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << QString();
        QTest::newRow("markup") << QStringLiteral(R"(<a href="x">'b' & c</a>)");
        QTest::newRow("entity lookalike") << QStringLiteral("&amp; &#10; &lt;");
        QTest::newRow("white space") << QStringLiteral("\ta\nb\rc\r\n d  ");
        QTest::newRow("controls") << QString::fromUtf16(u"\u0001a\u0008\u000b\u000c\u001f\u007f");
        QTest::newRow("nul") << QString(QChar(0)) + QStringLiteral("after");
        QTest::newRow("non-characters") << QString::fromUtf16(u"x\uFFFEy\uFFFFz\uFFFD");
        QTest::newRow("line separators") << QString::fromUtf16(u"\u0085\u2028\u2029");
        QTest::newRow("non-ASCII") << QString::fromUtf16(u"Größe ✓ 火災 €");
        QTest::newRow("pair") << QString::fromUtf16(u"a\U0001F525b");
        const QChar high(0xD83D);
        const QChar low(0xDD25);
        QTest::newRow("lone high") << QString(high) + QStringLiteral("a");
        QTest::newRow("lone high last") << QStringLiteral("a") + high;
        QTest::newRow("lone low") << QString(low) + QStringLiteral("a");
        QTest::newRow("reversed pair") << QString(low) + high;
        QTest::newRow("high high low") << QString(high) + high + low;
        QString longText;
        for (int i = 0; i < 20000; ++i) {
            longText += QString::fromUtf16(u"a&\"<é\t");
        }
        QTest::newRow("long") << longText;
    }

    void texts()
    {
        QFETCH(QString, text);
        BothWriters writers;
        writers.start("Root");
        writers.text(text);
        writers.start("Child");
        writers.text(text);
        writers.end();
        writers.compare();
    }

    void numbers_data()
    {
        QTest::addColumn<int>("integer");
        QTest::addColumn<double>("number");
        using Int = std::numeric_limits<int>;
        using Double = std::numeric_limits<double>;
        using Float = std::numeric_limits<float>;
        QTest::newRow("zero") << 0 << 0.0;
        QTest::newRow("negative zero") << -1 << -0.0;
        QTest::newRow("extremes") << Int::min() << Double::max();
        QTest::newRow("lowest") << Int::max() << Double::lowest();
        QTest::newRow("tiny") << 1 << Double::denorm_min();
        QTest::newRow("smallest normal") << -10 << -Double::min();
        QTest::newRow("float extremes") << 99999 << double(Float::max());
        QTest::newRow("float tenth") << 100000 << double(0.1f);
        QTest::newRow("float digits") << 1000000 << double(123456.789f);
        QTest::newRow("many digits") << 7 << 0.1234567890123456789;
        QTest::newRow("rounds up a digit") << 9 << 999999.5;
        QTest::newRow("small exponent") << 10 << 0.0001;
        QTest::newRow("smaller exponent") << 11 << 0.00001;
        QTest::newRow("infinity") << 12 << Double::infinity();
        QTest::newRow("negative infinity") << 13 << -Double::infinity();
        QTest::newRow("nan") << 14 << Double::quiet_NaN();
        QTest::newRow("negative nan") << 15 << -Double::quiet_NaN();
    }

    void numbers()
    {
        QFETCH(int, integer);
        QFETCH(double, number);
        BothWriters writers;
        writers.start("Root");
        writers.integer(integer);
        writers.number(number);
        writers.start("Empty");
        writers.end();
        writers.start("Deep");
        writers.start("Deeper");
        writers.number(number);
        writers.integer(integer);
        writers.start("Deepest");
        writers.end();
        writers.end();
        writers.end();
        writers.start("Left open");
        writers.start("And this");
        writers.compare();
    }

    void emptyDocument()
    {
        BothWriters writers;
        writers.compare();
    }

    // The bytes of a whole project with odd texts, as the writer before gave them.
    void projectAsBefore()
    {
        LCProject project;
        project.setProperty(
            PropertyId::Name, QString::fromUtf16(u"<Größe> & \"x\"\u0001") + QChar(0xD800));
        project.setProperty(PropertyId::SiteAddr, QStringLiteral("line\r\nnext\ttab"));
        LCController *const panel = addPanel(project, 1);
        panel->setProperty(PropertyId::PanelNote, QStringLiteral("'note' > \U0001F525"));
        LCLoop *const loop = addLoop(panel, 2);
        addDevice(loop, 12.345678f, 1);
        addDevice(loop, 1e-7f);
        addLoop(panel, 3);
        addPanel(project, 7);
        LCProjectWriter::Definitions definitions;
        definitions.deviceTypes.insert(4,
            {QStringLiteral("a&b"), std::numeric_limits<int>::min(), 3, 4, 0.1f, 1e30f, -0.0f,
                {2, 1, 3}});
        definitions.wireTypes.insert(
            1, {QStringLiteral("\"w\""), 1.5f, 3.25e-6f, 1, QStringLiteral("<note>\n")});
        definitions.cardTypes.insert(9, {QString(), 123456.7f, 0.0f, 9});
        QCOMPARE(LCProjectWriter::write(project, definitions),
            LCStreamProjectWriter::write(project, definitions));
    }
};

QTEST_GUILESS_MAIN(TestXmlWriter)
#include "tst_lcxmlwriter.moc"
