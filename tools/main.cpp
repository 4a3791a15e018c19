// mirel-check: calculates every loop of a project file and prints the verdicts, for engineers who
// check many files in batch or from their own scripts. It never writes a file.

#include "calc/lcunknowntypes.h"
#include "definitions/lcdatastore.h"
#include "model/lccontroller.h"
#include "model/lcloop.h"
#include "report/lcpanelsummary.h"
#include "report/lcreportrows.h"
#include "report/ui/lccalculationsheet.h"

#include <QApplication>
#include <QFileInfo>

#include <QStringList>
#include <QTextStream>
#include <algorithm>
#include <memory>

namespace
{
enum ExitStatus { AllLoopsWork = 0, SomeLoopFails = 1, CannotRead = 2 };

const char *const kHelp = R"(Usage: mirel-check [--pdf OUT.pdf] [FILE]
       mirel-check --help

Calculates every loop of every panel of the project FILE and prints the verdicts. Without FILE,
Mirel's working project is checked: config/config.xml beside the program, or config.xml in the
user's data folder when Mirel is installed (the sample project before Mirel's first start). The
factory definitions (config/default.xml beside the program, or in ../share/mirel) are read
first, then the definitions the file carries, exactly as the program's Open command does.
Nothing is written.

For each panel, in order, the output holds:
  a line "Panel <number>";
  the panel's result summary as the Calculate command shows it: the line naming the loops
  that may not work well (or that can work well), then for each loop "Loop<n> result:", its
  five-line verdict and an empty line;
  for each failing loop, the rows its cabling report gets, one per line:
    "Loop<n> Error", a tab, the reason of failure;
    "Loop<n> Solution", a tab, "<k>. " and the k-th suggestion.

Devices whose type is not in the definitions count as drawing no current; for each such type
a loop holds, a line "mirel-check: FILE: Panel <number>: Loop<n>: ..." on standard error names
the type and the devices' locations. These warnings leave the exit status as it is.

With --pdf OUT.pdf, the calculation sheet of the project (as File > Export Calculation Sheet
writes it) is written to OUT.pdf as well; no window is opened. The printout and the exit status
stay as they are; a sheet that cannot be written is a one-line message on standard error and
exit status 2.

Exit status:
  0  every loop can work
  1  at least one loop may not work
  2  the file cannot be read, is not well-formed XML or holds no project
     (a one-line message on standard error names the file and the reason)
)";
} // namespace

int main(int argc, char *argv[])
{
    // only the sheet's charts need a GUI application, which needs no display offscreen
    const bool sheetWanted = std::any_of(argv + 1, argv + argc,
        [](const char *argument) { return qstrcmp(argument, "--pdf") == 0; });
    if (sheetWanted && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    }
    const std::unique_ptr<QCoreApplication> application = sheetWanted
        ? std::make_unique<QApplication>(argc, argv)
        : std::make_unique<QCoreApplication>(argc, argv);
    // the same user folders as the program's
    QCoreApplication::setOrganizationName(QStringLiteral("Mirel"));
    QCoreApplication::setApplicationName(QStringLiteral("Mirel"));
    QTextStream out(stdout);
    out.setCodec("UTF-8");
    QTextStream err(stderr);
    err.setCodec("UTF-8");

    QStringList arguments = application->arguments().mid(1);
    if (arguments.contains(QStringLiteral("--help")) || arguments.contains(QStringLiteral("-h"))) {
        out << kHelp;
        return AllLoopsWork;
    }
    QString sheet;
    const int pdf = arguments.indexOf(QStringLiteral("--pdf"));
    if (pdf >= 0) {
        if (pdf + 1 >= arguments.size()) {
            err << "mirel-check: --pdf needs the file to write; see mirel-check --help\n";
            return CannotRead;
        }
        sheet = arguments.at(pdf + 1);
        arguments.erase(arguments.begin() + pdf, arguments.begin() + pdf + 2);
    }
    if (arguments.size() > 1) {
        err << "mirel-check: one project file at most; see mirel-check --help\n";
        return CannotRead;
    }

    LCDataStore *store = LCDataStore::instance();
    const LCPaths &paths = store->paths();
    const QString working =
        QFileInfo::exists(paths.workingFile()) ? paths.workingFile() : paths.sampleProject();
    const QString path = arguments.isEmpty() ? working : arguments.first();
    const LCLoadResult loaded = store->loadProject(path);
    if (!loaded.projectRead || !store->project()) {
        err << "mirel-check: " << path << ": " << loaded.errorText << '\n';
        return CannotRead;
    }

    const QMap<int, DeviceType> deviceTypes = store->deviceTypes();
    bool anyFails = false;
    LCProject *project = store->project();
    for (int i = 0; i < project->childCount(); ++i) {
        LCController *panel = project->panel(i);
        if (!panel) {
            continue;
        }
        const int panelId = panel->property(PropertyId::Panelid).toInt();
        out << "Panel " << panelId << '\n';
        const LCPanelSummary::Outcome outcome = LCPanelSummary::calculatePanel(*panel);
        for (int j = 0; j < panel->childCount(); ++j) {
            const LCLoop *loop = panel->loop(j);
            if (!loop) {
                continue;
            }
            for (const QString &line : LCUnknownTypes::warnings(*loop, deviceTypes)) {
                err << "mirel-check: " << path << ": Panel " << panelId << ": " << line << '\n';
            }
        }
        out << outcome.text;
        anyFails = anyFails || outcome.anyLoopFails;
        for (const LCReportRows::Row &row : LCReportRows::problemRows(*panel)) {
            out << row.label << '\t' << row.text << '\n';
        }
    }
    QString error;
    if (!sheet.isEmpty() && !LCCalculationSheet::writePdf(*project, sheet, &error)) {
        err << "mirel-check: " << sheet << ": " << error << '\n';
        return CannotRead;
    }
    return anyFails ? SomeLoopFails : AllLoopsWork;
}
