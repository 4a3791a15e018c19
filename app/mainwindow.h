#pragma once

#include <QMainWindow>

class QTextEdit;

// The program's window. For now it shows an overview of the project in the working file.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);

    // Loads the working file and the definitions; false when the program cannot go on.
    bool initConfig();

private:
    void showOverview();

    QTextEdit *m_overview;
};
