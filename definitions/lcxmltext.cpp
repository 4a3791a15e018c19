#include "definitions/lcxmltext.h"

namespace
{
bool isAllowed(char16_t unit)
{
    return unit == 0x9 || unit == 0xA || unit == 0xD || (unit >= 0x20 && unit <= 0xFFFD);
}
} // namespace

QString LCXmlText::writable(const QString &text)
{
    QString result;
    result.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        const QChar unit = text.at(i);
        if (unit.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            result.append(unit);
            result.append(text.at(++i));
        } else if (!unit.isSurrogate() && isAllowed(unit.unicode())) {
            result.append(unit);
        }
    }
    return result;
}
