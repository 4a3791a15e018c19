#pragma once

#include <QCoreApplication>

#include <functional>

class LCEditRecorder;
class LCObject;
class LCPrompter;
class QWidget;

// The Calculate command: checks the loop, or every loop of the panel (a panel's "Loops" item
// stands for its panel), stores the verdicts and the panel's summary, and offers the report
// when a loop fails. The project's date is stamped as a step on the undo stack; the caller
// shows the result.
class LCCalculation
{
    Q_DECLARE_TR_FUNCTIONS(LCCalculation)

public:
    // report runs the Report command when the user wants one.
    LCCalculation(LCPrompter &prompter,
        LCEditRecorder &recorder,
        QWidget *window,
        std::function<void()> report);

    // The object whose result is now to be shown; null when nothing was calculated (an empty
    // loop, or an object that is neither a loop nor a panel).
    LCObject *run(LCObject &object);

private:
    void calculatePanel(LCObject &panel);
    bool calculateLoop(LCObject &loop);

    LCPrompter &m_prompter;
    LCEditRecorder &m_recorder;
    QWidget *m_window;
    std::function<void()> m_report;
};
