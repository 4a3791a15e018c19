#include "bench/lcsampleproject.h"

#include "model/lccontroller.h"
#include "model/lcdevice.h"
#include "model/lcloop.h"

#include <array>
#include <cstddef>

namespace
{
// One seed for every run, so each run times the same project.
constexpr std::mt19937::result_type kSeed = 20240611;

// Device type ids of the factory definitions.
constexpr int kSmokeDetector = 1;
constexpr int kHeatDetectorRateOfRise = 2;
constexpr int kHeatDetectorFixed = 3;
constexpr int kMultiSensor = 4;
constexpr int kManualCallPoint = 5;
constexpr int kBeamDetector = 6;
constexpr int kCoDetector = 8;
constexpr int kMultiSensorCo = 9;
constexpr int kInputModule = 10;
constexpr int kOutputModule = 11;
constexpr int kConventionalZoneInterface = 12;
constexpr int kIsolatorModule = 13;
constexpr int kInputOutputModule = 14;
constexpr int kSounder = 15;
constexpr int kSounderBeacon = 17;
constexpr int kLoopRelayModule = 18;
constexpr int kDoorReleaseModule = 20;
constexpr int kOutdoorCallPoint = 21;
constexpr int kBeacon = 25;
constexpr int kBaseSounder = 26;

// What stands along a trunk, repeated by how common it is on a site: mostly smoke detectors,
// call points at the exits, a few modules, and sounders wired on the loop itself.
constexpr std::array kTrunkTypes{kSmokeDetector, kSmokeDetector, kSmokeDetector, kSmokeDetector,
    kSmokeDetector, kSmokeDetector, kSmokeDetector, kSmokeDetector, kHeatDetectorRateOfRise,
    kHeatDetectorRateOfRise, kHeatDetectorFixed, kMultiSensor, kMultiSensor, kManualCallPoint,
    kManualCallPoint, kManualCallPoint, kBeamDetector, kCoDetector, kMultiSensorCo, kInputModule,
    kOutputModule, kInputOutputModule, kSounder, kSounder, kSounderBeacon, kBaseSounder,
    kBaseSounder, kDoorReleaseModule, kOutdoorCallPoint};
// A spur into a room or a corridor.
constexpr std::array kBranchTypes{kSmokeDetector, kSmokeDetector, kSmokeDetector,
    kHeatDetectorRateOfRise, kMultiSensor, kManualCallPoint, kInputModule};
// Behind a loop relay module: the devices that are fed off the loop.
constexpr std::array kRelayFedTypes{
    kSounder, kSounder, kSounderBeacon, kBeacon, kBaseSounder, kConventionalZoneInterface};

// Cable type ids of the factory definitions.
constexpr int kCable15Ph120 = 1;
constexpr int kCable10Ph30 = 2;
constexpr int kCable25Ph120 = 3;
constexpr int kCable05TwistedPair = 4;
constexpr int kCable15Micc = 5;
constexpr int kCable25Swa = 6;
// The trunk cable of successive loops; the light and the thin cables make some loops fail.
constexpr std::array kLoopCables{kCable15Ph120, kCable15Ph120, kCable25Ph120, kCable10Ph30,
    kCable15Micc, kCable15Ph120, kCable25Swa, kCable25Ph120, kCable15Ph120, kCable05TwistedPair};
// Spurs are run in lighter cable than the trunk, relay-fed sounder circuits in 1.5 mm2.
constexpr int kBranchCable = kCable10Ph30;
constexpr int kRelayFedCable = kCable15Ph120;

// Lengths in m between neighbouring devices.
constexpr int kMinFirstRunMetre = 10;
constexpr int kMaxFirstRunMetre = 40;
constexpr int kMinTrunkMetre = 3;
constexpr int kMaxTrunkMetre = 12;
constexpr int kMinBranchMetre = 2;
constexpr int kMaxBranchMetre = 8;
constexpr int kMinReturnMetre = 10;
constexpr int kMaxReturnMetre = 60;
// Lengths are drawn to a tenth of a metre.
constexpr int kTenthsPerMetre = 10;

// An isolator every so many trunk positions, as the loop's short-circuit sections need.
constexpr int kIsolatorSpacing = 20;
// Trunk devices between two branches, and devices on one branch.
constexpr int kMinTrunkRun = 25;
constexpr int kMaxTrunkRun = 45;
constexpr int kMinBranchDevices = 4;
constexpr int kMaxBranchDevices = 12;
// Every third branch is a sounder circuit behind a loop relay module.
constexpr int kRelayBranchEvery = 3;

constexpr int kPanelTypeCount = 5;
constexpr int kMaxCommCount = 2;
constexpr int kMaxManualPanelCount = 2;
constexpr int kMainCards = 1;
constexpr int kMaxCanCards = 1;
constexpr int kMaxModbusCards = 1;
constexpr std::array kOptionSlotCards{
    0, 0, LCController::kOpticalCard, LCController::kHyperNetworkCard};
constexpr int kLevelsPerBlock = 5;

template <typename Array>
int pick(std::mt19937 &random, const Array &ids)
{
    return ids[std::size_t(random() % ids.size())];
}
} // namespace

std::unique_ptr<LCProject> LCSampleProject::build(const Size &size)
{
    Random random(kSeed);
    auto project = std::make_unique<LCProject>();
    project->storeProperty(PropertyId::Name, QStringLiteral("Harbourside Quarter, phase 2"));
    project->storeProperty(
        PropertyId::SiteName, QStringLiteral("Harbourside Quarter - offices, hotel & car parks"));
    project->storeProperty(PropertyId::SiteAddr, QStringLiteral("1-40 Quay Road, Port Ellery"));
    project->storeProperty(PropertyId::EndUser, QStringLiteral("Harbourside Estates Ltd"));
    project->storeProperty(PropertyId::Installer, QStringLiteral("Coastline Fire & Security"));
    project->storeProperty(PropertyId::Engineer, QStringLiteral("R. Okafor"));
    project->storeProperty(PropertyId::Date, QStringLiteral("2025-01-20"));
    project->storeProperty(PropertyId::ProjectNote,
        QStringLiteral("Category L2 throughout, one panel per block and level"));
    project->storeProperty(PropertyId::CustomerData, QStringLiteral("order HQ-2025-004"));
    project->storeProperty(PropertyId::Addr, QStringLiteral("Harbourside Estates, 2 Dock Street"));
    for (int panel = 1; panel <= size.panels; ++panel) {
        addPanel(*project, panel, size, random);
    }
    return project;
}

void LCSampleProject::addPanel(LCProject &project, int panelId, const Size &size, Random &random)
{
    auto panel = std::make_unique<LCController>(&project);
    panel->storeProperty(PropertyId::Panelid, panelId);
    panel->storeProperty(PropertyId::PanelType, panelId % kPanelTypeCount + 1);
    panel->storeProperty(PropertyId::CommCount, between(random, 0, kMaxCommCount));
    panel->storeProperty(PropertyId::ManualPanelCount, between(random, 0, kMaxManualPanelCount));
    panel->storeProperty(PropertyId::MainCardCount, kMainCards);
    panel->storeProperty(PropertyId::CANCardCount, between(random, 0, kMaxCanCards));
    panel->storeProperty(PropertyId::ModbusCardCount, between(random, 0, kMaxModbusCards));
    panel->storeProperty(PropertyId::Slot1CardType, pick(random, kOptionSlotCards));
    panel->storeProperty(PropertyId::Slot2CardType, pick(random, kOptionSlotCards));
    panel->storeProperty(PropertyId::PanelNote,
        QStringLiteral("Block %1, level %2")
            .arg((panelId - 1) / kLevelsPerBlock + 1)
            .arg((panelId - 1) % kLevelsPerBlock));
    LCController *const added = panel.get();
    project.insertChild(std::move(panel));
    for (int loop = 1; loop <= size.loopsPerPanel; ++loop) {
        addLoop(*added, loop, size.devicesPerLoop, random);
    }
}

void LCSampleProject::addLoop(LCController &panel, int loopId, int devicesPerLoop, Random &random)
{
    const int cable = kLoopCables[std::size_t(loopId) % kLoopCables.size()];
    auto loop = std::make_unique<LCLoop>(&panel);
    loop->storeProperty(PropertyId::Loopid, loopId);
    loop->storeProperty(PropertyId::LastDis, metres(random, kMinReturnMetre, kMaxReturnMetre));
    loop->storeProperty(PropertyId::LoopCableType, cable);
    LCLoop *const added = loop.get();
    panel.insertChild(std::move(loop));

    int branch = 0;
    int index = 0;
    int nextBranchAt = between(random, kMinTrunkRun, kMaxTrunkRun);
    while (index < devicesPerLoop) {
        // a branch, with its relay module, only where it fits whole before the loop is full
        if (index >= nextBranchAt && devicesPerLoop - index > kMaxBranchDevices + 1) {
            ++branch;
            const bool relayFed = branch % kRelayBranchEvery == 0;
            if (relayFed) {
                addDevice(*added, kLoopRelayModule, metres(random, kMinTrunkMetre, kMaxTrunkMetre),
                    cable, 0, false);
                ++index;
            }
            const int count = between(random, kMinBranchDevices, kMaxBranchDevices);
            for (int k = 0; k < count; ++k) {
                const int type =
                    relayFed ? pick(random, kRelayFedTypes) : pick(random, kBranchTypes);
                addDevice(*added, type, metres(random, kMinBranchMetre, kMaxBranchMetre),
                    relayFed ? kRelayFedCable : kBranchCable, branch, relayFed);
                ++index;
            }
            nextBranchAt = index + between(random, kMinTrunkRun, kMaxTrunkRun);
            continue;
        }
        const int type =
            index % kIsolatorSpacing == 0 ? kIsolatorModule : pick(random, kTrunkTypes);
        const float metre = index == 0 ? metres(random, kMinFirstRunMetre, kMaxFirstRunMetre)
                                       : metres(random, kMinTrunkMetre, kMaxTrunkMetre);
        addDevice(*added, type, metre, cable, 0, false);
        ++index;
    }
}

void LCSampleProject::addDevice(
    LCLoop &loop, int typeId, float metre, int cableType, int truck, bool relay)
{
    auto device = std::make_unique<LCDevice>(&loop);
    device->storeProperty(PropertyId::deviceTypeid, typeId);
    device->storeProperty(PropertyId::pos, metre);
    device->storeProperty(PropertyId::CableType, cableType);
    device->storeProperty(PropertyId::truck, truck);
    device->storeProperty(PropertyId::Relay, relay);
    loop.insertChild(std::move(device));
}

int LCSampleProject::between(Random &random, int low, int high)
{
    return low + int(random() % Random::result_type(high - low + 1));
}

float LCSampleProject::metres(Random &random, int lowMetre, int highMetre)
{
    return float(between(random, lowMetre * kTenthsPerMetre, highMetre * kTenthsPerMetre))
        / float(kTenthsPerMetre);
}
