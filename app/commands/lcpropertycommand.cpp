#include "app/commands/lcpropertycommand.h"

#include "model/lcobject.h"
#include "model/lcpropertyjournal.h"

LCPropertyCommand::LCPropertyCommand(
    LCObject &object, PropertyId id, const QVariant &value, QUndoCommand *parent)
    : QUndoCommand(parent)
    , m_first{&object, id, {}}
{
    set(m_first, value);
    setObsolete(m_first.changes.isEmpty());
}

LCPropertyCommand::~LCPropertyCommand() = default;

void LCPropertyCommand::add(LCObject &object, PropertyId id, const QVariant &value)
{
    if (!m_more) {
        m_more = std::make_unique<std::vector<Change>>();
    }
    m_more->push_back({&object, id, {}});
    set(m_more->back(), value);
    if (!m_more->back().changes.isEmpty()) {
        setObsolete(false);
    }
}

void LCPropertyCommand::undo()
{
    if (m_more) {
        for (auto change = m_more->crbegin(); change != m_more->crend(); ++change) {
            apply(*change, false);
        }
    }
    apply(m_first, false);
}

void LCPropertyCommand::redo()
{
    if (m_done) {
        m_done = false;
        return;
    }
    apply(m_first, true);
    if (m_more) {
        for (const Change &change : *m_more) {
            apply(change, true);
        }
    }
}

void LCPropertyCommand::set(Change &change, const QVariant &value)
{
    const LCPropertyJournal journal(*change.object);
    change.object->setProperty(change.id, value);
    change.changes.record(journal, *change.object);
}

void LCPropertyCommand::apply(const Change &change, bool forward)
{
    // through the hooks, so the loop's results go stale as on the edit itself ...
    change.changes.restore(*change.object, forward);
    const QVariant value = change.object->property(change.id);
    change.object->setProperty(change.id, value);
    // ... and exactly the values of that side, whatever the hooks made of them
    change.changes.restore(*change.object, forward);
}
