#pragma once

#include "grids/ui/lcprompter.h"

// Asks the user with the standard message boxes and file dialogs.
class LCMessageBoxPrompter : public LCPrompter
{
public:
    void information(QWidget *parent, const QString &title, const QString &text) override;
    Answer question(QWidget *parent, const QString &title, const QString &text) override;
    Answer questionWithCancel(QWidget *parent, const QString &title, const QString &text) override;
    Answer choose(QWidget *parent,
        const QString &title,
        const QString &text,
        const QString &yes,
        const QString &no) override;
    QString openFileName(QWidget *parent,
        const QString &caption,
        const QString &directory,
        const QString &filter) override;
    QString saveFileName(QWidget *parent,
        const QString &caption,
        const QString &directory,
        const QString &filter) override;
    int exec(QDialog &dialog) override;
    void openDocument(const QString &path, std::function<void()> failed) override;
};
