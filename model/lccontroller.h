#pragma once

#include "model/lcobject.h"

#include <memory>

class LCLoop;

// A fire alarm control panel; its children are its loops, kept in ascending Loopid order.
class LCController : public LCObject
{
public:
    // Codes of the cards an option slot can hold.
    static constexpr int kOpticalCard = 11;
    static constexpr int kHyperNetworkCard = 12;

    explicit LCController(LCObject *parent = nullptr);
    ~LCController() override;

    LCLoop *loop(int index) const;
    // The panel's "Loops" item of the project tree, made the first time it is asked for. It is
    // not a child, so it is neither saved nor counted as a loop.
    LCObject *loopsNode();

    // How many loops a panel of the given type drives.
    static int maxLoopCount(int panelType);
    int maxLoopCount() const;
    // Full at exactly its maximum: a panel read from a file may hold more and is then not full.
    bool isFull() const;
    // The smallest loop number not yet taken, counting from 1; 0 when the panel is full.
    int lowestFreeLoopNumber() const;
    // The first loop numbered loopId, or null.
    LCLoop *findLoop(int loopId) const;
    // How many of the two option slots hold cardCode.
    int optionSlotCount(int cardCode) const;

protected:
    void childInserted(LCObject *child, int index) override;
    void propertyChanged(PropertyId id, const QVariant &value) override;

private:
    std::unique_ptr<LCObject> m_loopsNode;
};
