#pragma once

#include "definitions/lcprojectwriter.h"

#include <QByteArray>

class LCProject;

// The project writer as it was before it wrote into a reserved byte buffer: every element and
// attribute through QXmlStreamWriter with auto-formatting. Kept so the bench can check that the
// program still writes these bytes.
namespace LCStreamProjectWriter
{
QByteArray write(const LCProject &project, const LCProjectWriter::Definitions &definitions);
} // namespace LCStreamProjectWriter
