// The weighting factor file, read as every load reads it.
#include "fuzz/fuzzsupport.h"

#include "definitions/lcdatastore.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    LCDataStore *const store = FuzzSupport::store();
    FuzzSupport::write(QStringLiteral("data.prj"), FuzzSupport::bytes(data, size));
    store->readWeightFactor();
    // the loop check multiplies by it; a factor that is not a number would poison every verdict
    if (!std::isfinite(store->weightFactor())) {
        FuzzSupport::fail("a weighting factor that is not a finite number");
    }
    return 0;
}
