#pragma once

#include "definitions/lcxmlelement.h"
#include "model/lcproject.h"

#include <QByteArray>
#include <QString>
#include <QVector>

#include <memory>

class LCXmlReader;

// Reads a project file into a new project, leaving everything else alone: the caller swaps it
// in only when the whole file was read.
class LCProjectReader
{
public:
    enum class Status {
        Read, // the project element was found and the file is well formed
        NoProject, // well formed, but no "Project" at the top or directly below it
        Malformed, // not XML, truncated, or beyond the reader's bounds
    };

    struct Result {
        Status status = Status::Malformed;
        QString errorText; // why the file was not read
        std::unique_ptr<LCProject> project;
        // the project element's own child elements, from which the user definitions are read
        QVector<LCXmlElement> definitions;
    };

    static Result read(const QByteArray &bytes);

private:
    static std::unique_ptr<LCProject> readProject(
        LCXmlReader &reader, QVector<LCXmlElement> *definitions);
    // A panel with its loops, and a loop with its devices, ready to be inserted.
    static std::unique_ptr<LCObject> readPanel(LCXmlReader &reader, LCProject *project);
    static std::unique_ptr<LCObject> readLoop(LCXmlReader &reader, LCObject *panel);
    static void readDevices(LCXmlReader &reader, LCObject *loop, int devCount);
};
