#pragma once

#include "definitions/cardtype.h"
#include "definitions/devicetype.h"
#include "definitions/wiretype.h"

#include <QMap>

class LCXmlWriter;

// Writes the user definitions as elements of the current element, in ascending id order.
namespace LCDefinitionWriter
{

void writeDeviceTypes(LCXmlWriter &writer, const QMap<int, DeviceType> &types);
void writeWireTypes(LCXmlWriter &writer, const QMap<int, WireType> &types);
void writeCardTypes(LCXmlWriter &writer, const QMap<int, CardType> &types);

} // namespace LCDefinitionWriter
