#pragma once

// The project-modified flag. Every child insertion, child removal and property store in the
// object tree sets it; loading and saving clear it. It lives here, below the definition library
// that reports it, so the object tree does not depend on the library.
class LCModificationFlag
{
public:
    static bool isSet();
    static void set();
    static void clear();
};
