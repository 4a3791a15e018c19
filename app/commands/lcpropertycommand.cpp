#include "app/commands/lcpropertycommand.h"

#include "model/lcobject.h"

LCPropertyCommand::LCPropertyCommand(
    LCObject &object, PropertyId id, const QVariant &value, QUndoCommand *parent)
    : QUndoCommand(parent)
    , m_object(object)
    , m_id(id)
{
    const LCPropertyMap before = LCPropertyChanges::snapshot(object);
    object.setProperty(id, value);
    m_changes.record(before, object);
    setObsolete(m_changes.isEmpty());
}

void LCPropertyCommand::undo()
{
    apply(false);
}

void LCPropertyCommand::redo()
{
    if (m_done) {
        m_done = false;
        return;
    }
    apply(true);
}

void LCPropertyCommand::apply(bool forward)
{
    // through the hooks, so the loop's results go stale as on the edit itself ...
    m_changes.restore(m_object, forward);
    const QVariant value = m_object.property(m_id);
    m_object.setProperty(m_id, value);
    // ... and exactly the values of that side, whatever the hooks made of them
    m_changes.restore(m_object, forward);
}
