#pragma once

// Keys of every object's data. The numbers are written nowhere, but the grids address project
// rows by number, so they are fixed and never renumbered. Ids 14 to 17, 20 and 33 are unused.
enum class PropertyId : int {
    // project
    Name = 0,
    SiteName = 1,
    SiteAddr = 2,
    EndUser = 3,
    Installer = 4,
    Engineer = 5,
    Date = 6,
    ProjectNote = 7,
    CustomerData = 8,
    Addr = 9,
    // panel
    Panelid = 10,
    PanelType = 11,
    LoopCardCount = 12,
    CommCount = 13,
    ManualPanelCount = 18,
    MainCardCount = 19,
    CANCardCount = 21,
    ModbusCardCount = 22,
    Slot1CardType = 23,
    Slot2CardType = 24,
    PanelNote = 25,
    // loop
    Loopid = 26,
    LastDis = 27,
    LoopCableType = 28,
    LoopStatus = 29,
    VoltDrop = 30,
    ProblemText = 31,
    Suggestions = 32,
    // device
    deviceTypeid = 34,
    SubType = 35,
    CableType = 36,
    truck = 37,
    pos = 38,
    Relay = 39,
    CheckMark = 40,
    // loop and panel
    ResultText = 41,
};

// What an object is; fixed when it is constructed.
enum class ObjectKind : int {
    Plain = 0, // the "Loops" item of a panel in the project tree
    Project = 1,
    Controller = 2,
    Loop = 3,
    Device = 4,
};

// What an observer is told about.
enum class ChangeKind : int {
    // the results of a loop were computed or made stale; the object is the loop
    LoopResults = 2,
};

// Values of LoopStatus.
namespace LoopStatusValue
{
constexpr int NotCalculated = -1;
constexpr int Fails = 0;
constexpr int Works = 1;
} // namespace LoopStatusValue

// Values of CheckMark.
namespace CheckMarkValue
{
constexpr int NotChecked = -1;
constexpr int Flagged = 0;
constexpr int Passed = 1;
} // namespace CheckMarkValue

// What the last calculation found, as opposed to what the user entered: results are never
// saved, and taking an edit back does not bring old results back.
constexpr bool isResultProperty(PropertyId id)
{
    return id == PropertyId::LoopStatus || id == PropertyId::VoltDrop
        || id == PropertyId::ProblemText || id == PropertyId::Suggestions
        || id == PropertyId::CheckMark || id == PropertyId::ResultText;
}
