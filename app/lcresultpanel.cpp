#include "app/lcresultpanel.h"

#include "model/lcloop.h"
#include "report/lcresulttext.h"
#include "report/ui/lcvoltagechartview.h"

#include <QDockWidget>
#include <QTextEdit>
#include <QTimer>

namespace
{
constexpr int kMinimumHeight = 280;
} // namespace

LCResultPanel::LCResultPanel(QWidget *parent)
    : QSplitter(Qt::Horizontal, parent)
    , m_dock(new QDockWidget(tr("Calculate Result"), this))
    , m_pane(new QTextEdit(m_dock))
    , m_chart(new LCVoltageChartView(this))
{
    m_dock->setObjectName(QStringLiteral("resultDock"));
    m_dock->setFeatures(QDockWidget::DockWidgetClosable);
    m_dock->setAllowedAreas(Qt::BottomDockWidgetArea);
    m_pane->setObjectName(QStringLiteral("resultPane"));
    m_pane->setReadOnly(true);
    m_dock->setWidget(m_pane);
    setChildrenCollapsible(false);
    addWidget(m_dock);
    addWidget(m_chart);
    m_dock->hide();
    m_chart->hide();
    // tall enough for a verdict and a readable chart, the two sharing the width
    setMinimumHeight(kMinimumHeight);
    setStretchFactor(0, 1);
    setStretchFactor(1, 1);
    // the chart goes with the result it belongs to
    connect(m_dock, &QDockWidget::visibilityChanged, this, [this](bool visible) {
        if (!visible) {
            m_chart->showLoop(nullptr);
        }
    });
}

bool LCResultPanel::isOpen() const
{
    return m_dock->isVisible();
}

void LCResultPanel::open(const LCObject *object)
{
    m_dock->setVisible(true);
    showResultOf(object);
    if (m_chart->isVisible() && m_chart->width() < width() / 3) {
        setSizes({width() / 2, width() / 2});
    }
}

void LCResultPanel::showResultOf(const LCObject *object)
{
    m_pane->setPlainText(object ? LCResultText::paneText(*object) : QString());
    const bool loop = object && object->kind() == ObjectKind::Loop && isOpen();
    m_chart->showLoop(loop ? static_cast<const LCLoop *>(object) : nullptr);
}

void LCResultPanel::noteChanged(
    const LCObject *object, const std::function<const LCObject *()> &shown)
{
    const LCObject *const current = shown();
    if (!current || !object || !isOpen() || m_redrawQueued) {
        return;
    }
    const LCObject *const panel = object->parent();
    const bool loopsOfPanel = current->kind() == ObjectKind::Plain && current->parent() == panel;
    if (current == object || current == panel || loopsOfPanel) {
        m_redrawQueued = true;
        QTimer::singleShot(0, this, [this, shown] {
            m_redrawQueued = false;
            if (isOpen()) {
                showResultOf(shown());
            }
        });
    }
}

void LCResultPanel::clear(bool close)
{
    showResultOf(nullptr);
    if (close) {
        m_dock->hide();
    }
}
