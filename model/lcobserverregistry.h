#pragma once

#include "model/lcpropertyid.h"

class LCObject;
class LCObserver;

// The one program-wide list of observers, called in the order they registered.
class LCObserverRegistry
{
public:
    static void add(LCObserver *observer);
    // Observers that go away before the program ends take themselves off the list.
    static void remove(LCObserver *observer);
    static int count();
    // Calls every observer registered when the notification starts; observers added or removed
    // meanwhile take effect from the next notification on.
    static void notify(LCObject *object, ChangeKind kind);
};
