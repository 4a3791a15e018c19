#pragma once

#include "calc/lcdeviceresult.h"

#include <QtCharts/QChartView>

#include <vector>

class LCLoop;

// The voltage chart of the loop on show, under the device grid. It shows nothing while the loop
// is not calculated or an edit made its results stale. Hovering a point names the device;
// clicking it asks for that device's row.
class LCVoltageChartView : public QtCharts::QChartView
{
    Q_OBJECT

public:
    explicit LCVoltageChartView(QWidget *parent = nullptr);
    ~LCVoltageChartView() override;

    // Shows the chart of loop (null for none) as its results stand now.
    void showLoop(const LCLoop *loop);
    const LCLoop *loop() const { return m_loop; }
    bool hasChart() const { return !m_results.empty(); }

signals:
    void deviceClicked(int row);

protected:
    bool viewportEvent(QEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    // The device drawn nearest to position in the view, within reach of the mouse; -1 for none.
    int deviceNear(const QPoint &position) const;
    QString describe(int row) const;

    const LCLoop *m_loop = nullptr;
    std::vector<LCDeviceResult> m_results;
};
