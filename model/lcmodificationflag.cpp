#include "model/lcmodificationflag.h"

namespace
{
bool g_projectModified = false;
}

bool LCModificationFlag::isSet()
{
    return g_projectModified;
}

void LCModificationFlag::set()
{
    g_projectModified = true;
}

void LCModificationFlag::clear()
{
    g_projectModified = false;
}
