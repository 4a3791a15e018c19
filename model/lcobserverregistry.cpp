#include "model/lcobserverregistry.h"

#include "model/lcobserver.h"

#include <algorithm>
#include <vector>

namespace
{
std::vector<LCObserver *> &observers()
{
    static std::vector<LCObserver *> list;
    return list;
}
} // namespace

void LCObserverRegistry::add(LCObserver *observer)
{
    if (observer) {
        observers().push_back(observer);
    }
}

void LCObserverRegistry::remove(LCObserver *observer)
{
    auto &list = observers();
    list.erase(std::remove(list.begin(), list.end(), observer), list.end());
}

int LCObserverRegistry::count()
{
    return int(observers().size());
}

void LCObserverRegistry::notify(LCObject *object, ChangeKind kind)
{
    const std::vector<LCObserver *> snapshot = observers();
    for (LCObserver *observer : snapshot) {
        // one that unregistered during an earlier call of this notification may be gone
        const auto &live = observers();
        if (std::find(live.begin(), live.end(), observer) != live.end()) {
            observer->objectChanged(object, kind);
        }
    }
}
