#pragma once

#include <QDialog>

class LCController;
class LCPrompter;
class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QWidget;

// Adds a fire alarm control panel to the current project: number, type and cards. The type
// with option slots has extension cards and two slots where the others have communication
// cards, so the dialog shows the fields of the chosen type only. On Ok the dialog creates the
// panel itself and puts it into the project; it never edits an existing panel.
class LCControllerInfoDlg : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kMinPanelNumber = 1;
    static constexpr int kMaxPanelNumber = 250;

    // Messages go through prompter.
    explicit LCControllerInfoDlg(
        LCPrompter &prompter, QWidget *parent = nullptr, Qt::WindowFlags flags = {});

    // The panel made on Ok; null before. It belongs to the project.
    LCController *createdPanel() const { return m_createdPanel; }

public slots:
    // Checks the panel number and, when it is free, creates the panel and accepts.
    void slotOk();
    void slotCancel();
    // Shows the fields of the chosen type and refills their choices.
    void slotPanelTypeChanged();

private:
    void buildUi();
    bool hasSlots() const;
    // The chosen type's key in the panel type table; 0 when none has the chosen name.
    int chosenPanelType() const;
    int slotCode(const QString &text) const;

    LCPrompter &m_prompter;
    LCController *m_createdPanel = nullptr;

    QSpinBox *m_panelNumber = nullptr;
    QComboBox *m_panelType = nullptr;
    QComboBox *m_loopQuantity = nullptr;
    QComboBox *m_loopCards = nullptr;
    QComboBox *m_commCards = nullptr;
    QComboBox *m_zcpCards = nullptr;
    QComboBox *m_mainCards = nullptr;
    QComboBox *m_canCards = nullptr;
    QComboBox *m_modbusCards = nullptr;
    QComboBox *m_slot1 = nullptr;
    QComboBox *m_slot2 = nullptr;
    QLineEdit *m_details = nullptr;
    QWidget *m_commSection = nullptr;
    QWidget *m_slotSection = nullptr;
    QPushButton *m_okButton = nullptr;
    QPushButton *m_cancelButton = nullptr;
};
