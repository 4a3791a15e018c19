#include "report/lcreportcommand.h"

#include "definitions/lcdatastore.h"
#include "grids/ui/lcprompter.h"
#include "model/lccontroller.h"
#include "model/lcloop.h"
#include "report/lcreportdestination.h"
#include "report/lcreportrows.h"

#include <QDir>

namespace
{
// Titles and texts of the boxes; the first ones are the program's own, odd spelling and all.
constexpr char kInformationTitle[] = QT_TRANSLATE_NOOP("LCReportCommand", "Information");
constexpr char kInfomationTitle[] = QT_TRANSLATE_NOOP("LCReportCommand", "Infomation");
constexpr char kErrorTitle[] = QT_TRANSLATE_NOOP("LCReportCommand", "Error");
constexpr char kNoProject[] = QT_TRANSLATE_NOOP("LCReportCommand", "No project found!");
constexpr char kNoSelection[] =
    QT_TRANSLATE_NOOP("LCReportCommand", "Please choose a controller or a loop to report!");
constexpr char kNotPanelOrLoop[] =
    QT_TRANSLATE_NOOP("LCReportCommand", "Select panel or loop to report!");
constexpr char kNoProblem[] =
    QT_TRANSLATE_NOOP("LCReportCommand", "No cabling problem be found on all loops!");
constexpr char kComplete[] = QT_TRANSLATE_NOOP("LCReportCommand", "Report complete!");
constexpr char kNoFolder[] = QT_TRANSLATE_NOOP(
    "LCReportCommand", "The report could not be written: no file can be created in %1 or in %2.");
constexpr char kNoFileName[] = QT_TRANSLATE_NOOP(
    "LCReportCommand", "The report could not be written: %1 has no free file name for it.");
constexpr char kNotStarted[] =
    QT_TRANSLATE_NOOP("LCReportCommand", "The spreadsheet could not be started: %1");
constexpr char kNoTemplate[] =
    QT_TRANSLATE_NOOP("LCReportCommand", "The report template could not be opened: %1");
constexpr char kNotFilled[] =
    QT_TRANSLATE_NOOP("LCReportCommand", "The report could not be filled in: %1");
constexpr char kNotWritten[] =
    QT_TRANSLATE_NOOP("LCReportCommand", "The report could not be written: %1");

using Automation = LCSpreadsheetAutomation;

// Lets go of the application however the command ends, after its last box was shown.
class ApplicationRelease
{
public:
    ApplicationRelease(Automation &automation, Automation::Object application)
        : m_automation(automation)
        , m_application(application)
    {
    }
    ~ApplicationRelease() { m_automation.release(m_application); }
    ApplicationRelease(const ApplicationRelease &) = delete;
    ApplicationRelease &operator=(const ApplicationRelease &) = delete;

private:
    Automation &m_automation;
    const Automation::Object m_application;
};

struct Selection {
    const LCController *panel = nullptr;
    const LCLoop *loop = nullptr; // null: the whole panel
};

// The panel, and the loop when one is selected; nothing when current is neither a panel, nor
// its "Loops" item, nor a loop of a panel.
std::optional<Selection> selectionOf(const LCObject &current)
{
    const LCObject *const parent = current.parent();
    switch (current.kind()) {
    case ObjectKind::Plain:
        if (parent && parent->kind() == ObjectKind::Controller) {
            return Selection{dynamic_cast<const LCController *>(parent), nullptr};
        }
        break;
    case ObjectKind::Controller:
        return Selection{dynamic_cast<const LCController *>(&current), nullptr};
    case ObjectKind::Loop:
        if (parent && parent->kind() == ObjectKind::Controller) {
            return Selection{
                dynamic_cast<const LCController *>(parent), dynamic_cast<const LCLoop *>(&current)};
        }
        break;
    case ObjectKind::Project:
    case ObjectKind::Device:
        break;
    }
    return std::nullopt;
}
} // namespace

LCReportCommand::LCReportCommand(
    LCPrompter &prompter, LCSpreadsheetAutomation &automation, Opener open)
    : m_prompter(prompter)
    , m_automation(automation)
    , m_open(std::move(open))
    , m_fallbackFolder(LCDataStore::instance()->paths().documentsFolder())
    , m_now([] { return QDateTime::currentDateTime(); })
{
}

std::optional<QString> LCReportCommand::run(QWidget *parent, const LCObject *current)
{
    const LCProject *const project = LCDataStore::instance()->project();
    if (!project) {
        m_prompter.information(parent, tr(kInformationTitle), tr(kNoProject));
        return std::nullopt;
    }
    if (!current) {
        m_prompter.information(parent, tr(kInformationTitle), tr(kNoSelection));
        return std::nullopt;
    }
    const std::optional<Selection> selection = selectionOf(*current);
    if (!selection || !selection->panel) {
        m_prompter.information(parent, tr(kInformationTitle), tr(kNotPanelOrLoop));
        return std::nullopt;
    }
    // a selected loop that works still gets its report when another loop of the panel fails
    if (!LCReportRows::anyLoopFails(*selection->panel)) {
        m_prompter.information(parent, tr(kInfomationTitle), tr(kNoProblem));
        return std::nullopt;
    }

    const QStringList folders{reportFolder(), m_fallbackFolder};
    const std::optional<QString> folder = LCReportDestination::writableFolder(folders);
    if (!folder) {
        tellError(parent,
            tr(kNoFolder).arg(
                QDir::toNativeSeparators(folders.at(0)), QDir::toNativeSeparators(folders.at(1))));
        return std::nullopt;
    }
    const QString fileName =
        LCReportDestination::fileName(project->property(PropertyId::Name).toString(),
            selection->panel->property(PropertyId::Panelid).toInt(), m_now());
    const std::optional<QString> path = LCReportDestination::unusedPath(*folder, fileName);
    if (!path) {
        tellError(parent, tr(kNoFileName).arg(QDir::toNativeSeparators(*folder)));
        return std::nullopt;
    }
    return writeWorkbook(parent, cells(*project, *selection->panel, selection->loop), *path);
}

QVector<LCReportCommand::Cell> LCReportCommand::cells(
    const LCObject &project, const LCController &panel, const LCLoop *onlyLoop)
{
    const int panelType = panel.property(PropertyId::PanelType).toInt();
    QVector<Cell> result{
        {kProjectNameRow, kHeaderColumn, project.property(PropertyId::Name).toString()},
        {kDescriptionRow, kHeaderColumn, project.property(PropertyId::ProjectNote).toString()},
        {kPanelTypeRow, kHeaderColumn, LCDataStore::instance()->panelTypes().value(panelType)},
        {kPanelNumberRow, kHeaderColumn, panel.property(PropertyId::Panelid).toInt()},
        {kLoopCountRow, kHeaderColumn, panel.childCount()},
    };
    int row = kFirstProblemRow;
    for (const LCReportRows::Row &problem : LCReportRows::problemRows(panel, onlyLoop)) {
        result.append({row, kProblemLabelColumn, problem.label});
        result.append({row, kProblemTextColumn, problem.text});
        ++row;
    }
    return result;
}

QString LCReportCommand::templatePath()
{
    return LCDataStore::instance()->paths().reportTemplate();
}

QString LCReportCommand::reportFolder()
{
    return LCDataStore::instance()->paths().reportFolder();
}

std::optional<QString> LCReportCommand::writeWorkbook(
    QWidget *parent, const QVector<Cell> &cells, const QString &path)
{
    const Automation::Object application = m_automation.createApplication(Automation::kProgId);
    if (application == Automation::kNoObject) {
        tellError(parent, tr(kNotStarted).arg(m_automation.errorString()));
        return std::nullopt;
    }
    const ApplicationRelease release(m_automation, application);
    if (!m_automation.setProperty(application, Automation::kVisible, true)
        || !m_automation.setProperty(
            application, Automation::kCaption, QString(Automation::kCaptionText))) {
        tellError(parent, tr(kNotStarted).arg(m_automation.errorString()));
        return std::nullopt;
    }
    const Automation::Object workBooks =
        m_automation.querySubObject(application, Automation::kWorkBooks);
    if (workBooks == Automation::kNoObject) {
        tellError(parent, tr(kNoTemplate).arg(m_automation.errorString()));
        return std::nullopt;
    }
    if (!m_automation.dynamicCall(workBooks, Automation::kOpen, {templatePath()})) {
        tellError(parent, tr(kNoTemplate).arg(m_automation.errorString()));
        return std::nullopt;
    }
    const Automation::Object workbook =
        m_automation.querySubObject(application, Automation::kActiveWorkBook);
    const Automation::Object sheet = workbook == Automation::kNoObject
        ? Automation::kNoObject
        : m_automation.querySubObject(workbook, Automation::kWorksheets, {kWorksheetIndex});
    if (sheet == Automation::kNoObject) {
        tellError(parent, tr(kNoTemplate).arg(m_automation.errorString()));
        return std::nullopt;
    }
    for (const Cell &cell : cells) {
        const Automation::Object target =
            m_automation.querySubObject(sheet, Automation::kCells, {cell.row, cell.column});
        if (target == Automation::kNoObject
            || !m_automation.setProperty(target, Automation::kValue, cell.value)) {
            tellError(parent, tr(kNotFilled).arg(m_automation.errorString()));
            return std::nullopt;
        }
    }
    if (!m_automation.saveCopy(workbook, path)) {
        tellError(parent, tr(kNotWritten).arg(m_automation.errorString()));
        return std::nullopt;
    }
    if (m_open) {
        m_open(path);
    }
    // the program's text, then the file on a line of its own
    m_prompter.information(parent, tr(kInformationTitle),
        tr(kComplete) + QLatin1Char('\n') + QDir::toNativeSeparators(path));
    return path;
}

void LCReportCommand::tellError(QWidget *parent, const QString &text)
{
    m_prompter.information(parent, tr(kErrorTitle), text);
}
