#include "model/lcmodificationflag.h"
#include "model/lcobject.h"
#include "model/lcobserver.h"
#include "model/lcobserverregistry.h"

#include <QStringList>
#include <QtTest>

namespace
{
// Records every hook with its arguments, in order.
class RecordingObject : public LCObject
{
public:
    explicit RecordingObject(
        LCObject *parent = nullptr, QStringList *log = nullptr, QString name = QString())
        : LCObject(parent, ObjectKind::Plain)
        , m_log(log)
        , m_name(std::move(name))
    {
    }
    ~RecordingObject() override
    {
        if (m_log && !m_name.isEmpty()) {
            m_log->append(QStringLiteral("destroy ") + m_name);
        }
    }

    QStringList hooks;

protected:
    void aboutToInsertChild(LCObject *, int index) override
    {
        hooks << QStringLiteral("aboutToInsert %1 count %2").arg(index).arg(childCount());
    }
    void childInserted(LCObject *, int index) override
    {
        hooks << QStringLiteral("inserted %1 count %2").arg(index).arg(childCount());
    }
    void aboutToRemoveChild(int index) override
    {
        hooks << QStringLiteral("aboutToRemove %1 count %2").arg(index).arg(childCount());
    }
    void childRemoved(int index) override
    {
        hooks << QStringLiteral("removed %1 count %2").arg(index).arg(childCount());
    }
    void aboutToSetProperty(PropertyId id, const QVariant &value) override
    {
        hooks << QStringLiteral("aboutToSet %1=%2 stored=%3")
                     .arg(int(id))
                     .arg(value.toString(), property(id).toString());
    }
    void propertyChanged(PropertyId id, const QVariant &value) override
    {
        hooks << QStringLiteral("changed %1=%2 stored=%3")
                     .arg(int(id))
                     .arg(value.toString(), property(id).toString());
    }

private:
    QStringList *m_log;
    QString m_name;
};

class RecordingObserver : public LCObserver
{
public:
    explicit RecordingObserver(QString name, QStringList *log)
        : m_name(std::move(name))
        , m_log(log)
    {
    }
    ~RecordingObserver() override { LCObserverRegistry::remove(this); }

    void objectChanged(LCObject *, ChangeKind kind) override
    {
        m_log->append(QStringLiteral("%1 %2").arg(m_name).arg(int(kind)));
        if (onCall) {
            onCall();
        }
    }

    std::function<void()> onCall;

private:
    QString m_name;
    QStringList *m_log;
};
} // namespace

class TestLCObject : public QObject
{
    Q_OBJECT

private slots:
    void childAccessOutOfRange();
    void insertRunsHooksInOrder();
    void removeRunsHooksAndDestroys();
    void setPropertyAlwaysRunsHooks();
    void storeAndCopyAreSilent();
    void destroyingTakesSubtreeInOrder();
    void observersSnapshot();
};

void TestLCObject::childAccessOutOfRange()
{
    LCObject root;
    root.insertChild(std::make_unique<LCObject>(&root));
    QCOMPARE(root.childCount(), 1);
    QVERIFY(root.child(-1) == nullptr);
    QVERIFY(root.child(1) == nullptr);
    QVERIFY(root.child(0) != nullptr);

    LCObject stranger;
    QCOMPARE(root.indexOf(&stranger), -1);
    QCOMPARE(root.indexOf(nullptr), -1);

    LCModificationFlag::clear();
    root.removeChild(1);
    root.removeChild(-1);
    root.removeChild(&stranger);
    root.insertChild(nullptr);
    QCOMPARE(root.childCount(), 1);
    QVERIFY2(!LCModificationFlag::isSet(), "nothing changed, so nothing is modified");
    QVERIFY(root.property(PropertyId::Name).isNull());
    QCOMPARE(root.property(PropertyId::Panelid).toInt(), 0);
    QCOMPARE(root.property(PropertyId::pos).toFloat(), 0.0f);
    QCOMPARE(root.property(PropertyId::Relay).toBool(), false);
    QCOMPARE(root.property(PropertyId::Name).toString(), QString());
}

void TestLCObject::insertRunsHooksInOrder()
{
    RecordingObject root;
    LCModificationFlag::clear();
    auto first = std::make_unique<LCObject>(&root);
    LCObject *const firstPointer = first.get();
    root.insertChild(std::move(first), -1);
    QVERIFY(LCModificationFlag::isSet());
    auto second = std::make_unique<LCObject>(&root);
    LCObject *const secondPointer = second.get();
    root.insertChild(std::move(second), 0);
    // an append reports -1, not the position it ended at
    QCOMPARE(root.hooks,
        QStringList({"aboutToInsert -1 count 0", "inserted -1 count 1", "aboutToInsert 0 count 1",
            "inserted 0 count 2"}));
    QCOMPARE(root.indexOf(secondPointer), 0);
    QCOMPARE(root.indexOf(firstPointer), 1);
    QVERIFY(!root.isEmpty());
    // the parent pointer is the one given at construction
    LCObject other;
    root.insertChild(std::make_unique<LCObject>(&other));
    QCOMPARE(root.child(2)->parent(), &other);
}

void TestLCObject::removeRunsHooksAndDestroys()
{
    QStringList log;
    RecordingObject root;
    root.insertChild(std::make_unique<RecordingObject>(&root, &log, "a"));
    root.insertChild(std::make_unique<RecordingObject>(&root, &log, "b"));
    root.hooks.clear();
    LCModificationFlag::clear();
    root.removeChild(0);
    QVERIFY(LCModificationFlag::isSet());
    QCOMPARE(root.hooks, QStringList({"aboutToRemove 0 count 2", "removed 0 count 1"}));
    QCOMPARE(log, QStringList({"destroy a"}));
    const LCObject *const b = root.child(0);
    root.removeChild(b);
    QCOMPARE(log, QStringList({"destroy a", "destroy b"}));
    QVERIFY(root.isEmpty());
}

void TestLCObject::setPropertyAlwaysRunsHooks()
{
    RecordingObject object;
    LCModificationFlag::clear();
    object.setProperty(PropertyId::Name, QStringLiteral("x"));
    QVERIFY(LCModificationFlag::isSet());
    LCModificationFlag::clear();
    // an equal value is stored again with both hooks, and still counts as a change
    object.setProperty(PropertyId::Name, QStringLiteral("x"));
    QVERIFY(LCModificationFlag::isSet());
    QCOMPARE(object.hooks,
        QStringList({"aboutToSet 0=x stored=", "changed 0=x stored=x", "aboutToSet 0=x stored=x",
            "changed 0=x stored=x"}));
}

void TestLCObject::storeAndCopyAreSilent()
{
    RecordingObject object;
    LCModificationFlag::clear();
    object.storeProperty(PropertyId::Panelid, 4);
    LCPropertyMap map;
    map.insert(PropertyId::PanelType, 5);
    map.insert(PropertyId::Panelid, 7);
    object.copyProperties(map);
    QVERIFY(!LCModificationFlag::isSet());
    QVERIFY(object.hooks.isEmpty());
    QCOMPARE(object.property(PropertyId::Panelid).toInt(), 7);
    QCOMPARE(object.property(PropertyId::PanelType).toInt(), 5);
    QCOMPARE(object.properties().size(), 2);
}

void TestLCObject::destroyingTakesSubtreeInOrder()
{
    QStringList log;
    {
        RecordingObject root;
        auto a = std::make_unique<RecordingObject>(&root, &log, "a");
        a->insertChild(std::make_unique<RecordingObject>(a.get(), &log, "a1"));
        a->insertChild(std::make_unique<RecordingObject>(a.get(), &log, "a2"));
        root.insertChild(std::move(a));
        root.insertChild(std::make_unique<RecordingObject>(&root, &log, "b"));
    }
    QCOMPARE(log, QStringList({"destroy a", "destroy a1", "destroy a2", "destroy b"}));
}

void TestLCObject::observersSnapshot()
{
    QStringList log;
    LCObject loop;
    const int before = LCObserverRegistry::count();
    {
        RecordingObserver first(QStringLiteral("first"), &log);
        RecordingObserver late(QStringLiteral("late"), &log);
        RecordingObserver second(QStringLiteral("second"), &log);
        LCObserverRegistry::add(&first);
        LCObserverRegistry::add(&second);
        // one that registers during a notification hears only the next one
        first.onCall = [&] {
            LCObserverRegistry::add(&late);
            first.onCall = nullptr;
        };
        LCObject::notifyObservers(&loop, ChangeKind::LoopResults);
        QCOMPARE(log, QStringList({"first 2", "second 2"}));
        log.clear();
        LCObject::notifyObservers(&loop, ChangeKind::LoopResults);
        QCOMPARE(log, QStringList({"first 2", "second 2", "late 2"}));
        log.clear();
        // one that goes away during a notification is not called after it went
        first.onCall = [&] { LCObserverRegistry::remove(&second); };
        LCObject::notifyObservers(&loop, ChangeKind::LoopResults);
        QCOMPARE(log, QStringList({"first 2", "late 2"}));
    }
    QCOMPARE(LCObserverRegistry::count(), before);
}

QTEST_GUILESS_MAIN(TestLCObject)
#include "tst_lcobject.moc"
