#include "report/lcresulttext.h"

#include "calc/lcunknowntypes.h"
#include "definitions/lcdatastore.h"
#include "model/lccontroller.h"
#include "model/lcloop.h"
#include "report/lcreportrows.h"

#include <QCoreApplication>
#include <QStringList>

namespace
{
QString tr(const char *text)
{
    return QCoreApplication::translate("LCResultText", text);
}

const QString kParagraph = QStringLiteral("\n\n");
const QChar kLineBreak = QLatin1Char('\n');

QString loopName(const LCObject &loop)
{
    return QStringLiteral("Loop%1").arg(loop.property(PropertyId::Loopid).toInt());
}

// The reason and the numbered suggestions, one per line; the loop named first when asked.
QString problemLines(const LCController &panel, const LCLoop *onlyLoop)
{
    QStringList lines;
    for (const LCReportRows::Row &row : LCReportRows::problemRows(panel, onlyLoop)) {
        const bool isReason = row.label.endsWith(QStringLiteral(" Error"));
        if (isReason && !lines.isEmpty()) {
            lines << QString();
        }
        lines << (isReason && !onlyLoop ? row.label + QStringLiteral(": ") + row.text : row.text);
    }
    return lines.join(kLineBreak);
}

QString withProblems(const QString &result, const QString &problems)
{
    if (problems.isEmpty()) {
        return result;
    }
    return result.endsWith(kParagraph) ? result + problems : result + kParagraph + problems;
}

// Devices of types the library does not have count as drawing nothing: the user must know.
QStringList unknownTypeLines(const LCController &panel, const LCLoop *onlyLoop)
{
    const QMap<int, DeviceType> types = LCDataStore::instance()->deviceTypes();
    QStringList lines;
    for (int i = 0; i < panel.childCount(); ++i) {
        const LCLoop *const loop = panel.loop(i);
        if (loop && (!onlyLoop || loop == onlyLoop)) {
            lines << LCUnknownTypes::warnings(*loop, types);
        }
    }
    return lines;
}

QString findings(const LCController &panel, const LCLoop *onlyLoop)
{
    QString text = problemLines(panel, onlyLoop);
    const QStringList unknown = unknownTypeLines(panel, onlyLoop);
    if (!unknown.isEmpty()) {
        text += (text.isEmpty() ? QString() : kParagraph) + unknown.join(kLineBreak);
    }
    return text;
}

QString staleText(const QStringList &loops)
{
    return tr("%1 changed since the last calculation: calculate again to see the result.")
        .arg(loops.join(QStringLiteral(", ")));
}
} // namespace

bool LCResultText::isStale(const LCObject &loop)
{
    // an edit puts the status back to "not calculated" but leaves the old verdict text
    return loop.property(PropertyId::LoopStatus).toInt() == LoopStatusValue::NotCalculated
        && !loop.property(PropertyId::ResultText).toString().isEmpty();
}

QString LCResultText::paneText(const LCObject &object)
{
    const LCObject *shown = &object;
    if (shown->kind() == ObjectKind::Plain && shown->parent()) {
        shown = shown->parent();
    }
    const QString result = shown->property(PropertyId::ResultText).toString();
    if (result.isEmpty()) {
        return result;
    }
    if (shown->kind() == ObjectKind::Loop) {
        const auto *loop = static_cast<const LCLoop *>(shown);
        if (isStale(*loop)) {
            return staleText({loopName(*loop)});
        }
        const LCController *panel = loop->panel();
        return panel ? withProblems(result, findings(*panel, loop)) : result;
    }
    if (shown->kind() == ObjectKind::Controller) {
        const auto *panel = static_cast<const LCController *>(shown);
        QStringList changed;
        for (int i = 0; i < panel->childCount(); ++i) {
            const LCObject &loop = *panel->child(i);
            if (loop.property(PropertyId::LoopStatus).toInt() == LoopStatusValue::NotCalculated) {
                changed << loopName(loop);
            }
        }
        if (!changed.isEmpty()) {
            return staleText(changed);
        }
        return withProblems(result, findings(*panel, nullptr));
    }
    return result;
}
