#pragma once

#include <QString>

// XML 1.0 cannot carry some characters at all, not even escaped (most control characters,
// unpaired surrogates). Writing one would make the whole file unreadable, so they are dropped.
namespace LCXmlText
{
QString writable(const QString &text);
} // namespace LCXmlText
