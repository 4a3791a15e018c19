#pragma once

#include "grids/lceditrecorder.h"

#include <QString>

#include <memory>

class LCPropertyCommand;
class QUndoStack;

// Keeps the grids' edits on the project's undo stack. A step of one value is one command; a
// step of several (a multi-cell edit) is one macro, so one Undo takes it all back.
class LCUndoRecorder : public LCEditRecorder
{
public:
    explicit LCUndoRecorder(QUndoStack &stack);
    ~LCUndoRecorder() override;

    void setProperty(LCObject &object, PropertyId id, const QVariant &value) override;
    void beginStep(const QString &text) override;
    void endStep() override;

private:
    void push(LCPropertyCommand *command);

    QUndoStack &m_stack;
    int m_depth = 0;
    // one text per kind of edit, shared by its commands rather than copied into each
    QString m_text;
    // the first command of a step, pushed alone when no second one comes
    std::unique_ptr<LCPropertyCommand> m_pending;
    bool m_inMacro = false;
};
