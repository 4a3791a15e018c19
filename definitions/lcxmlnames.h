#pragma once

#include <QLatin1String>

// Element and attribute names of the definition and project files, exactly as they are written.
// Not constexpr: QLatin1String counts with strlen, which clang (the fuzz build) cannot run at
// compile time.
namespace LCXml
{
// elements
inline const QLatin1String Default("Default");
inline const QLatin1String Project("Project");
inline const QLatin1String Panel("Panel");
inline const QLatin1String Loop("Loop");
inline const QLatin1String Device("device");
inline const QLatin1String DeviceType("DeviceType");
inline const QLatin1String WireType("WireType");
inline const QLatin1String CardType("CardType");
inline const QLatin1String DevSubType("DevSubType");
inline const QLatin1String BatteryType("BatteryType");

// definition attributes
inline const QLatin1String DevID("DevID");
inline const QLatin1String IcoID("IcoID");
inline const QLatin1String Volt("Volt");
inline const QLatin1String Name("Name");
inline const QLatin1String ActiveCurrent("ActiveCurrent");
inline const QLatin1String Capacitance("Capacitance");
inline const QLatin1String Current("Current");
inline const QLatin1String SubType("SubType");
inline const QLatin1String WireID("WireID");
inline const QLatin1String Capacity("Capacity");
inline const QLatin1String Resistance("Resistance");
inline const QLatin1String Note("Note");
inline const QLatin1String CardID("CardID");
inline const QLatin1String SubTypeId("id");
inline const QLatin1String SubTypePicture("picture");
inline const QLatin1String SubTypeName("name");
// a sub type of this name is never offered
inline const QLatin1String UserDefinedSubType("USER DEFINED");

// project attributes
inline const QLatin1String ProjectName("name");
inline const QLatin1String SiteName("SiteName");
inline const QLatin1String SiteAddr("SiteAddr");
inline const QLatin1String EndUser("EndUser");
inline const QLatin1String Installer("Installer");
inline const QLatin1String Engineer("Engineer");
inline const QLatin1String Date("Date");
inline const QLatin1String ProjectNote("note");
inline const QLatin1String CustomerData("CustomerData");
inline const QLatin1String Addr("Addr");

// panel attributes
inline const QLatin1String Panelid("Panelid");
inline const QLatin1String PanelType("PanelType");
inline const QLatin1String LoopCardCount("LoopCardCount");
inline const QLatin1String CommCount("CommCount");
inline const QLatin1String ManualPanelCount("ManualPanelCount");
inline const QLatin1String MainCardCount("MainCardCount");
inline const QLatin1String CANCardCount("CANCardCount");
inline const QLatin1String ModbusCardCount("ModbusCardCount");
inline const QLatin1String Slot1CardType("Slot1CardType");
inline const QLatin1String Slot2CardType("Slot2CardType");
inline const QLatin1String PanelNote("note");

// loop attributes
inline const QLatin1String Loopid("Loopid");
inline const QLatin1String FirstDis("FirstDis");
inline const QLatin1String LastDis("LastDis");
inline const QLatin1String TotalDis("TotalDis");
inline const QLatin1String LoopWireType("wiretype");
inline const QLatin1String DevCount("devCount");

// device attributes
inline const QLatin1String DeviceTypeid("deviceTypeid");
inline const QLatin1String Pos("pos");
inline const QLatin1String DeviceWireType("wiretype");
inline const QLatin1String Truck("truck");
inline const QLatin1String DeviceTypeName("devicetypename");
// the chosen sub type; files written before it was kept have none
inline const QLatin1String DeviceSubType("subtype");
// the value of devicetypename on a device fed through a loop relay module
inline const QLatin1String RelayMark("Relay");
} // namespace LCXml
