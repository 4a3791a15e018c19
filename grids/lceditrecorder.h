#pragma once

#include "model/lcpropertyid.h"

#include <QVariant>

class LCObject;
class QString;

// Where the grids send the user's edits. A grid without one writes the objects itself; the
// window gives one that keeps every edit as a step on its undo stack.
class LCEditRecorder
{
public:
    virtual ~LCEditRecorder() = default;

    // Sets id to value on object at once (with the object's hooks), as part of the open step.
    virtual void setProperty(LCObject &object, PropertyId id, const QVariant &value) = 0;
    // The edits between these are one step, named text; an inner pair joins the outer step.
    virtual void beginStep(const QString &text) = 0;
    virtual void endStep() = 0;
};
