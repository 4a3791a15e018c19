#include "app/lcmessageboxprompter.h"

#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QUrl>

namespace
{
// The desktop's opener on Linux. Unlike QDesktopServices it tells, through its exit status,
// when no program for the file's type exists.
const QString kDesktopOpener = QStringLiteral("xdg-open");
} // namespace

void LCMessageBoxPrompter::information(QWidget *parent, const QString &title, const QString &text)
{
    QMessageBox::information(parent, title, text, QMessageBox::Ok);
}

LCPrompter::Answer LCMessageBoxPrompter::question(
    QWidget *parent, const QString &title, const QString &text)
{
    const QMessageBox::StandardButton button =
        QMessageBox::information(parent, title, text, QMessageBox::Yes | QMessageBox::No);
    return button == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

LCPrompter::Answer LCMessageBoxPrompter::questionWithCancel(
    QWidget *parent, const QString &title, const QString &text)
{
    const QMessageBox::StandardButton button = QMessageBox::information(
        parent, title, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    switch (button) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

LCPrompter::Answer LCMessageBoxPrompter::choose(QWidget *parent,
    const QString &title,
    const QString &text,
    const QString &yes,
    const QString &no)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, parent);
    QPushButton *const yesButton = box.addButton(yes, QMessageBox::AcceptRole);
    QPushButton *const noButton = box.addButton(no, QMessageBox::DestructiveRole);
    box.setDefaultButton(yesButton);
    box.exec();
    if (box.clickedButton() == yesButton) {
        return Answer::Yes;
    }
    return box.clickedButton() == noButton ? Answer::No : Answer::Cancel;
}

QString LCMessageBoxPrompter::openFileName(
    QWidget *parent, const QString &caption, const QString &directory, const QString &filter)
{
    return QFileDialog::getOpenFileName(parent, caption, directory, filter);
}

QString LCMessageBoxPrompter::saveFileName(
    QWidget *parent, const QString &caption, const QString &directory, const QString &filter)
{
    return QFileDialog::getSaveFileName(parent, caption, directory, filter);
}

int LCMessageBoxPrompter::exec(QDialog &dialog)
{
    return dialog.exec();
}

void LCMessageBoxPrompter::openDocument(const QString &path, std::function<void()> failed)
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    // owned by itself: it lives until the opener ends, which may be after the spreadsheet does
    auto *opener = new QProcess();
    QObject::connect(opener, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished),
        [opener, failed](int exitCode, QProcess::ExitStatus status) {
            opener->deleteLater();
            if ((status != QProcess::NormalExit || exitCode != 0) && failed) {
                failed();
            }
        });
    opener->start(kDesktopOpener, {path});
    if (opener->waitForStarted()) {
        return;
    }
    // without the opener itself, Qt's own way may still find a program
    opener->deleteLater();
#endif
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)) && failed) {
        failed();
    }
}
