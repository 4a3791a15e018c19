#include "calc/lcloopverdict.h"

#include "calc/lcdeviceclass.h"
#include "definitions/lcdatastore.h"
#include "model/lcloop.h"
#include "model/lcnumbertext.h"

#include <QCoreApplication>
#include <QStringList>

namespace
{
constexpr float kMilliAmpPerAmp = 1000.0f;
// a detector in alarm is counted with a tenth of its alarm current
constexpr float kDetectorAlarmShare = 0.1f;

QString tr(const char *text)
{
    return QCoreApplication::translate("LCLoopVerdict", text);
}
} // namespace

QString LCLoopVerdict::verdictText(LCLoop &loop, const QMap<int, DeviceType> &deviceTypes)
{
    float standby = 0.0f;
    float alarm = 0.0f;
    for (int i = 0; i < loop.childCount(); ++i) {
        const int typeId = loop.child(i)->property(PropertyId::deviceTypeid).toInt();
        if (typeId == 0) {
            continue;
        }
        const DeviceType type = deviceTypes.value(typeId);
        standby += type.Current / kMilliAmpPerAmp;
        alarm += LCDeviceClass::isDetector(typeId)
            ? type.ActiveCurrent / kMilliAmpPerAmp * kDetectorAlarmShare
            : type.ActiveCurrent / kMilliAmpPerAmp;
    }
    standby *= kMilliAmpPerAmp;
    alarm *= kMilliAmpPerAmp;

    const bool fails = loop.property(PropertyId::LoopStatus).toInt() == LoopStatusValue::Fails;
    const QStringList lines = {
        fails
            ? tr("Sorry, Loop %1 may not work well.").arg(loop.property(PropertyId::Loopid).toInt())
            : tr("Devices of this loop can work well!"),
        tr("Volt Drop : %1V")
            .arg(LCNumberText::fixed2(double(loop.property(PropertyId::VoltDrop).toFloat()))),
        tr("Maximum Volt Drop : 8.00V"),
        tr("Total standby current : %1mA").arg(LCNumberText::fixed2(double(standby))),
        tr("Total alarm current : %1mA").arg(LCNumberText::fixed2(double(alarm))),
    };
    const QString text = lines.join(QLatin1Char('\n'));
    loop.setProperty(PropertyId::ResultText, text);
    return text;
}

QString LCLoopVerdict::verdictText(LCLoop &loop)
{
    return verdictText(loop, LCDataStore::instance()->deviceTypes());
}
