#pragma once

#include <QDialog>

class QPushButton;

// The About box: the program's name and version, what its calculations are and are not meant
// for, and the legal notice.
class LCAboutDlg : public QDialog
{
    Q_OBJECT

public:
    explicit LCAboutDlg(QWidget *parent = nullptr, Qt::WindowFlags flags = {});

public slots:
    void slotOk();

private:
    QPushButton *m_okButton = nullptr;
};
