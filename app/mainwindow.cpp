#include "app/mainwindow.h"

#include "definitions/lcdatastore.h"
#include "model/lccontroller.h"
#include "model/lcloop.h"

#include <QTextEdit>

namespace
{
constexpr int kMinimumWidth = 800;
constexpr int kMinimumHeight = 600;
} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
    , m_overview(new QTextEdit(this))
{
    setWindowTitle(QStringLiteral("Mirel"));
    setMinimumSize(kMinimumWidth, kMinimumHeight);
    m_overview->setReadOnly(true);
    setCentralWidget(m_overview);
}

bool MainWindow::initConfig()
{
    if (!LCDataStore::instance()->loadProject(QString()).ok) {
        return false;
    }
    showOverview();
    return true;
}

void MainWindow::showOverview()
{
    const LCDataStore *store = LCDataStore::instance();
    QStringList lines;
    const LCProject *project = store->project();
    if (!project) {
        lines << tr("No project is open.");
    } else {
        lines << tr("Project: %1").arg(project->property(PropertyId::Name).toString());
        lines << tr("Site: %1").arg(project->property(PropertyId::SiteName).toString());
        for (int p = 0; p < project->childCount(); ++p) {
            const LCController *panel = project->panel(p);
            if (!panel) {
                continue;
            }
            lines << tr("Panel %1 (%2), %n loop(s)", nullptr, panel->childCount())
                         .arg(panel->property(PropertyId::Panelid).toInt())
                         .arg(store->panelTypes().value(
                             panel->property(PropertyId::PanelType).toInt()));
            for (int l = 0; l < panel->childCount(); ++l) {
                const LCLoop *loop = panel->loop(l);
                if (loop) {
                    lines << tr(
                        "    Loop %1: %n device(s), %2 m of cable", nullptr, loop->childCount())
                                 .arg(loop->property(PropertyId::Loopid).toInt())
                                 .arg(double(loop->totalCableLength()), 0, 'f', 1);
                }
            }
        }
    }
    lines << QString()
          << tr("%1 device types, %2 cable types, %3 card types in the library.")
                 .arg(store->deviceTypes().size())
                 .arg(store->wireTypes().size())
                 .arg(store->cardTypes().size());
    m_overview->setPlainText(lines.join(QLatin1Char('\n')));
}
