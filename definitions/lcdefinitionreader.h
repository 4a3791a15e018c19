#pragma once

#include "definitions/batterytype.h"
#include "definitions/cardtype.h"
#include "definitions/devicetype.h"
#include "definitions/devsubtype.h"
#include "definitions/lcxmlelement.h"
#include "definitions/wiretype.h"

#include <QList>
#include <QMap>
#include <QVector>

// Builds definition records from the child elements of a "Default" or "Project" element.
// Elements of other tags are passed over; absent attributes take their defaults and numbers
// that do not parse read as 0. A later element with an id already seen replaces the earlier one.
namespace LCDefinitionReader
{

QMap<int, DeviceType> readDeviceTypes(const QVector<LCXmlElement> &elements);
QMap<int, WireType> readWireTypes(const QVector<LCXmlElement> &elements);
QMap<int, CardType> readCardTypes(const QVector<LCXmlElement> &elements);
// Sub types named "USER DEFINED" are left out.
QMap<int, DevSubType> readSubTypes(const QVector<LCXmlElement> &elements);
// In file order, duplicates kept.
QList<BatteryType> readBatteryTypes(const QVector<LCXmlElement> &elements);

// "3 5" gives [3, 5]; every single space splits, so "" gives [0] and "3  5" gives [3, 0, 5].
QList<int> parseSubTypeList(const QString &text);

} // namespace LCDefinitionReader
