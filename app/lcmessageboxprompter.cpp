#include "app/lcmessageboxprompter.h"

#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

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

void LCMessageBoxPrompter::openDocument(const QString &path)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
