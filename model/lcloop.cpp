#include "model/lcloop.h"

#include "model/lccontroller.h"
#include "model/lcdevice.h"

#include <QVariantList>
#include <QVector>

LCLoop::LCLoop(LCObject *parent)
    : LCObject(parent, ObjectKind::Loop)
{
    resetResults();
}

LCController *LCLoop::panel() const
{
    LCObject *const object = parent();
    return object && object->kind() == ObjectKind::Controller ? static_cast<LCController *>(object)
                                                              : nullptr;
}

LCDevice *LCLoop::device(int index) const
{
    LCObject *const object = child(index);
    return object && object->kind() == ObjectKind::Device ? static_cast<LCDevice *>(object)
                                                          : nullptr;
}

float LCLoop::firstCableLength() const
{
    return isEmpty() ? 0.0f : child(0)->property(PropertyId::pos).toFloat();
}

float LCLoop::totalCableLength() const
{
    float total = property(PropertyId::LastDis).toFloat();
    for (int i = 0; i < childCount(); ++i) {
        total += child(i)->property(PropertyId::pos).toFloat();
    }
    return total;
}

int LCLoop::branchNumber(int row) const
{
    QVector<int> branchesBefore;
    for (int i = 0; i < row && i < childCount(); ++i) {
        const int branch = child(i)->property(PropertyId::truck).toInt();
        if (branch != 0 && !branchesBefore.contains(branch)) {
            branchesBefore.append(branch);
        }
    }
    const LCObject *const self = child(row);
    const int ownBranch = self ? self->property(PropertyId::truck).toInt() : 0;
    return branchesBefore.contains(ownBranch) ? branchesBefore.size() - 1 : branchesBefore.size();
}

void LCLoop::distributeCable(float totalMetre, float firstRunMetre)
{
    const int count = childCount();
    if (count == 0) {
        return;
    }
    const float share = (totalMetre - firstRunMetre) / float(count);
    for (int i = 0; i < count; ++i) {
        child(i)->setProperty(PropertyId::pos, i == 0 ? firstRunMetre : share);
    }
    storeProperty(PropertyId::LastDis, share);
}

void LCLoop::fillMissingSubTypes()
{
    for (int i = 0; i < childCount(); ++i) {
        LCDevice *const item = device(i);
        if (item && item->property(PropertyId::SubType).toInt() == -1) {
            item->assignDefaultSubType();
        }
    }
}

bool LCLoop::resetResults()
{
    // only this stores "not calculated", and always with the other two: one look suffices
    if (property(PropertyId::LoopStatus).toInt() == LoopStatusValue::NotCalculated) {
        return false;
    }
    storeProperty(PropertyId::LoopStatus, LoopStatusValue::NotCalculated);
    storeProperty(PropertyId::ProblemText, QString());
    storeProperty(PropertyId::Suggestions, QVariantList());
    return true;
}

void LCLoop::childInserted(LCObject *, int)
{
    resetResults();
}

void LCLoop::childRemoved(int)
{
    resetResults();
}

void LCLoop::propertyChanged(PropertyId id, const QVariant &)
{
    // the return cable is part of the loop like any other: its verdict no longer holds
    if (id == PropertyId::LastDis) {
        resetResults();
        notifyObservers(this, ChangeKind::LoopResults);
    }
}
