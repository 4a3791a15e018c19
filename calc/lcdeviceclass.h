#pragma once

// How the loop check treats a device, by its device type id.
namespace LCDeviceClass
{

constexpr int kLastDetectorId = 9;
constexpr int kOutdoorCallPointId = 21;

// Draws mostly standby current in the loop current; every id up to 9 (0 and negative ids
// included) and 21.
constexpr bool isDetector(int typeId)
{
    return typeId <= kLastDetectorId || typeId == kOutdoorCallPointId;
}

// Needs at least 20 V instead of 16 V.
constexpr bool isSounder(int typeId)
{
    return typeId == 15 || typeId == 17 || typeId == 25 || typeId == 26;
}

// Left out of the loop current; fed through a loop relay module when on a relay branch.
constexpr bool isOffLoop(int typeId)
{
    return typeId == 12 || isSounder(typeId);
}

} // namespace LCDeviceClass
