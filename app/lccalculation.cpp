#include "app/lccalculation.h"

#include "calc/lcloopcalculator.h"
#include "calc/lcloopverdict.h"
#include "definitions/lcdatastore.h"
#include "grids/lceditrecorder.h"
#include "grids/ui/lcprompter.h"
#include "model/lccontroller.h"
#include "model/lcloop.h"
#include "report/lcpanelsummary.h"

#include <QDate>

namespace
{
const QString kDateFormat = QStringLiteral("yyyy-MM-dd");
} // namespace

LCCalculation::LCCalculation(
    LCPrompter &prompter, LCEditRecorder &recorder, QWidget *window, std::function<void()> report)
    : m_prompter(prompter)
    , m_recorder(recorder)
    , m_window(window)
    , m_report(std::move(report))
{
}

LCObject *LCCalculation::run(LCObject &object)
{
    LCObject *target = &object;
    if (target->kind() == ObjectKind::Plain) {
        target = target->parent();
    }
    if (!target) {
        return nullptr;
    }
    if (target->kind() == ObjectKind::Controller) {
        calculatePanel(*target);
    } else if (target->kind() != ObjectKind::Loop || !calculateLoop(*target)) {
        return nullptr;
    }
    // the date of the calculation is part of the project, and a step like any other
    if (LCProject *const project = LCDataStore::instance()->project()) {
        m_recorder.beginStep(tr("Calculate"));
        m_recorder.setProperty(
            *project, PropertyId::Date, QDate::currentDate().toString(kDateFormat));
        m_recorder.endStep();
    }
    return target;
}

void LCCalculation::calculatePanel(LCObject &object)
{
    auto &panel = static_cast<LCController &>(object);
    const LCPanelSummary::Outcome outcome = LCPanelSummary::calculatePanel(panel);
    if (outcome.anyLoopFails) {
        if (m_prompter.question(m_window, tr("Information"), tr("Do you want to create a report?"))
            == LCPrompter::Answer::Yes) {
            m_report();
        }
    } else if (!outcome.hasLoops) {
        m_prompter.information(m_window, tr("Information"), tr("All the loop is blank"));
    }
}

bool LCCalculation::calculateLoop(LCObject &object)
{
    auto &loop = static_cast<LCLoop &>(object);
    loop.setProperty(PropertyId::ResultText, QString());
    if (loop.isEmpty()) {
        m_prompter.information(m_window, tr("Information"),
            tr("Loop") + QString::number(loop.property(PropertyId::Loopid).toInt())
                + tr(" is blank!"));
        return false;
    }
    LCLoopCalculator::fromLibrary().calculateLoop(loop);
    LCLoopVerdict::verdictText(loop);
    if (loop.property(PropertyId::LoopStatus).toInt() == LoopStatusValue::Fails
        && m_prompter.question(m_window, tr("Information"), tr("Do you want to create a report"))
            == LCPrompter::Answer::Yes) {
        m_report();
    }
    return true;
}
