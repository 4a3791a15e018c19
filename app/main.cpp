#include "app/mainwindow.h"

#include <QApplication>
#include <QMessageBox>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    MainWindow window;
    if (!window.initConfig()) {
        QMessageBox::information(&window, QObject::tr("Error"),
            QObject::tr("Config file load failed!"), QMessageBox::Ok);
        return 0;
    }
    window.showMaximized();
    return application.exec();
}
