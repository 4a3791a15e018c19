#pragma once

#include <QString>
#include <QXmlStreamAttributes>

// An element as the definition readers see it: its tag and attributes, without content.
struct LCXmlElement {
    QString tag;
    QXmlStreamAttributes attributes;

    bool has(QLatin1String name) const { return attributes.hasAttribute(name); }
    // The attribute's text, or fallback when it is absent.
    QString text(QLatin1String name, const QString &fallback = QString()) const;
    // The attribute read as a decimal integer; absent or not a number reads as 0.
    int integer(QLatin1String name) const;
    // The attribute read as a float; absent or not a usable number reads as 0.
    float number(QLatin1String name) const;
};
