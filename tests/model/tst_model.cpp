#include "modelfixture.h"

#include "model/lcmodificationflag.h"
#include "model/lcnumbertext.h"
#include "model/lcpropertyjournal.h"

#include <QtTest>

#include <clocale>
#include <cmath>
#include <limits>
#include <optional>
#include <random>

Q_DECLARE_METATYPE(PropertyId)

using namespace ModelFixture;

class TestModel : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { LCDevice::setDefaultSubTypeResolver(nullptr); }
    void outOfRangeChangesNothing()
    {
        LCObject root;
        root.insertChild(std::make_unique<LCObject>(&root));
        LCObject stranger;
        QVERIFY(!root.child(-1) && !root.child(1) && root.child(0));
        QCOMPARE(root.indexOf(&stranger), -1);
        QCOMPARE(root.indexOf(nullptr), -1);
        LCModificationFlag::clear();
        root.removeChild(1);
        root.removeChild(-1);
        root.removeChild(&stranger);
        root.insertChild(nullptr);
        QCOMPARE(root.childCount(), 1);
        QVERIFY(!LCModificationFlag::isSet());
    }

    void observersSeeASnapshot()
    {
        LCObject loop;
        const int before = LCObserverRegistry::count();
        {
            LoopWatcher first;
            auto second = std::make_unique<LoopWatcher>();
            std::optional<LoopWatcher> late;
            // one that registers during a notification hears only the next one
            first.onChange = [&] { late.emplace(); };
            LCObject::notifyObservers(&loop, ChangeKind::LoopResults);
            QVERIFY(late && late->changes.isEmpty());
            // one that goes away during a notification is not called after it went
            first.onChange = [&] { second.reset(); };
            LCObject::notifyObservers(&loop, ChangeKind::LoopResults);
            QCOMPARE(first.changes.size(), 2);
            QCOMPARE(late->changes.size(), 1);
        }
        QCOMPARE(LCObserverRegistry::count(), before);
    }

    void childrenSortedLikeAStableSort()
    {
        // every insertion leaves the order a stable sort of the whole list gives, also after a
        // number was changed behind the list's back
        std::mt19937 random(7);
        LCProject project;
        for (int step = 0; step < 400; ++step) {
            const int id = int(random() % 20);
            if (step % 37 == 36) {
                project.child(int(random() % project.childCount()))
                    ->storeProperty(PropertyId::Panelid, id);
                continue;
            }
            auto panel = std::make_unique<LCController>(&project);
            panel->storeProperty(PropertyId::Panelid, id);
            const int index = step % 3 == 0 ? -1 : int(random() % (project.childCount() + 1));
            QVector<LCObject *> expected;
            for (int i = 0; i < project.childCount(); ++i) {
                expected << project.child(i);
            }
            expected.insert(index < 0 ? expected.size() : index, panel.get());
            std::stable_sort(expected.begin(), expected.end(), [](LCObject *a, LCObject *b) {
                return a->property(PropertyId::Panelid).toInt()
                    < b->property(PropertyId::Panelid).toInt();
            });
            project.insertChild(std::move(panel), index);
            for (int i = 0; i < project.childCount(); ++i) {
                QCOMPARE(project.child(i), expected.at(i));
            }
        }
    }

    void panelCards()
    {
        LCProject project;
        LCController *const panel = addPanel(project, 1, 3);
        QList<int> cards;
        for (const int id : {3, 1, 2}) {
            addLoop(panel, id);
            cards << panel->property(PropertyId::LoopCardCount).toInt();
        }
        QVERIFY(panel->findLoop(1) == panel->loop(0) && panel->findLoop(3) == panel->loop(2));
        // two loops to a card, raised as loops come and never lowered
        QCOMPARE(cards, QList<int>({1, 1, 2}));
        panel->removeChild(0);
        panel->removeChild(0);
        QCOMPARE(panel->property(PropertyId::LoopCardCount).toInt(), 2);
        panel->storeProperty(PropertyId::LoopCardCount, 4);
        addLoop(panel, 4);
        QCOMPARE(panel->property(PropertyId::LoopCardCount).toInt(), 4);
    }

    void clearingPanelResultClearsLoops()
    {
        LCProject project;
        LCController *const panel = addPanel(project, 1, 5);
        LCLoop *const a = addLoop(panel, 1);
        LCLoop *const b = addLoop(panel, 2);
        a->storeProperty(PropertyId::ResultText, "verdict a");
        b->storeProperty(PropertyId::ResultText, "verdict b");
        panel->setProperty(PropertyId::ResultText, "summary");
        panel->setProperty(PropertyId::PanelNote, QString());
        QCOMPARE(a->property(PropertyId::ResultText).toString(), QStringLiteral("verdict a"));
        panel->setProperty(PropertyId::ResultText, QString());
        QCOMPARE(a->property(PropertyId::ResultText).toString(), QString());
        QCOMPARE(b->property(PropertyId::ResultText).toString(), QString());
    }

    void deviceChangeMakesLoopStale_data()
    {
        QTest::addColumn<PropertyId>("id");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<bool>("stale");
        QTest::newRow("the same position again") << PropertyId::pos << QVariant(12.5f) << true;
        QTest::newRow("type") << PropertyId::deviceTypeid << QVariant(2) << true;
        QTest::newRow("check mark") << PropertyId::CheckMark << QVariant(1) << false;
    }

    void deviceChangeMakesLoopStale()
    {
        QFETCH(PropertyId, id);
        QFETCH(QVariant, value);
        QFETCH(bool, stale);
        LCProject project;
        LCLoop *const loop = addLoop(addPanel(project, 1), 1);
        LCDevice *const device = addDevice(loop, 12.5f);
        loop->storeProperty(PropertyId::LoopStatus, LoopStatusValue::Works);
        loop->storeProperty(PropertyId::ProblemText, "too long");
        loop->storeProperty(PropertyId::Suggestions, QVariantList({"s"}));
        loop->storeProperty(PropertyId::VoltDrop, 3.5f);
        device->storeProperty(PropertyId::CheckMark, CheckMarkValue::Flagged);
        LoopWatcher watcher;
        LCModificationFlag::clear();
        device->setProperty(id, value);
        QVERIFY(LCModificationFlag::isSet());
        QCOMPARE(loop->property(PropertyId::LoopStatus).toInt(),
            stale ? LoopStatusValue::NotCalculated : LoopStatusValue::Works);
        QCOMPARE(loop->property(PropertyId::ProblemText).toString().isEmpty(), stale);
        QCOMPARE(loop->property(PropertyId::Suggestions).toList().isEmpty(), stale);
        QCOMPARE(loop->property(PropertyId::VoltDrop).toFloat(), 3.5f);
        QCOMPARE(device->property(PropertyId::CheckMark).toInt(),
            stale ? CheckMarkValue::NotChecked : value.toInt());
        QCOMPARE(watcher.changes.size(), int(stale));
        QVERIFY(!stale || watcher.changes.first().first == loop);
        // a second edit of a loop already stale tells no one again (one notice per multi-cell edit)
        device->setProperty(id, value);
        QCOMPARE(watcher.changes.size(), int(stale));

        // inserting and removing devices reset the results too, without telling anyone
        watcher.changes.clear();
        loop->storeProperty(PropertyId::LoopStatus, LoopStatusValue::Fails);
        addDevice(loop, 1.0f);
        QCOMPARE(loop->property(PropertyId::LoopStatus).toInt(), LoopStatusValue::NotCalculated);
        loop->storeProperty(PropertyId::LoopStatus, LoopStatusValue::Fails);
        loop->removeChild(1);
        QCOMPARE(loop->property(PropertyId::LoopStatus).toInt(), LoopStatusValue::NotCalculated);
        QVERIFY(watcher.changes.isEmpty());
        // a device on no loop changes alone
        LCDevice loose;
        loose.setProperty(id, value);
    }

    void defaultSubType()
    {
        LCDevice::setDefaultSubTypeResolver([](int type) { return type == 4 ? 7 : 0; });
        LCProject project;
        LCLoop *const loop = addLoop(addPanel(project, 1), 1);
        LCDevice *const device = addDevice(loop, 1.0f);
        device->setProperty(PropertyId::deviceTypeid, 4);
        QCOMPARE(device->property(PropertyId::SubType).toInt(), 7);
        device->setProperty(PropertyId::deviceTypeid, 99);
        QCOMPARE(device->property(PropertyId::SubType).toInt(), 0);
        // another property leaves the sub type as it is
        device->storeProperty(PropertyId::SubType, 3);
        device->setProperty(PropertyId::pos, 2.0f);
        QCOMPARE(device->property(PropertyId::SubType).toInt(), 3);
        // only devices still without a sub type get the default
        LCDevice *const fresh = addDevice(loop, 1.0f);
        QCOMPARE(fresh->property(PropertyId::SubType).toInt(), LCDevice::kNoSubType);
        fresh->storeProperty(PropertyId::deviceTypeid, 4);
        loop->fillMissingSubTypes();
        QCOMPARE(fresh->property(PropertyId::SubType).toInt(), 7);
        QCOMPARE(device->property(PropertyId::SubType).toInt(), 3);
        // with no library to ask, the sub type is 0
        LCDevice::setDefaultSubTypeResolver(nullptr);
        device->setProperty(PropertyId::deviceTypeid, 4);
        QCOMPARE(device->property(PropertyId::SubType).toInt(), 0);
    }

    // An edit's journal notes the first value each property of its own object had; while an
    // inner journal is open, stores to the outer one's object belong to neither.
    void journalsNest()
    {
        LCProject project;
        LCController *const panel = addPanel(project, 1);
        LCLoop *const loop = addLoop(panel, 2);
        const auto befores = [](const LCPropertyJournal &journal, PropertyId id) {
            QVariantList result;
            for (const LCPropertyJournal::Entry &entry : journal.entries()) {
                if (entry.id == id) {
                    result << entry.before;
                }
            }
            return result;
        };
        const LCPropertyJournal outer(*panel);
        panel->setProperty(PropertyId::PanelNote, QStringLiteral("first"));
        {
            const LCPropertyJournal inner(*loop);
            loop->setProperty(PropertyId::LastDis, 5.0f);
            loop->storeProperty(PropertyId::LastDis, 6.0f);
            panel->setProperty(PropertyId::PanelType, 3);
            QCOMPARE(befores(inner, PropertyId::LastDis), QVariantList{QVariant()});
            QVERIFY(befores(inner, PropertyId::PanelType).isEmpty());
        }
        panel->setProperty(PropertyId::PanelNote, QStringLiteral("second"));
        panel->storeProperty(PropertyId::Panelid, 9);
        loop->setProperty(PropertyId::LastDis, 7.0f);
        QCOMPARE(outer.entries().size(), 2);
        QCOMPARE(befores(outer, PropertyId::PanelNote), QVariantList{QVariant()});
        QCOMPARE(befores(outer, PropertyId::Panelid), QVariantList{1});
    }

    void lowestFreeNumbers_data()
    {
        QTest::addColumn<QList<int>>("taken");
        QTest::addColumn<int>("expected");
        QTest::newRow("none") << QList<int>() << 1;
        QTest::newRow("gap after 2") << QList<int>({1, 2, 4}) << 3;
        QTest::newRow("1 missing") << QList<int>({2, 3}) << 1;
        QTest::newRow("no gap") << QList<int>({1, 2}) << 3;
        QTest::newRow("duplicate") << QList<int>({1, 1, 2}) << 2;
        QTest::newRow("zero and negative") << QList<int>({-3, 0, 1}) << 1;
    }

    void lowestFreeNumbers()
    {
        QFETCH(QList<int>, taken);
        QFETCH(int, expected);
        LCProject project;
        LCProject other;
        LCController *const panel = addPanel(other, 1, 3);
        for (const int id : taken) {
            addPanel(project, id);
            addLoop(panel, id);
        }
        QCOMPARE(project.lowestFreePanelNumber(), expected);
        QCOMPARE(panel->lowestFreeLoopNumber(), expected);
    }

    void panelFullness_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("loops");
        QTest::newRow("type 5") << 5 << 6;
        QTest::newRow("type 3") << 3 << 10;
        QTest::newRow("type 2") << 2 << 2;
        QTest::newRow("no type") << 0 << 2;
    }

    void panelFullness()
    {
        QFETCH(int, type);
        QFETCH(int, loops);
        LCProject project;
        LCController *const panel = addPanel(project, 1, type);
        for (int id = 1; id <= loops; ++id) {
            QVERIFY(!panel->isFull());
            addLoop(panel, id);
        }
        QVERIFY(panel->isFull());
        QCOMPARE(panel->lowestFreeLoopNumber(), 0);
        QCOMPARE(panel->findLoop(loops), panel->loop(loops - 1));
        QVERIFY(!panel->findLoop(loops + 2));
        // a file may carry more loops than the type drives: such a panel is not full
        addLoop(panel, loops + 2);
        QVERIFY(!panel->isFull());
        QCOMPARE(panel->lowestFreeLoopNumber(), loops + 1);
    }

    void loopFullnessAndCable()
    {
        LCProject project;
        LCLoop *const loop = addLoop(addPanel(project, 1), 1);
        for (int i = 0; i < LCLoop::kMaxDevices; ++i) {
            addDevice(loop, 0.0f);
        }
        QVERIFY2(!loop->isFull(), "241 devices still leave room");
        addDevice(loop, 0.0f);
        QVERIFY(loop->isFull());

        // 100 m from the panel and back, 10 m of it to the first device, over 3 devices
        while (loop->childCount() > 3) {
            loop->removeChild(0);
        }
        loop->distributeCable(100.0f, 10.0f);
        QCOMPARE(loop->device(0)->pos(), 10.0f);
        QCOMPARE(loop->device(1)->pos(), 30.0f);
        QCOMPARE(loop->device(2)->pos(), 30.0f);
        QCOMPARE(loop->property(PropertyId::LastDis).toFloat(), 30.0f);
        QCOMPARE(loop->totalCableLength(), 100.0f);
        // an empty loop has nothing to share the cable with
        LCLoop *const empty = addLoop(project.panel(0), 2);
        empty->distributeCable(100.0f, 10.0f);
        QCOMPARE(empty->property(PropertyId::LastDis).toFloat(), 0.0f);
        QCOMPARE(empty->firstCableLength(), 0.0f);
    }

    void branchNumbers_data()
    {
        QTest::addColumn<QList<int>>("trucks");
        QTest::addColumn<QList<int>>("expected"); // from row 1 on
        QTest::newRow("branches one after another")
            << QList<int>({0, 1, 1, 0, 4, 4, 0, 7}) << QList<int>({0, 0, 1, 1, 1, 2, 2});
        QTest::newRow("branch resumes after another")
            << QList<int>({0, 2, 2, 5, 2}) << QList<int>({0, 0, 1, 1});
        QTest::newRow("trunk only") << QList<int>({0, 0, 0}) << QList<int>({0, 0});
    }

    void branchNumbers()
    {
        QFETCH(QList<int>, trucks);
        QFETCH(QList<int>, expected);
        LCProject project;
        LCLoop *const loop = addLoop(addPanel(project, 1), 1);
        for (const int truck : trucks) {
            addDevice(loop, 1.0f, truck);
        }
        QList<int> actual;
        for (int row = 1; row < loop->childCount(); ++row) {
            actual << loop->branchNumber(row);
        }
        QCOMPARE(actual, expected);
    }

    void numberTexts_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("general");
        QTest::addColumn<QString>("fixed");
        const auto row = [](const char *name, double value, const char *general,
                             const char *fixed) {
            QTest::newRow(name) << value << QString(general) << QString(fixed);
        };
        row("decimal", 0.35, "0.35", "0.35");
        row("large", 1234567.0, "1.23457e+06", "1234567.00");
        row("small", 0.00001, "1e-05", "0.00");
        row("tie rounds to even", 1000.125, "1000.12", "1000.12");
        row("negative", -12500000.0, "-1.25e+07", "-12500000.00");
        row("infinite", std::numeric_limits<double>::infinity(), "inf", "inf");
        row("float tenth", double(0.1f), "0.1", "0.10");
        row("float rounded", double(9.456f), "9.456", "9.46");
    }

    void numberTexts()
    {
        QFETCH(double, value);
        QFETCH(QString, general);
        QFETCH(QString, fixed);
        // a desktop locale must not turn the decimal point into a comma
        std::setlocale(LC_ALL, "de_DE.UTF-8");
        QCOMPARE(LCNumberText::general(value), general);
        QCOMPARE(LCNumberText::fixed2(value), fixed);
        std::setlocale(LC_ALL, "C");
    }

    void parsedNumbers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("integer");
        QTest::addColumn<float>("number");
        const auto row = [](const char *text, int integer, float number) {
            QTest::newRow(text) << QString(text) << integer << number;
        };
        row("12", 12, 12.0f);
        row("-007", -7, -7.0f);
        row(" +5 ", 5, 5.0f);
        row("-", 0, 0.0f);
        row("123456789", 123456789, 123456789.0f);
        row("-2147483648", std::numeric_limits<int>::min(), -2147483648.0f);
        row("-2.5", 0, -2.5f);
        row("1e3", 0, 1000.0f);
        row("1.23457e+06", 0, 1234570.0f);
        row("1.5-", 0, 0.0f);
        row("2147483648", 0, 2147483648.0f);
        row("3.5e38", 0, 0.0f);
        row("NaN", 0, 0.0f);
        row("0x1A", 0, 0.0f);
        row("", 0, 0.0f);
    }

    void parsedNumbers()
    {
        QFETCH(QString, text);
        QFETCH(int, integer);
        QFETCH(float, number);
        QCOMPARE(LCNumberText::parseInt(text), integer);
        QCOMPARE(LCNumberText::parseFloat(text), number);
    }

    // The direct paths read what QString's conversions read, to the bit (a sign of zero too),
    // also from a piece in the middle of a longer text.
    void parsedAsQtReads_data()
    {
        QTest::addColumn<QString>("text");
        for (const char *text :
            {"0", "-0", "00", "-000000000", "0009", "+5", " 5", "5 ", "\t7\n", "--5", "5-", "-",
                "999999999", "-999999999", "1000000000", "2147483647", "2147483648", "-2147483649",
                "99999999999999999999", "0000000000000000000000000000012", "1e5", "1E-3", "1e+5",
                "1e", "e5", "1e5.5", ".5", "5.", "-.5", ".", "1..2", "1.2.3", "1,5", "1 000",
                "0x10", "0.0", "-0.0", "0e0", "-0e5", "1e-50", "1e-310", "1e-400", "1e39", "1e400",
                "-1e400", "3.4028235e38", "3.4028236e38", "inf", "-inf", "nan", "Infinity", "0.1",
                "0.30000000000000004", "1.17549435e-38", "1e0000000000000000000000000005",
                "0.00000000000000000000000000125", "123456789012345678901234567890123",
                "1.000000000000000000000000000000001", "1e-", "1e+", "+", "", "\xef\xbc\x95",
                "\xd9\xa5"}) {
            QTest::newRow(text) << QString::fromUtf8(text);
        }
    }

    void parsedAsQtReads()
    {
        QFETCH(QString, text);
        bool ok = false;
        const int integer = text.toInt(&ok, 10);
        const int expectedInteger = ok ? integer : 0;
        const double number = text.toDouble(&ok);
        const float expectedNumber =
            !ok || !std::isfinite(number) || std::abs(number) > std::numeric_limits<float>::max()
            ? 0.0f
            : float(number);
        const QString longer = QStringLiteral("12") + text + QStringLiteral("34");
        const QStringRef piece = longer.midRef(2, text.size());
        for (const int parsed : {LCNumberText::parseInt(text), LCNumberText::parseInt(piece)}) {
            QCOMPARE(parsed, expectedInteger);
        }
        for (const float parsed :
            {LCNumberText::parseFloat(text), LCNumberText::parseFloat(piece)}) {
            QCOMPARE(std::signbit(parsed), std::signbit(expectedNumber));
            QCOMPARE(qFloatDistance(parsed, expectedNumber), quint32(0));
        }
    }
};

QTEST_GUILESS_MAIN(TestModel)
#include "tst_model.moc"
