#include "app/commands/lcinsertcommand.h"

#include "model/lcobject.h"

LCInsertCommand::LCInsertCommand(
    LCObject &parent, LCObject &child, const LCPropertyMap &parentBefore, const QString &text)
    : QUndoCommand(text)
    , m_parent(parent)
    , m_child(&child)
    , m_index(parent.indexOf(&child))
{
    m_parentChanges.record(parentBefore, parent);
}

LCInsertCommand::~LCInsertCommand() = default;

void LCInsertCommand::undo()
{
    m_index = m_parent.indexOf(m_child);
    m_taken = m_parent.takeChild(m_index);
    m_parentChanges.restore(m_parent, false);
}

void LCInsertCommand::redo()
{
    if (m_done) {
        m_done = false;
        return;
    }
    m_parent.insertChild(std::move(m_taken), m_index);
    m_parentChanges.restore(m_parent, true);
}
