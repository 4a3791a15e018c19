#include "app/lcundorecorder.h"

#include "app/commands/lcpropertycommand.h"

#include <QUndoStack>

LCUndoRecorder::LCUndoRecorder(QUndoStack &stack)
    : m_stack(stack)
{
}

LCUndoRecorder::~LCUndoRecorder() = default;

void LCUndoRecorder::setProperty(LCObject &object, PropertyId id, const QVariant &value)
{
    if (m_pending) {
        m_pending->add(object, id, value);
        return;
    }
    auto command = std::make_unique<LCPropertyCommand>(object, id, value);
    if (m_depth > 0) {
        m_pending = std::move(command);
        return;
    }
    command->setText(m_text);
    // an edit that changed nothing is dropped by the stack
    m_stack.push(command.release());
}

void LCUndoRecorder::beginStep(const QString &text)
{
    if (m_depth++ == 0 && text != m_text) {
        m_text = text;
    }
}

void LCUndoRecorder::endStep()
{
    if (m_depth == 0 || --m_depth > 0) {
        return;
    }
    if (m_pending) {
        m_pending->setText(m_text);
        m_stack.push(m_pending.release());
    }
}
