#include "model/lcproject.h"

#include "model/lccontroller.h"

LCProject::LCProject()
    : LCObject(nullptr, ObjectKind::Project)
{
}

LCController *LCProject::panel(int index) const
{
    LCObject *const object = child(index);
    return object && object->kind() == ObjectKind::Controller ? static_cast<LCController *>(object)
                                                              : nullptr;
}

int LCProject::lowestFreePanelNumber() const
{
    return lowestFreeChildNumber(PropertyId::Panelid);
}

void LCProject::childInserted(LCObject *child, int index)
{
    keepChildrenSortedBy(PropertyId::Panelid, child, index);
}
