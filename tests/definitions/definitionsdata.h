#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// The factory library the definition tests share: three device types, three cable types and
// two card types.
namespace DefinitionsData
{

inline const char kDefaults[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<Default>
  <DeviceType Name="Smoke" Volt="24" Current="0.3" ActiveCurrent="5" DevID="1"/>
  <DeviceType Name="Heat" Volt="24" Current="0.25" ActiveCurrent="5" DevID="2"/>
  <DeviceType Name="CallPoint" Volt="24" Current="0.2" ActiveCurrent="4" DevID="3"/>
  <WireType Name="W1" Resistance="24.2" Capacity="80" WireID="1" Note="one"/>
  <WireType Name="W2" Resistance="36.2" Capacity="75" WireID="2" Note="two"/>
  <WireType Name="W3" Resistance="14.8" Capacity="90" WireID="3" Note="three"/>
  <CardType Name="C1" Current="40" ActiveCurrent="55" CardID="1"/>
  <CardType Name="C2" Current="65" ActiveCurrent="65" CardID="2"/>
</Default>
)";

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace DefinitionsData
