#pragma once

#include <QtGlobal>

// What the process holds in memory, for weighing a loaded project.
namespace LCProcessMemory
{

// Resident set size in bytes; 0 when the system does not tell.
qint64 residentBytes();
// Hands memory the allocator keeps after frees back to the system, so that a following
// difference of residentBytes() counts what is still in use, not what was used once.
void releaseFreedMemory();

} // namespace LCProcessMemory
