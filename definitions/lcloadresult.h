#pragma once

#include <QString>

// What loading a project file achieved.
struct LCLoadResult {
    // The program can go on: the file held a project, or the factory definitions were read.
    // Start-up needs this and nothing more.
    bool ok = false;
    // The file held a project, which is now the current one. Open needs this: with intact factory
    // definitions ok is true even when the chosen file could not be read.
    bool projectRead = false;
    // Why the project was not read; empty when it was.
    QString errorText;
};
