#include "report/ui/lccalculationsheet.h"

#include "calc/lcloopcalculator.h"
#include "calc/lcloopverdict.h"
#include "definitions/lcdatastore.h"
#include "model/lccontroller.h"
#include "model/lcdevice.h"
#include "model/lcloop.h"
#include "model/lcproject.h"
#include "report/lcreportrows.h"
#include "report/lcresulttext.h"
#include "report/ui/lcvoltagechart.h"

#include <QGraphicsScene>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPdfWriter>
#include <QSaveFile>
#include <QtCharts/QChart>

#include <array>

namespace
{
// the page is laid out in points, whatever the device's resolution
constexpr qreal kPointsPerInch = 72.0;
constexpr qreal kMargin = 42.0;
constexpr qreal kFrameGap = 18.0;
constexpr qreal kBodySize = 9.0;
constexpr qreal kTitleSize = 18.0;
constexpr qreal kPanelSize = 14.0;
constexpr qreal kLoopSize = 12.0;
constexpr qreal kGap = 6.0;
constexpr qreal kChartHeight = 230.0;
constexpr qreal kRowPadding = 2.0;
constexpr qreal kLabelShare = 0.3;
const QString kVersion = QStringLiteral("3.01");
// share of the page's width of each column of the device table
constexpr std::array<qreal, 9> kColumnShares{0.05, 0.11, 0.18, 0.15, 0.16, 0.11, 0.08, 0.07, 0.09};
// the chart is laid out this many times larger than it is printed, so its texts come out small
constexpr qreal kChartScale = 1.8;

QString number(float value, int decimals)
{
    return QString::number(double(value), 'f', decimals);
}
} // namespace

QFont LCCalculationSheet::font(qreal points, bool bold) const
{
    // fonts are sized for the device, whose resolution the page's scale already holds
    QFont result;
    result.setPointSizeF(points / m_scale);
    result.setBold(bold);
    return result;
}

LCCalculationSheet::LCCalculationSheet(QPagedPaintDevice &device)
    : m_device(device)
{
}

LCCalculationSheet::~LCCalculationSheet() = default;

bool LCCalculationSheet::writePdf(const LCProject &project, const QString &path, QString *error)
{
    // a sheet that cannot be finished leaves the earlier file as it was
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error) {
            *error = file.errorString();
        }
        return false;
    }
    {
        QPdfWriter writer(&file);
        writer.setPageLayout(QPageLayout(
            QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(), QPageLayout::Point));
        writer.setTitle(tr("Calculation Sheet") + QStringLiteral(": ")
            + project.property(PropertyId::Name).toString());
        writer.setCreator(QStringLiteral("Mirel ") + kVersion);
        LCCalculationSheet sheet(writer);
        if (!sheet.write(project)) {
            file.cancelWriting();
            if (error) {
                *error = tr("the pages could not be painted");
            }
            return false;
        }
    }
    if (!file.commit()) {
        if (error) {
            *error = file.errorString();
        }
        return false;
    }
    return true;
}

bool LCCalculationSheet::write(const LCProject &project)
{
    if (!m_painter.begin(&m_device)) {
        return false;
    }
    m_scale = m_device.logicalDpiX() / kPointsPerInch;
    m_painter.scale(m_scale, m_scale);
    m_width = m_device.width() / m_scale - 2 * kMargin;
    m_bottom = m_device.height() / m_scale - kMargin;
    m_projectName = project.property(PropertyId::Name).toString();
    m_page = 1;
    pageFrame();
    writeProjectPage(project);
    for (int i = 0; i < project.childCount(); ++i) {
        if (const LCController *const panel = project.panel(i)) {
            newPage();
            writePanel(*panel);
        }
    }
    return m_painter.end();
}

void LCCalculationSheet::writeProjectPage(const LCProject &project)
{
    heading(tr("Calculation Sheet"), kTitleSize);
    const std::array<std::pair<PropertyId, const char *>, 10> details{{
        {PropertyId::Name, QT_TR_NOOP("Project Name")},
        {PropertyId::SiteName, QT_TR_NOOP("Site Name")},
        {PropertyId::SiteAddr, QT_TR_NOOP("Site Address")},
        {PropertyId::EndUser, QT_TR_NOOP("End-user")},
        {PropertyId::Installer, QT_TR_NOOP("Installer Name")},
        {PropertyId::Engineer, QT_TR_NOOP("Engineer")},
        {PropertyId::Date, QT_TR_NOOP("Calculate Date")},
        {PropertyId::ProjectNote, QT_TR_NOOP("Description")},
        {PropertyId::CustomerData, QT_TR_NOOP("Customer Data")},
        {PropertyId::Addr, QT_TR_NOOP("Address")},
    }};
    QList<QPair<QString, QString>> rows;
    for (const auto &[id, label] : details) {
        const QString value = project.property(id).toString().trimmed();
        // only the fields the engineer filled in
        if (!value.isEmpty()) {
            rows.append({tr(label), value});
        }
    }
    rows.append({tr("Panels"), QString::number(project.childCount())});
    rows.append({tr("Written by"), QStringLiteral("Mirel ") + tr("Ver ") + kVersion});
    fields(rows);
}

void LCCalculationSheet::writePanel(const LCController &panel)
{
    const QString type =
        LCDataStore::instance()->panelTypes().value(panel.property(PropertyId::PanelType).toInt());
    heading(
        tr("Panel %1-%2").arg(panel.property(PropertyId::Panelid).toInt()).arg(type), kPanelSize);
    fields({{tr("Loops"), QString::number(panel.childCount())},
        {tr("Loop Card QTY"), QString::number(panel.property(PropertyId::LoopCardCount).toInt())},
        {tr("Description"), panel.property(PropertyId::PanelNote).toString()}});
    const QString summary = panel.property(PropertyId::ResultText).toString();
    if (!summary.isEmpty()) {
        // the summary's first line; each loop's own verdict follows with the loop
        paragraph(summary.section(QLatin1Char('\n'), 0, 0), true);
    }
    for (int i = 0; i < panel.childCount(); ++i) {
        if (const LCLoop *const loop = panel.loop(i)) {
            writeLoop(panel, *loop);
        }
    }
}

void LCCalculationSheet::writeLoop(const LCController &panel, const LCLoop &loop)
{
    need(kChartHeight / 2);
    heading(tr("Loop%1").arg(loop.property(PropertyId::Loopid).toInt()), kLoopSize);
    if (loop.isEmpty()
        || loop.property(PropertyId::LoopStatus).toInt() == LoopStatusValue::NotCalculated) {
        paragraph(tr("Not calculated."));
        return;
    }
    paragraph(loop.property(PropertyId::ResultText).toString());
    const std::vector<LCDeviceResult> results = LCLoopCalculator::fromLibrary().deviceResults(loop);
    float capacitance = 0.0f;
    for (const LCDeviceResult &result : results) {
        if (!result.relayPass && result.reached) {
            capacitance = result.capacitance;
        }
    }
    paragraph(tr("Capacitance : %1 of at most %2")
                  .arg(number(capacitance, 0), number(LCLoopCalculator::kMaxCapacitance, 0)));
    const QVector<LCReportRows::Row> problems = LCReportRows::problemRows(panel, &loop);
    for (const LCReportRows::Row &row : problems) {
        paragraph(row.label + QStringLiteral("   ") + row.text);
    }

    need(kChartHeight);
    std::unique_ptr<QtCharts::QChart> chart = LCVoltageChart::build(loop, results);
    QGraphicsScene scene;
    const QRectF laidOut(0, 0, m_width * kChartScale, kChartHeight * kChartScale);
    chart->resize(laidOut.size());
    scene.addItem(chart.get());
    scene.render(&m_painter, QRectF(kMargin, m_y, m_width, kChartHeight), laidOut);
    scene.removeItem(chart.get());
    m_y += kChartHeight + kGap;
    writeDeviceTable(loop);
}

void LCCalculationSheet::writeDeviceTable(const LCLoop &loop)
{
    const LCDataStore *const store = LCDataStore::instance();
    const QMap<int, DeviceType> types = store->deviceTypes();
    const QMap<int, WireType> cables = store->wireTypes();
    const QMap<int, DevSubType> subTypes = store->subTypes();
    const std::vector<LCDeviceResult> results = LCLoopCalculator::fromLibrary().deviceResults(loop);
    m_tableCaption =
        tr("Loop%1, devices (continued)").arg(loop.property(PropertyId::Loopid).toInt());
    m_tableHeading = QStringList{tr("No."), tr("Topology"), tr("Device Type"), tr("Sub Type"),
        tr("Cable Type"), tr("Length"), tr("Volts"), tr("Limit"), tr("Result")};
    tableRow(m_tableHeading, true);
    for (int row = 0; row < loop.childCount(); ++row) {
        const LCObject &device = *loop.child(row);
        const LCDeviceResult &result = results[std::size_t(row)];
        const int truck = device.property(PropertyId::truck).toInt();
        QString topology = truck == 0 ? tr("Trunk") : tr("Node%1").arg(loop.branchNumber(row) + 1);
        if (truck != 0 && device.property(PropertyId::Relay).toBool()) {
            topology += tr("(Relay)");
        }
        const int typeId = device.property(PropertyId::deviceTypeid).toInt();
        const int cableId = device.property(PropertyId::CableType).toInt();
        tableRow({QString::number(row + 1), topology,
                     types.contains(typeId) ? types.value(typeId).Name
                                            : tr("Unknown type %1").arg(typeId),
                     subTypes.value(static_cast<const LCDevice &>(device).subType()).name,
                     cables.contains(cableId) ? cables.value(cableId).Name
                                              : tr("Unknown type %1").arg(cableId),
                     number(device.property(PropertyId::pos).toFloat(), 1),
                     result.reached ? number(result.volt, 2) : QStringLiteral("-"),
                     number(result.limitVolt, 0),
                     result.mark == CheckMarkValue::Flagged ? tr("fail") : tr("pass")},
            false);
    }
    m_tableHeading.clear();
    m_y += kGap;
}

void LCCalculationSheet::need(qreal height)
{
    if (m_y + height > m_bottom) {
        newPage();
    }
}

void LCCalculationSheet::newPage()
{
    m_device.newPage();
    ++m_page;
    pageFrame();
}

void LCCalculationSheet::pageFrame()
{
    m_painter.setFont(font(kBodySize, false));
    m_painter.setPen(Qt::darkGray);
    const qreal top = kMargin - kFrameGap;
    m_painter.drawText(QRectF(kMargin, top, m_width, kFrameGap), Qt::AlignLeft, m_projectName);
    m_painter.drawText(QRectF(kMargin, m_bottom + kFrameGap / 2, m_width, kFrameGap),
        Qt::AlignRight, tr("Page %1").arg(m_page));
    m_painter.setPen(Qt::black);
    m_y = kMargin;
}

void LCCalculationSheet::heading(const QString &text, qreal size)
{
    m_painter.setFont(font(size, true));
    const qreal height = m_painter.fontMetrics().height() + kGap;
    need(height * 2);
    m_painter.drawText(QRectF(kMargin, m_y, m_width, height), Qt::AlignLeft, text);
    m_y += height;
}

void LCCalculationSheet::paragraph(const QString &text, bool bold)
{
    m_painter.setFont(font(kBodySize, bold));
    // line by line, so a long verdict goes on over pages
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        const QRectF bounds =
            m_painter.boundingRect(QRectF(kMargin, 0, m_width, m_bottom), Qt::TextWordWrap, line);
        need(bounds.height());
        m_painter.drawText(QRectF(kMargin, m_y, m_width, bounds.height()), Qt::TextWordWrap, line);
        m_y += bounds.height();
    }
    m_y += kGap;
}

void LCCalculationSheet::fields(const QList<QPair<QString, QString>> &rows)
{
    const qreal labelWidth = m_width * kLabelShare;
    for (const auto &[label, value] : rows) {
        m_painter.setFont(font(kBodySize, false));
        const QRectF bounds = m_painter.boundingRect(
            QRectF(0, 0, m_width - labelWidth, m_bottom), Qt::TextWordWrap, value);
        need(bounds.height());
        m_painter.setFont(font(kBodySize, true));
        m_painter.drawText(QRectF(kMargin, m_y, labelWidth, bounds.height()), Qt::AlignLeft, label);
        m_painter.setFont(font(kBodySize, false));
        m_painter.drawText(QRectF(kMargin + labelWidth, m_y, m_width - labelWidth, bounds.height()),
            Qt::TextWordWrap, value);
        m_y += bounds.height() + kRowPadding;
    }
    m_y += kGap;
}

void LCCalculationSheet::tableRow(const QStringList &cells, bool headingRow)
{
    m_painter.setFont(font(kBodySize, headingRow));
    const qreal height = m_painter.fontMetrics().height() + 2 * kRowPadding;
    if (m_y + height > m_bottom) {
        newPage();
        // the table goes on with its caption and heading
        if (!headingRow && !m_tableHeading.isEmpty()) {
            paragraph(m_tableCaption, true);
            tableRow(m_tableHeading, true);
            m_painter.setFont(font(kBodySize, false));
        }
    }
    qreal x = kMargin;
    for (int column = 0; column < cells.size() && column < int(kColumnShares.size()); ++column) {
        const qreal width = m_width * kColumnShares[std::size_t(column)];
        const QRectF cell(x, m_y, width, height);
        m_painter.drawRect(cell);
        m_painter.drawText(cell.adjusted(kRowPadding, 0, -kRowPadding, 0),
            Qt::AlignLeft | Qt::AlignVCenter,
            m_painter.fontMetrics().elidedText(
                cells.at(column), Qt::ElideRight, int(width - 2 * kRowPadding)));
        x += width;
    }
    m_y += height;
}
