#pragma once

#include "model/lcpropertyid.h"

class LCObject;

// Something that wants to hear of changes in the object tree (the project tree view does).
class LCObserver
{
public:
    virtual ~LCObserver() = default;
    virtual void objectChanged(LCObject *object, ChangeKind kind) = 0;
};
