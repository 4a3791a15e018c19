#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

class LCDataStore;

// What every fuzz target shares. The readers are driven through their files, as the program
// drives them, so the inputs go to files in a folder of the process's own (in memory where the
// system has such a folder).
namespace FuzzSupport
{
// The application object, a fresh folder for the files and the library pointed at it, with
// no factory files there: the factory definitions have a target of their own.
LCDataStore *store();
// The input as bytes, without copying it.
QByteArray bytes(const uint8_t *data, size_t size);
// Path of name in the folder, with bytes written there.
QString write(const QString &name, const QByteArray &bytes);
// Ends the run with what broke, so libFuzzer keeps the input that did it.
[[noreturn]] void fail(const char *what, const QString &detail = QString());
} // namespace FuzzSupport
