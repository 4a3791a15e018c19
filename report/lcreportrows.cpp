#include "report/lcreportrows.h"

#include "model/lccontroller.h"
#include "model/lcloop.h"

namespace
{
bool fails(const LCObject &loop)
{
    return loop.property(PropertyId::LoopStatus).toInt() == LoopStatusValue::Fails;
}
} // namespace

QVector<LCReportRows::Row> LCReportRows::problemRows(
    const LCController &panel, const LCLoop *onlyLoop)
{
    QVector<Row> rows;
    for (int i = 0; i < panel.childCount(); ++i) {
        const LCObject &loop = *panel.child(i);
        if (!fails(loop) || (onlyLoop && onlyLoop != &loop)) {
            continue;
        }
        const QString name =
            QStringLiteral("Loop%1").arg(loop.property(PropertyId::Loopid).toInt());
        rows.append(
            {name + QStringLiteral(" Error"), loop.property(PropertyId::ProblemText).toString()});
        const QVariantList suggestions = loop.property(PropertyId::Suggestions).toList();
        for (int k = 0; k < suggestions.size(); ++k) {
            rows.append({name + QStringLiteral(" Solution"),
                QStringLiteral("%1. ").arg(k + 1) + suggestions.at(k).toString()});
        }
    }
    return rows;
}

bool LCReportRows::anyLoopFails(const LCController &panel)
{
    for (int i = 0; i < panel.childCount(); ++i) {
        if (fails(*panel.child(i))) {
            return true;
        }
    }
    return false;
}
