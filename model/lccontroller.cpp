#include "model/lccontroller.h"

#include "model/lcloop.h"

namespace
{
// One loop card drives two loops.
constexpr int kLoopsPerLoopCard = 2;

constexpr int kPanelTypeLarge = 5;
constexpr int kPanelTypeMedium = 3;
constexpr int kLoopsOfLargePanel = 6;
constexpr int kLoopsOfMediumPanel = 10;
constexpr int kLoopsOfSmallPanel = 2;
} // namespace

LCController::LCController(LCObject *parent)
    : LCObject(parent, ObjectKind::Controller)
{
}

LCController::~LCController()
{
    // the tree item goes before the loops it stands for
    m_loopsNode.reset();
}

LCLoop *LCController::loop(int index) const
{
    LCObject *const object = child(index);
    return object && object->kind() == ObjectKind::Loop ? static_cast<LCLoop *>(object) : nullptr;
}

LCObject *LCController::loopsNode()
{
    if (!m_loopsNode) {
        m_loopsNode = std::make_unique<LCObject>(this, ObjectKind::Plain);
    }
    return m_loopsNode.get();
}

int LCController::maxLoopCount(int panelType)
{
    if (panelType == kPanelTypeLarge) {
        return kLoopsOfLargePanel;
    }
    if (panelType == kPanelTypeMedium) {
        return kLoopsOfMediumPanel;
    }
    return kLoopsOfSmallPanel;
}

int LCController::maxLoopCount() const
{
    return maxLoopCount(property(PropertyId::PanelType).toInt());
}

bool LCController::isFull() const
{
    return childCount() == maxLoopCount();
}

int LCController::lowestFreeLoopNumber() const
{
    return isFull() ? 0 : lowestFreeChildNumber(PropertyId::Loopid);
}

LCLoop *LCController::findLoop(int loopId) const
{
    for (int i = 0; i < childCount(); ++i) {
        if (child(i)->property(PropertyId::Loopid).toInt() == loopId) {
            return loop(i);
        }
    }
    return nullptr;
}

int LCController::optionSlotCount(int cardCode) const
{
    return int(property(PropertyId::Slot1CardType).toInt() == cardCode)
        + int(property(PropertyId::Slot2CardType).toInt() == cardCode);
}

void LCController::childInserted(LCObject *child, int index)
{
    const int needed = (childCount() + 1) / kLoopsPerLoopCard;
    if (needed > property(PropertyId::LoopCardCount).toInt()) {
        storeProperty(PropertyId::LoopCardCount, needed);
    }
    keepChildrenSortedBy(PropertyId::Loopid, child, index);
}

void LCController::propertyChanged(PropertyId id, const QVariant &value)
{
    // clearing a panel's summary clears the verdicts of all its loops with it
    if (id != PropertyId::ResultText || !value.toString().isEmpty()) {
        return;
    }
    for (int i = 0; i < childCount(); ++i) {
        child(i)->setProperty(PropertyId::ResultText, QString());
    }
}
