#pragma once

#include <QIcon>
#include <QString>

// The icons of device types and sub types, made from the files the definition library found.
namespace LCIcons
{
// The icon of an icon number, or a null icon.
QIcon deviceIcon(int iconId);
// The picture of a sub type, else the fallback picture "00", or a null icon.
QIcon subTypeIcon(const QString &picture);
} // namespace LCIcons
