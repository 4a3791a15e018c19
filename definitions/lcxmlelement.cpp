#include "definitions/lcxmlelement.h"

#include "model/lcnumbertext.h"

QString LCXmlElement::text(QLatin1String name, const QString &fallback) const
{
    return attributes.hasAttribute(name) ? attributes.value(name).toString() : fallback;
}

int LCXmlElement::integer(QLatin1String name) const
{
    return LCNumberText::parseInt(attributes.value(name));
}

float LCXmlElement::number(QLatin1String name) const
{
    return LCNumberText::parseFloat(attributes.value(name));
}
