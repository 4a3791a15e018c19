#pragma once

#include "grids/ui/lcprompter.h"

#include <QDialog>
#include <QQueue>

#include <QStringList>
#include <functional>

// Answers the program's questions from a script and records every box it was shown, as
// "title|text".
class ScriptedPrompter : public LCPrompter
{
public:
    void information(QWidget *, const QString &title, const QString &text) override
    {
        shown << title + QLatin1Char('|') + text;
    }
    Answer question(QWidget *, const QString &title, const QString &text) override
    {
        shown << title + QLatin1Char('|') + text;
        return answers.isEmpty() ? Answer::No : answers.dequeue();
    }
    Answer questionWithCancel(QWidget *parent, const QString &title, const QString &text) override
    {
        return question(parent, title, text);
    }
    QString openFileName(
        QWidget *, const QString &caption, const QString &, const QString &filter) override
    {
        shown << caption + QLatin1Char('|') + filter;
        return files.isEmpty() ? QString() : files.dequeue();
    }
    QString saveFileName(
        QWidget *, const QString &caption, const QString &, const QString &filter) override
    {
        shown << caption + QLatin1Char('|') + filter;
        return files.isEmpty() ? QString() : files.dequeue();
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
