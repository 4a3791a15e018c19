#pragma once

#include "report/lcspreadsheetautomation.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QString>
#include <QVariant>
#include <QVector>

#include <functional>
#include <optional>

class LCController;
class LCLoop;
class LCObject;
class LCPrompter;
class QWidget;

// The Report command: writes the cabling problems of one panel into a workbook made from the
// report template. The project and panel data go into fixed header cells, and each failing
// loop its reason of failure and numbered suggestions from row 12 on. It shows what the last
// calculation stored and calculates nothing.
//
// Every run leaves a new file: "<project>-Panel<n>-<date-time>.xlsx" in the Report folder below
// the program when it runs from its own folder, else (or when that cannot be written) in the
// user's documents folder. The file is then handed to the opener, which shows it in the desktop's
// spreadsheet program.
class LCReportCommand
{
    Q_DECLARE_TR_FUNCTIONS(LCReportCommand)

public:
    // Shows the written workbook to the user.
    using Opener = std::function<void(const QString &path)>;
    using Clock = std::function<QDateTime()>;

    // Rows and columns are the spreadsheet's, counted from 1 (column 7 is G).
    static constexpr int kHeaderColumn = 7;
    static constexpr int kProjectNameRow = 2;
    static constexpr int kDescriptionRow = 4;
    static constexpr int kPanelTypeRow = 6;
    static constexpr int kPanelNumberRow = 8;
    static constexpr int kLoopCountRow = 10;
    static constexpr int kFirstProblemRow = 12;
    static constexpr int kProblemLabelColumn = 1;
    static constexpr int kProblemTextColumn = 4;
    static constexpr int kWorksheetIndex = 1;

    struct Cell {
        int row = 0;
        int column = 0;
        QVariant value; // a text, or an integer written as a number
    };

    LCReportCommand(LCPrompter &prompter, LCSpreadsheetAutomation &automation, Opener open);

    // Where the report goes when the Report folder cannot take it; the user's documents folder
    // unless set.
    void setFallbackFolder(const QString &folder) { m_fallbackFolder = folder; }
    // The moment that names the file; now unless set.
    void setClock(Clock now) { m_now = std::move(now); }

    // Reports on current, the project tree's current object (null when it has none): a panel or
    // its "Loops" item reports all failing loops of the panel, a loop only itself. Every box is
    // shown through the prompter with parent. Returns the path of the written workbook, or
    // nothing when the command ended at a gate or on a failure it has told the user of.
    std::optional<QString> run(QWidget *parent, const LCObject *current);

    // The cells of the report of panel, in the order they are written: the header cells, then
    // the problem rows of its failing loops (of onlyLoop alone when it is given).
    static QVector<Cell> cells(
        const LCObject &project, const LCController &panel, const LCLoop *onlyLoop);

    // The template the workbook is made from, and the folder the reports go into first.
    static QString templatePath();
    static QString reportFolder();

private:
    // Drives the spreadsheet through filling cells and keeping the workbook as path.
    std::optional<QString> writeWorkbook(
        QWidget *parent, const QVector<Cell> &cells, const QString &path);
    void tellError(QWidget *parent, const QString &text);

    LCPrompter &m_prompter;
    LCSpreadsheetAutomation &m_automation;
    Opener m_open;
    QString m_fallbackFolder;
    Clock m_now;
};
