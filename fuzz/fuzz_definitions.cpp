// The definition reader: the bytes of the factory definitions file, read as start-up reads it.
#include "fuzz/fuzzsupport.h"

#include "definitions/lcdatastore.h"
#include "definitions/lcxmlnames.h"

namespace
{
template <typename Map, typename IdOf>
void checkKeys(const Map &map, IdOf idOf)
{
    for (auto it = map.constBegin(); it != map.constEnd(); ++it) {
        if (it.key() != idOf(it.value())) {
            FuzzSupport::fail("a definition filed under another id");
        }
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    LCDataStore *const store = FuzzSupport::store();
    FuzzSupport::write(QStringLiteral("config/default.xml"), FuzzSupport::bytes(data, size));
    if (!store->loadDefaults()) {
        return 0;
    }
    checkKeys(store->defaultDeviceTypes(), [](const DeviceType &type) { return type.DevID; });
    checkKeys(store->defaultWireTypes(), [](const WireType &type) { return type.WireID; });
    checkKeys(store->defaultCardTypes(), [](const CardType &type) { return type.CardID; });
    checkKeys(store->subTypes(), [](const DevSubType &type) { return type.id; });
    for (const DevSubType &type : store->subTypes()) {
        if (type.name == LCXml::UserDefinedSubType) {
            FuzzSupport::fail("the reserved sub type was taken");
        }
    }
    return 0;
}
