#pragma once

#include <QDialog>

class LCPrompter;
class QLineEdit;
class QPushButton;

// Asks for the descriptive texts of a new project and, on Ok, creates the project with them
// and makes it the current one (the previous project is destroyed then). There is no Cancel
// button: closing the window rejects the dialog and leaves the current project alone.
class LCProjectInfoDlg : public QDialog
{
    Q_OBJECT

public:
    // Messages go through prompter.
    explicit LCProjectInfoDlg(
        LCPrompter &prompter, QWidget *parent = nullptr, Qt::WindowFlags flags = {});

public slots:
    // Refuses a blank project name; otherwise creates the project, dated today, and accepts.
    void slotOk();

private:
    QLineEdit *addField(int row, const QString &label, const QString &name);

    LCPrompter &m_prompter;
    QLineEdit *m_name = nullptr;
    QLineEdit *m_siteName = nullptr;
    QLineEdit *m_siteAddress = nullptr;
    QLineEdit *m_endUser = nullptr;
    QLineEdit *m_installer = nullptr;
    QLineEdit *m_engineer = nullptr;
    QLineEdit *m_details = nullptr;
    QLineEdit *m_customerData = nullptr;
    QLineEdit *m_address = nullptr;
    QPushButton *m_okButton = nullptr;
};
