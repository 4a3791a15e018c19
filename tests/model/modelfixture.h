#pragma once

#include "model/lccontroller.h"
#include "model/lcdevice.h"
#include "model/lcloop.h"
#include "model/lcobserver.h"
#include "model/lcobserverregistry.h"
#include "model/lcproject.h"

#include <QList>
#include <QPair>
#include <QVector>

#include <functional>
#include <memory>

// Builds object trees as the program does, through insertChild, so that the hooks run.
namespace ModelFixture
{

// Makes a T below parent, stores the given values and inserts it at the end.
template <typename T>
T *add(LCObject *parent, const QList<QPair<PropertyId, QVariant>> &values = {})
{
    auto child = std::make_unique<T>(parent);
    for (const auto &value : values) {
        child->storeProperty(value.first, value.second);
    }
    T *const pointer = child.get();
    parent->insertChild(std::move(child));
    return pointer;
}

inline LCController *addPanel(LCProject &project, int id, int type = 1)
{
    return add<LCController>(&project, {{PropertyId::Panelid, id}, {PropertyId::PanelType, type}});
}

inline LCLoop *addLoop(LCController *panel, int id)
{
    return add<LCLoop>(panel, {{PropertyId::Loopid, id}});
}

inline LCDevice *addDevice(LCLoop *loop, float pos, int truck = 0)
{
    return add<LCDevice>(loop, {{PropertyId::pos, pos}, {PropertyId::truck, truck}});
}

// Records what the observers are told while it lives, and runs onChange after each.
class LoopWatcher : public LCObserver
{
public:
    LoopWatcher() { LCObserverRegistry::add(this); }
    ~LoopWatcher() override { LCObserverRegistry::remove(this); }
    void objectChanged(LCObject *object, ChangeKind kind) override
    {
        changes.append({object, kind});
        if (onChange) {
            onChange();
        }
    }
    QVector<QPair<LCObject *, ChangeKind>> changes;
    std::function<void()> onChange;
};

} // namespace ModelFixture
