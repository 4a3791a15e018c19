#pragma once

#include "grids/lceditrecorder.h"

#include <QString>

#include <memory>

class LCPropertyCommand;
class QUndoStack;

// Keeps the grids' edits on the project's undo stack. A step is one command however many
// values it sets (a multi-cell edit), so one Undo takes it all back.
class LCUndoRecorder : public LCEditRecorder
{
public:
    explicit LCUndoRecorder(QUndoStack &stack);
    ~LCUndoRecorder() override;

    void setProperty(LCObject &object, PropertyId id, const QVariant &value) override;
    void beginStep(const QString &text) override;
    void endStep() override;

private:
    QUndoStack &m_stack;
    int m_depth = 0;
    // one text per kind of edit, shared by its commands rather than copied into each
    QString m_text;
    // the step being gathered, pushed when it ends
    std::unique_ptr<LCPropertyCommand> m_pending;
};
