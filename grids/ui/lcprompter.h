#pragma once

#include <QString>

#include <functional>

class QDialog;
class QWidget;

// Everything the program asks or tells the user in a modal box goes through here, so that the
// windows can be driven headless: the program shows message boxes and file dialogs, tests
// answer them from a script and record every text.
class LCPrompter
{
public:
    enum class Answer { Yes, No, Cancel };

    virtual ~LCPrompter() = default;

    // An information box with one OK button.
    virtual void information(QWidget *parent, const QString &title, const QString &text) = 0;
    // An information box with the buttons Yes and No.
    virtual Answer question(QWidget *parent, const QString &title, const QString &text) = 0;
    // The same with a Cancel button too; Escape answers Cancel.
    virtual Answer questionWithCancel(
        QWidget *parent, const QString &title, const QString &text) = 0;
    // The chosen file, or an empty text when the user cancelled.
    virtual QString openFileName(QWidget *parent,
        const QString &caption,
        const QString &directory,
        const QString &filter) = 0;
    virtual QString saveFileName(QWidget *parent,
        const QString &caption,
        const QString &directory,
        const QString &filter) = 0;
    // A question whose two answers have names of their own: yes (the default button) and no.
    // Cancel when the box was closed without either.
    virtual Answer choose(QWidget *parent,
        const QString &title,
        const QString &text,
        const QString &yes,
        const QString &no) = 0;
    // Runs a dialog modally; its result (QDialog::Accepted or Rejected).
    virtual int exec(QDialog &dialog) = 0;
    // Opens a file with the desktop's program for it (the report in a spreadsheet program).
    // failed is called, perhaps later, when the desktop has no program that could open it.
    virtual void openDocument(const QString &path, std::function<void()> failed) = 0;
};
