#include "report/lcpanelsummary.h"

#include "calc/lcloopcalculator.h"
#include "calc/lcloopverdict.h"
#include "definitions/lcdatastore.h"
#include "model/lccontroller.h"
#include "model/lcloop.h"

#include <QCoreApplication>

namespace
{
QString tr(const char *text)
{
    return QCoreApplication::translate("LCPanelSummary", text);
}

const QString kLoopBreak = QStringLiteral("\n\n");
} // namespace

QString LCPanelSummary::loopHeading(const LCLoop &loop)
{
    return tr("Loop") + QString::number(loop.property(PropertyId::Loopid).toInt())
        + tr(" result:\n");
}

LCPanelSummary::Outcome LCPanelSummary::calculatePanel(LCController &panel,
    const LCLoopCalculator &calculator,
    const QMap<int, DeviceType> &deviceTypes)
{
    // clears the verdicts of the loops too
    panel.setProperty(PropertyId::ResultText, QString());
    QString good;
    QString bad;
    QString details;
    for (int i = 0; i < panel.childCount(); ++i) {
        LCLoop *const loop = panel.loop(i);
        if (!loop) {
            continue;
        }
        calculator.calculateLoop(*loop);
        details += loopHeading(*loop);
        details += LCLoopVerdict::verdictText(*loop, deviceTypes);
        details += kLoopBreak;
        const QString number =
            QLatin1Char(' ') + QString::number(loop->property(PropertyId::Loopid).toInt());
        if (loop->property(PropertyId::LoopStatus).toInt() == LoopStatusValue::Fails) {
            bad += number;
        } else {
            good += number;
        }
    }

    Outcome outcome;
    outcome.anyLoopFails = !bad.isEmpty();
    outcome.hasLoops = !bad.isEmpty() || !good.isEmpty();
    if (!bad.isEmpty()) {
        outcome.text = tr("Loop") + bad + tr(" may not work well.") + QLatin1Char('\n') + details;
    } else if (!good.isEmpty()) {
        outcome.text = tr("Loop") + good + tr(" can work well!") + QLatin1Char('\n') + details;
    } else {
        outcome.text = details;
    }
    panel.setProperty(PropertyId::ResultText, outcome.text);
    return outcome;
}

LCPanelSummary::Outcome LCPanelSummary::calculatePanel(LCController &panel)
{
    return calculatePanel(
        panel, LCLoopCalculator::fromLibrary(), LCDataStore::instance()->deviceTypes());
}
