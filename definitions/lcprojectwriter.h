#pragma once

#include "definitions/cardtype.h"
#include "definitions/devicetype.h"
#include "definitions/wiretype.h"

#include <QByteArray>
#include <QMap>

class LCObject;
class LCProject;
class LCXmlWriter;

// Turns a project and the user definitions into the bytes of a project file: UTF-8, indented by
// four spaces, panels, loops and devices in their order, then the definitions by ascending id.
class LCProjectWriter
{
public:
    struct Definitions {
        QMap<int, DeviceType> deviceTypes;
        QMap<int, WireType> wireTypes;
        QMap<int, CardType> cardTypes;
    };

    static QByteArray write(const LCProject &project, const Definitions &definitions);

private:
    static void writePanels(LCXmlWriter &writer, const LCProject &project);
    static void writeLoops(LCXmlWriter &writer, const LCObject &panel);
    static void writeDevices(LCXmlWriter &writer, const LCObject &loop);
};
