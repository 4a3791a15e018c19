#include "app/mainwindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    // where the user's settings (recent files, last folder) are kept
    QCoreApplication::setOrganizationName(QStringLiteral("Mirel"));
    QCoreApplication::setApplicationName(QStringLiteral("Mirel"));
    // the desktop entry that describes the window, and the icon it shows
    QGuiApplication::setDesktopFileName(QStringLiteral("org.mirel.Mirel"));
    QIcon icon;
    for (const QString &size : {QStringLiteral("48"), QStringLiteral("128")}) {
        icon.addFile(QStringLiteral(":/appicon/mirel-%1.png").arg(size));
    }
    QApplication::setWindowIcon(icon);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QCoreApplication::translate("main", "Checks the addressable loops of fire alarm systems."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("file"),
        QCoreApplication::translate("main", "A project file to open instead of the working file."),
        QStringLiteral("[FILE]"));
    parser.process(application);
    const QStringList files = parser.positionalArguments();

    MainWindow window(nullptr, nullptr, files.isEmpty() ? QString() : files.first());
    if (!window.isConfigLoaded()) {
        return 0;
    }
    window.showMaximized();
    // the question about a crashed run's changes stands over the window
    window.startRecovery();
    return application.exec();
}
