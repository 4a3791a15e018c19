#include "report/ui/lcvoltagechart.h"

#include "calc/lcloopcalculator.h"
#include "model/lcloop.h"

#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>
#include <QtCharts/QValueAxis>

#include <QCoreApplication>
#include <QMap>
#include <QPen>

#include <algorithm>
#include <cmath>

using namespace QtCharts;

namespace
{
QString tr(const char *text)
{
    return QCoreApplication::translate("LCVoltageChart", text);
}

constexpr qreal kLimitPenWidth = 1.5;
constexpr qreal kFailedMarker = 9.0;
// room above the panel's output and below the lowest of limit and devices
constexpr qreal kVoltMargin = 1.0;

QLineSeries *limitLine(qreal volt, qreal metre, const QString &name, const QColor &colour)
{
    auto *series = new QLineSeries;
    series->setName(name);
    series->append(0.0, volt);
    series->append(metre, volt);
    QPen pen(colour);
    pen.setStyle(Qt::DashLine);
    pen.setWidthF(kLimitPenWidth);
    series->setPen(pen);
    return series;
}
} // namespace

QString LCVoltageChart::trunkName()
{
    return tr("Trunk");
}

QString LCVoltageChart::branchName(int number)
{
    return tr("Branch %1").arg(number);
}

QString LCVoltageChart::relayName()
{
    return tr("Relay pass");
}

QString LCVoltageChart::failedName()
{
    return tr("Failed");
}

std::unique_ptr<QChart> LCVoltageChart::build(const LCLoop &loop)
{
    const int status = loop.property(PropertyId::LoopStatus).toInt();
    if (status == LoopStatusValue::NotCalculated || loop.isEmpty()) {
        return nullptr;
    }
    return build(loop, LCLoopCalculator::fromLibrary().deviceResults(loop));
}

std::unique_ptr<QChart> LCVoltageChart::build(
    const LCLoop &loop, const std::vector<LCDeviceResult> &results)
{
    auto chart = std::make_unique<QChart>();
    chart->setTitle(
        tr("Loop%1: voltage along the cable").arg(loop.property(PropertyId::Loopid).toInt()));
    auto *trunk = new QLineSeries;
    trunk->setName(trunkName());
    trunk->append(0.0, LCLoopCalculator::kSupplyVolt);
    auto *relay = new QScatterSeries;
    relay->setName(relayName());
    auto *failed = new QScatterSeries;
    failed->setName(failedName());
    failed->setColor(Qt::red);
    failed->setMarkerSize(kFailedMarker);
    // the branches by the order they begin along the loop, each from the trunk device before it
    QMap<int, QLineSeries *> branches;
    QPointF lastTrunk(0.0, LCLoopCalculator::kSupplyVolt);
    qreal lowest = LCLoopCalculator::kMinDeviceVolt;
    qreal furthest = 0.0;
    for (const LCDeviceResult &result : results) {
        if (!result.reached) {
            continue;
        }
        const QPointF point(result.metre, result.volt);
        if (result.relayPass) {
            relay->append(point);
        } else if (result.truck == 0) {
            trunk->append(point);
            lastTrunk = point;
        } else {
            QLineSeries *&branch = branches[result.truck];
            if (!branch) {
                branch = new QLineSeries;
                branch->setName(branchName(branches.size()));
                branch->append(lastTrunk);
            }
            branch->append(point);
        }
        if (result.mark == CheckMarkValue::Flagged) {
            failed->append(point);
        }
        lowest = std::min(lowest, qreal(result.volt));
        furthest = std::max(furthest, qreal(result.metre));
    }
    chart->addSeries(trunk);
    for (QLineSeries *branch : branches) {
        chart->addSeries(branch);
    }
    // a series with no point only crowds the legend
    if (relay->count() > 0) {
        chart->addSeries(relay);
    } else {
        delete relay;
    }
    if (failed->count() > 0) {
        chart->addSeries(failed);
    } else {
        delete failed;
    }

    auto *metres = new QValueAxis;
    metres->setTitleText(tr("Distance from the panel (m)"));
    metres->setRange(0.0, std::max(furthest, 1.0));
    metres->setLabelFormat(QStringLiteral("%.0f"));
    metres->applyNiceNumbers();
    auto *volts = new QValueAxis;
    volts->setTitleText(tr("Voltage (V)"));
    volts->setRange(std::floor(lowest - kVoltMargin), LCLoopCalculator::kSupplyVolt + kVoltMargin);
    volts->applyNiceNumbers();
    // the limits run across the whole width of the chart
    chart->addSeries(
        limitLine(LCLoopCalculator::kMinDeviceVolt, metres->max(), tr("16 V"), Qt::darkGray));
    chart->addSeries(
        limitLine(LCLoopCalculator::kMinSounderVolt, metres->max(), tr("20 V"), Qt::darkMagenta));
    chart->addAxis(metres, Qt::AlignBottom);
    chart->addAxis(volts, Qt::AlignLeft);
    for (QAbstractSeries *series : chart->series()) {
        series->attachAxis(metres);
        series->attachAxis(volts);
    }
    return chart;
}
