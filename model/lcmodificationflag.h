#pragma once

#include <functional>

// The project-modified flag. Every child insertion, child removal and property store in the
// object tree sets it; loading and saving clear it. It lives here, below the definition library
// that reports it, so the object tree does not depend on the library.
class LCModificationFlag
{
public:
    // Called whenever the flag turns on or off (not on every store), so a window can show an
    // unsaved-change marker without polling.
    using Listener = std::function<void(bool isSet)>;

    static bool isSet();
    static void set();
    static void clear();
    // Puts the flag back to an earlier state, telling the listener when that is a change.
    static void restore(bool wasSet);
    static void setListener(Listener listener);
};
