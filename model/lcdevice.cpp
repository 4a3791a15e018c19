#include "model/lcdevice.h"

#include "model/lcloop.h"

namespace
{
// type, branch, check mark, sub type and relay, with position and cable once they are known
constexpr int kStoredProperties = 7;

LCDevice::SubTypeResolver &resolver()
{
    static LCDevice::SubTypeResolver instance;
    return instance;
}
} // namespace

void LCDevice::setDefaultSubTypeResolver(SubTypeResolver newResolver)
{
    resolver() = std::move(newResolver);
}

LCDevice::LCDevice(LCObject *parent)
    : LCObject(parent, ObjectKind::Device)
{
    reserveProperties(kStoredProperties);
    storeProperty(PropertyId::deviceTypeid, kDefaultDeviceType);
    storeProperty(PropertyId::truck, 0);
    storeProperty(PropertyId::CheckMark, CheckMarkValue::NotChecked);
    storeProperty(PropertyId::SubType, kNoSubType);
    storeProperty(PropertyId::Relay, false);
}

LCLoop *LCDevice::loop() const
{
    LCObject *const object = parent();
    return object && object->kind() == ObjectKind::Loop ? static_cast<LCLoop *>(object) : nullptr;
}

void LCDevice::assignDefaultSubType()
{
    storeProperty(PropertyId::SubType, defaultSubType());
}

int LCDevice::subType() const
{
    const int chosen = property(PropertyId::SubType).toInt();
    return chosen == kNoSubType ? defaultSubType() : chosen;
}

int LCDevice::defaultSubType() const
{
    const auto &lookup = resolver();
    return lookup ? lookup(deviceTypeId()) : 0;
}

void LCDevice::propertyChanged(PropertyId id, const QVariant &)
{
    if (id == PropertyId::CheckMark) {
        return;
    }
    storeProperty(PropertyId::CheckMark, CheckMarkValue::NotChecked);
    // the loop's observers hear of it when its results go stale, not again for every cell
    LCLoop *const owner = loop();
    if (owner && owner->resetResults()) {
        notifyObservers(owner, ChangeKind::LoopResults);
    }
    if (id == PropertyId::deviceTypeid) {
        assignDefaultSubType();
    }
}
