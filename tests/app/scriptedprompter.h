#pragma once

#include "grids/ui/lcprompter.h"

#include <QDialog>
#include <QQueue>
#include <QStringList>

#include <functional>

// Answers the program's questions from a script and records every box and file dialog it was
// shown, as "title|text" and "caption|filter".
class ScriptedPrompter : public LCPrompter
{
public:
    void information(QWidget *, const QString &title, const QString &text) override
    {
        shown << title + QLatin1Char('|') + text;
    }
    Answer question(QWidget *parent, const QString &title, const QString &text) override
    {
        information(parent, title, text);
        return answers.isEmpty() ? Answer::No : answers.dequeue();
    }
    Answer questionWithCancel(QWidget *parent, const QString &title, const QString &text) override
    {
        return question(parent, title, text);
    }
    Answer choose(QWidget *parent,
        const QString &title,
        const QString &text,
        const QString &,
        const QString &) override
    {
        return question(parent, title, text);
    }
    QString openFileName(
        QWidget *parent, const QString &caption, const QString &, const QString &filter) override
    {
        information(parent, caption, filter);
        return files.isEmpty() ? QString() : files.dequeue();
    }
    QString saveFileName(QWidget *parent,
        const QString &caption,
        const QString &directory,
        const QString &filter) override
    {
        return openFileName(parent, caption, directory, filter);
    }
    int exec(QDialog &dialog) override
    {
        return dialogHandler ? dialogHandler(dialog) : QDialog::Rejected;
    }
    void openDocument(const QString &path, std::function<void()> failed) override
    {
        opened << path;
        if (openFails && failed) {
            failed();
        }
    }

    QStringList shown;
    QStringList opened;
    // fills in a dialog the program runs and answers it, like a user would
    std::function<int(QDialog &)> dialogHandler;
    QQueue<Answer> answers;
    QQueue<QString> files;
    // the desktop has no program for the documents opened
    bool openFails = false;
};
