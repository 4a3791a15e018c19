#include "report/ui/lcvoltagechartview.h"

#include "calc/lcloopcalculator.h"
#include "definitions/lcdatastore.h"
#include "model/lcloop.h"
#include "report/ui/lcvoltagechart.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QToolTip>

#include <cmath>

using namespace QtCharts;

namespace
{
// how far from a device, in pixels, the mouse still means it
constexpr qreal kReachPixel = 12.0;
} // namespace

LCVoltageChartView::LCVoltageChartView(QWidget *parent)
    : QChartView(parent)
{
    setRenderHint(QPainter::Antialiasing);
    // hovering names the device under the mouse
    viewport()->setMouseTracking(true);
    setObjectName(QStringLiteral("voltageChart"));
}

LCVoltageChartView::~LCVoltageChartView()
{
    delete chart();
}

void LCVoltageChartView::showLoop(const LCLoop *loop)
{
    std::unique_ptr<QChart> built = loop ? LCVoltageChart::build(*loop) : nullptr;
    // an edit after edit of a stale loop: nothing to show, nothing to build
    if (!built && !hasChart() && chart()) {
        m_loop = loop;
        return;
    }
    m_loop = loop;
    m_results.clear();
    if (built) {
        m_results = LCLoopCalculator::fromLibrary().deviceResults(*loop);
    } else {
        built = std::make_unique<QChart>();
    }
    // the view does not free the chart it is given up
    QChart *const old = chart();
    setChart(built.release());
    delete old;
    setVisible(hasChart());
}

bool LCVoltageChartView::viewportEvent(QEvent *event)
{
    // the scene would hide any tooltip that none of its items has: the devices have theirs
    if (event->type() != QEvent::ToolTip) {
        return QChartView::viewportEvent(event);
    }
    const auto *const help = static_cast<QHelpEvent *>(event);
    const int row = deviceNear(help->pos());
    if (row >= 0) {
        QToolTip::showText(help->globalPos(), describe(row), this);
    } else {
        QToolTip::hideText();
    }
    return true;
}

void LCVoltageChartView::mouseReleaseEvent(QMouseEvent *event)
{
    const int row = event->button() == Qt::LeftButton ? deviceNear(event->pos()) : -1;
    if (row >= 0) {
        emit deviceClicked(row);
    }
    QChartView::mouseReleaseEvent(event);
}

int LCVoltageChartView::deviceNear(const QPoint &position) const
{
    // in the scene's coordinates, where the chart maps its values
    const QPointF mouse = mapToScene(position);
    int nearest = -1;
    qreal best = kReachPixel;
    for (std::size_t row = 0; row < m_results.size(); ++row) {
        const LCDeviceResult &result = m_results[row];
        if (!result.reached) {
            continue;
        }
        const QPointF at = chart()->mapToScene(
            chart()->mapToPosition(QPointF(qreal(result.metre), qreal(result.volt))));
        const qreal distance = std::hypot(at.x() - mouse.x(), at.y() - mouse.y());
        if (distance <= best) {
            best = distance;
            nearest = int(row);
        }
    }
    return nearest;
}

QString LCVoltageChartView::describe(int row) const
{
    const LCObject *const device = m_loop ? m_loop->child(row) : nullptr;
    if (!device) {
        return QString();
    }
    const LCDeviceResult &result = m_results[std::size_t(row)];
    const QString type = LCDataStore::instance()
                             ->deviceTypes()
                             .value(device->property(PropertyId::deviceTypeid).toInt())
                             .Name;
    return tr("Location %1: %2\n%3 V at %4 m (needs %5 V)")
        .arg(row + 1)
        .arg(type)
        .arg(double(result.volt), 0, 'f', 2)
        .arg(double(result.metre), 0, 'f', 0)
        .arg(double(result.limitVolt), 0, 'f', 0);
}
