#pragma once

#include <QSplitter>

#include <functional>

class LCObject;
class LCVoltageChartView;
class QDockWidget;
class QTextEdit;

// Under the grid: the calculation result of the object on show in a closable dock, and beside
// it the voltage chart of a calculated loop. The user drags the edge between them. Once closed,
// the result stays hidden until the next calculation opens it again.
class LCResultPanel : public QSplitter
{
    Q_OBJECT

public:
    explicit LCResultPanel(QWidget *parent = nullptr);

    bool isOpen() const;
    // Opens the dock (after a calculation) and shows object's result.
    void open(const LCObject *object);
    // Shows object's result while the dock is open; null shows nothing.
    void showResultOf(const LCObject *object);
    // The results of object were computed or made stale: while the dock is open and shows it,
    // its loops or its panel, the result of shown() is drawn again once the event loop is idle,
    // as a multi-cell edit tells of every cell.
    void noteChanged(const LCObject *object, const std::function<const LCObject *()> &shown);
    // Shows nothing, and closes the dock when close is set (for another project).
    void clear(bool close);
    LCVoltageChartView &chart() const { return *m_chart; }

private:
    QDockWidget *m_dock;
    QTextEdit *m_pane;
    LCVoltageChartView *m_chart;
    bool m_redrawQueued = false;
};
