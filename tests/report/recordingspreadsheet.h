#pragma once

#include "report/lcspreadsheetautomation.h"

#include <QStringList>

// Stands in for the spreadsheet program: records every automation call with its member string
// and the type of each argument, numbers the objects it hands out from 1, and fails the call at
// position failAt (counted from 0) when a test asks it to.
class RecordingSpreadsheet : public LCSpreadsheetAutomation
{
public:
    Object createApplication(const QString &progId) override
    {
        return handOut(QStringLiteral("createApplication %1").arg(progId));
    }
    bool setProperty(Object object, const QString &name, const QVariant &value) override
    {
        return record(
            QStringLiteral("setProperty #%1 %2 = %3").arg(object).arg(name, shown(value)));
    }
    Object querySubObject(
        Object object, const QString &member, const QVariantList &arguments = {}) override
    {
        return handOut(
            QStringLiteral("querySubObject #%1 %2 (%3)").arg(object).arg(member, shown(arguments)));
    }
    bool dynamicCall(Object object, const QString &method, const QVariantList &arguments) override
    {
        return record(
            QStringLiteral("dynamicCall #%1 %2 (%3)").arg(object).arg(method, shown(arguments)));
    }
    bool saveCopy(Object workbook, const QString &path) override
    {
        return record(QStringLiteral("saveCopy #%1 %2").arg(workbook).arg(path));
    }
    void release(Object application) override
    {
        calls << QStringLiteral("release #%1").arg(application);
    }
    QString errorString() const override { return QStringLiteral("scripted failure"); }

    QStringList calls;
    int failAt = -1;

    // "int:7", "QString:Loop2 Error", "bool:true"
    static QString shown(const QVariant &value)
    {
        return QString::fromLatin1(value.typeName()) + QLatin1Char(':') + value.toString();
    }
    static QString shown(const QVariantList &values)
    {
        QStringList parts;
        for (const QVariant &value : values) {
            parts << shown(value);
        }
        return parts.join(QStringLiteral(", "));
    }

private:
    bool record(const QString &call)
    {
        calls << call;
        return calls.size() - 1 != failAt;
    }
    Object handOut(const QString &call) { return record(call) ? m_next++ : kNoObject; }

    Object m_next = 1;
};
