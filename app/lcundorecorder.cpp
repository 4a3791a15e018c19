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
    auto command = std::make_unique<LCPropertyCommand>(object, id, value);
    if (m_depth == 0) {
        command->setText(m_text);
        push(command.release());
        return;
    }
    if (!m_pending && !m_inMacro) {
        m_pending = std::move(command);
        return;
    }
    if (!m_inMacro) {
        m_stack.beginMacro(m_text);
        m_inMacro = true;
        push(m_pending.release());
    }
    push(command.release());
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
    if (m_inMacro) {
        m_stack.endMacro();
        m_inMacro = false;
    } else if (m_pending) {
        m_pending->setText(m_text);
        push(m_pending.release());
    }
}

void LCUndoRecorder::push(LCPropertyCommand *command)
{
    // an edit that changed nothing is dropped by the stack
    m_stack.push(command);
}
