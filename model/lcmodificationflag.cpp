#include "model/lcmodificationflag.h"

#include <utility>

namespace
{
bool g_projectModified = false;

LCModificationFlag::Listener &listener()
{
    static LCModificationFlag::Listener instance;
    return instance;
}
} // namespace

bool LCModificationFlag::isSet()
{
    return g_projectModified;
}

void LCModificationFlag::set()
{
    restore(true);
}

void LCModificationFlag::clear()
{
    restore(false);
}

void LCModificationFlag::restore(bool wasSet)
{
    // every property store comes through here: only a real change may cost more than a compare
    if (g_projectModified == wasSet) {
        return;
    }
    g_projectModified = wasSet;
    if (listener()) {
        listener()(wasSet);
    }
}

void LCModificationFlag::setListener(Listener newListener)
{
    listener() = std::move(newListener);
}
