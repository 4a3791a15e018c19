#pragma once

#include <QLatin1String>

// Element and attribute names of the definition and project files, exactly as they are written.
namespace LCXml
{
// elements
constexpr QLatin1String Default("Default");
constexpr QLatin1String Project("Project");
constexpr QLatin1String Panel("Panel");
constexpr QLatin1String Loop("Loop");
constexpr QLatin1String Device("device");
constexpr QLatin1String DeviceType("DeviceType");
constexpr QLatin1String WireType("WireType");
constexpr QLatin1String CardType("CardType");
constexpr QLatin1String DevSubType("DevSubType");
constexpr QLatin1String BatteryType("BatteryType");

// definition attributes
constexpr QLatin1String DevID("DevID");
constexpr QLatin1String IcoID("IcoID");
constexpr QLatin1String Volt("Volt");
constexpr QLatin1String Name("Name");
constexpr QLatin1String ActiveCurrent("ActiveCurrent");
constexpr QLatin1String Capacitance("Capacitance");
constexpr QLatin1String Current("Current");
constexpr QLatin1String SubType("SubType");
constexpr QLatin1String WireID("WireID");
constexpr QLatin1String Capacity("Capacity");
constexpr QLatin1String Resistance("Resistance");
constexpr QLatin1String Note("Note");
constexpr QLatin1String CardID("CardID");
constexpr QLatin1String SubTypeId("id");
constexpr QLatin1String SubTypePicture("picture");
constexpr QLatin1String SubTypeName("name");
// a sub type of this name is never offered
constexpr QLatin1String UserDefinedSubType("USER DEFINED");

// project attributes
constexpr QLatin1String ProjectName("name");
constexpr QLatin1String SiteName("SiteName");
constexpr QLatin1String SiteAddr("SiteAddr");
constexpr QLatin1String EndUser("EndUser");
constexpr QLatin1String Installer("Installer");
constexpr QLatin1String Engineer("Engineer");
constexpr QLatin1String Date("Date");
constexpr QLatin1String ProjectNote("note");
constexpr QLatin1String CustomerData("CustomerData");
constexpr QLatin1String Addr("Addr");

// panel attributes
constexpr QLatin1String Panelid("Panelid");
constexpr QLatin1String PanelType("PanelType");
constexpr QLatin1String LoopCardCount("LoopCardCount");
constexpr QLatin1String CommCount("CommCount");
constexpr QLatin1String ManualPanelCount("ManualPanelCount");
constexpr QLatin1String MainCardCount("MainCardCount");
constexpr QLatin1String CANCardCount("CANCardCount");
constexpr QLatin1String ModbusCardCount("ModbusCardCount");
constexpr QLatin1String Slot1CardType("Slot1CardType");
constexpr QLatin1String Slot2CardType("Slot2CardType");
constexpr QLatin1String PanelNote("note");

// loop attributes
constexpr QLatin1String Loopid("Loopid");
constexpr QLatin1String FirstDis("FirstDis");
constexpr QLatin1String LastDis("LastDis");
constexpr QLatin1String TotalDis("TotalDis");
constexpr QLatin1String LoopWireType("wiretype");
constexpr QLatin1String DevCount("devCount");

// device attributes
constexpr QLatin1String DeviceTypeid("deviceTypeid");
constexpr QLatin1String Pos("pos");
constexpr QLatin1String DeviceWireType("wiretype");
constexpr QLatin1String Truck("truck");
constexpr QLatin1String DeviceTypeName("devicetypename");
// the chosen sub type; files written before it was kept have none
constexpr QLatin1String DeviceSubType("subtype");
// the value of devicetypename on a device fed through a loop relay module
constexpr QLatin1String RelayMark("Relay");
} // namespace LCXml
