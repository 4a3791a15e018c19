#pragma once

#include <QObject>

class LCPrompter;
class LCRecentFiles;
class QPrinter;
class QWidget;

// File > Export Calculation Sheet, Print Preview and Print: the calculation sheet of the whole
// project, with every loop calculated as it stands, as a PDF file or on paper.
class LCSheetCommands : public QObject
{
    Q_OBJECT

public:
    LCSheetCommands(LCPrompter &prompter, LCRecentFiles &recentFiles, QWidget *window);

public slots:
    void exportPdf();
    void printPreview();
    void print();

private:
    // Calculates every loop, so the sheet shows where the project stands; false without one.
    bool calculateAll();
    void paint(QPrinter *printer);

    LCPrompter &m_prompter;
    LCRecentFiles &m_recentFiles;
    QWidget *m_window;
};
