#pragma once

#include <QCoreApplication>
#include <QFont>
#include <QPainter>
#include <QStringList>

#include <memory>

class LCLoop;
class LCController;
class LCProject;
class QPagedPaintDevice;

// The calculation sheet an engineer hands to an approver or a site: a first page with the
// project's details, then per panel its details and result summary, and per loop its currents,
// volt drop, capacitance against its limit, the verdict with the problems and suggestions as the
// report gives them, the voltage chart and a table of its devices. Every page carries the
// project's name and its number; tables go on over pages with their heading repeated. Pages
// are painted one after another onto the device (a PDF file or a printer), never held.
class LCCalculationSheet
{
    Q_DECLARE_TR_FUNCTIONS(LCCalculationSheet)

public:
    explicit LCCalculationSheet(QPagedPaintDevice &device);
    ~LCCalculationSheet();

    // Writes the sheet of project, whose loops are calculated as they stand; false when the
    // device could not be painted on.
    bool write(const LCProject &project);
    // The sheet as a PDF file of A4 pages, written whole or not at all; false, with the reason
    // in error, when it could not be written.
    static bool writePdf(const LCProject &project, const QString &path, QString *error);

private:
    void writeProjectPage(const LCProject &project);
    void writePanel(const LCController &panel);
    void writeLoop(const LCController &panel, const LCLoop &loop);
    void writeDeviceTable(const LCLoop &loop);

    // Room for height points on this page, else a new page.
    void need(qreal height);
    void newPage();
    void heading(const QString &text, qreal size);
    // Text wrapped over the width of the page.
    void paragraph(const QString &text, bool bold = false);
    // Label and value pairs in two columns.
    void fields(const QList<QPair<QString, QString>> &rows);
    void tableRow(const QStringList &cells, bool heading);
    void pageFrame();
    QFont font(qreal points, bool bold) const;

    QPagedPaintDevice &m_device;
    QPainter m_painter;
    QString m_projectName;
    int m_page = 0;
    // device units per point
    qreal m_scale = 1.0;
    qreal m_y = 0.0;
    qreal m_width = 0.0;
    qreal m_bottom = 0.0;
    QStringList m_tableHeading;
    QString m_tableCaption;
};
