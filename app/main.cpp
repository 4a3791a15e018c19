#include "app/mainwindow.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    MainWindow window;
    if (!window.isConfigLoaded()) {
        return 0;
    }
    window.showMaximized();
    return application.exec();
}
