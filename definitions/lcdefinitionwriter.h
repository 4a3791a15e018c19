#pragma once

#include "definitions/cardtype.h"
#include "definitions/devicetype.h"
#include "definitions/wiretype.h"

#include <QMap>

class QXmlStreamWriter;

// Writes the user definitions as elements of the current element, in ascending id order.
namespace LCDefinitionWriter
{

void writeDeviceTypes(QXmlStreamWriter &writer, const QMap<int, DeviceType> &types);
void writeWireTypes(QXmlStreamWriter &writer, const QMap<int, WireType> &types);
void writeCardTypes(QXmlStreamWriter &writer, const QMap<int, CardType> &types);

} // namespace LCDefinitionWriter
