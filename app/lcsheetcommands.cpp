#include "app/lcsheetcommands.h"

#include "app/lcrecentfiles.h"
#include "definitions/lcdatastore.h"
#include "grids/ui/lcprompter.h"
#include "model/lccontroller.h"
#include "report/lcpanelsummary.h"
#include "report/ui/lccalculationsheet.h"

#include <QDir>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace
{
const QString kPdfSuffix = QStringLiteral("pdf");
} // namespace

LCSheetCommands::LCSheetCommands(LCPrompter &prompter, LCRecentFiles &recentFiles, QWidget *window)
    : QObject(window)
    , m_prompter(prompter)
    , m_recentFiles(recentFiles)
    , m_window(window)
{
}

bool LCSheetCommands::calculateAll()
{
    LCProject *const project = LCDataStore::instance()->project();
    if (!project) {
        m_prompter.information(m_window, tr("Information"), tr("No project exists!"));
        return false;
    }
    for (int i = 0; i < project->childCount(); ++i) {
        if (LCController *const panel = project->panel(i)) {
            LCPanelSummary::calculatePanel(*panel);
        }
    }
    return true;
}

void LCSheetCommands::exportPdf()
{
    if (!calculateAll()) {
        return;
    }
    const LCProject &project = *LCDataStore::instance()->project();
    const QString suggested = QDir(m_recentFiles.lastFolder(QDir::currentPath()))
                                  .filePath(project.property(PropertyId::Name).toString()
                                      + QLatin1Char('.') + kPdfSuffix);
    QString path = m_prompter.saveFileName(
        m_window, tr("Export Calculation Sheet"), suggested, tr("PDF Files (*.pdf)"));
    if (path.isEmpty()) {
        return;
    }
    if (QFileInfo(path).suffix().isEmpty()) {
        path += QLatin1Char('.') + kPdfSuffix;
    }
    QString error;
    if (!LCCalculationSheet::writePdf(project, path, &error)) {
        m_prompter.information(m_window, tr("Error"),
            tr("The calculation sheet could not be written to %1: %2")
                .arg(QDir::toNativeSeparators(path), error));
        return;
    }
    m_prompter.information(m_window, tr("Information"),
        tr("The calculation sheet was written to %1.").arg(QDir::toNativeSeparators(path)));
}

void LCSheetCommands::printPreview()
{
    if (!calculateAll()) {
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    QPrintPreviewDialog dialog(&printer, m_window);
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this, &LCSheetCommands::paint);
    m_prompter.exec(dialog);
}

void LCSheetCommands::print()
{
    if (!calculateAll()) {
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, m_window);
    if (m_prompter.exec(dialog) == QDialog::Accepted) {
        paint(&printer);
    }
}

void LCSheetCommands::paint(QPrinter *printer)
{
    if (const LCProject *const project = LCDataStore::instance()->project()) {
        printer->setFullPage(true);
        LCCalculationSheet sheet(*printer);
        (void)sheet.write(*project);
    }
}
