#pragma once

#include "model/lcobject.h"

#include <functional>

class LCLoop;

// A field device on a loop.
class LCDevice : public LCObject
{
public:
    // Answers the default sub type of a device type id (0 when it has none). The definition
    // library installs it; the object tree cannot see the library itself.
    using SubTypeResolver = std::function<int(int deviceTypeId)>;
    static void setDefaultSubTypeResolver(SubTypeResolver resolver);

    static constexpr int kDefaultDeviceType = 1;
    static constexpr int kNoSubType = -1;

    explicit LCDevice(LCObject *parent = nullptr);

    LCLoop *loop() const;

    int deviceTypeId() const { return property(PropertyId::deviceTypeid).toInt(); }
    float pos() const { return property(PropertyId::pos).toFloat(); }
    int cableType() const { return property(PropertyId::CableType).toInt(); }
    int truck() const { return property(PropertyId::truck).toInt(); }
    bool isRelay() const { return property(PropertyId::Relay).toBool(); }

    // Stores the first sub type of the device's type, or 0 when the type is unknown or has none.
    void assignDefaultSubType();
    // The sub type chosen for the device, or the one it would be given while none is.
    int subType() const;

protected:
    int defaultSubType() const;
    // Any change but a new check mark makes the loop's results stale.
    void propertyChanged(PropertyId id, const QVariant &value) override;
};
