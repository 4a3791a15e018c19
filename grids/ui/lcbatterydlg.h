#pragma once

#include <QDialog>
#include <QList>

class LCController;
class LCItemDelegate;
class LCObject;
class LCPrompter;
class QComboBox;
class QGridLayout;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QTextEdit;

// Sizes the standby battery of one panel: shows the panel's cards, lists its devices as type
// and quantity rows the user may change or extend, takes the standby and alarm hours, and
// recommends the smallest battery of the definition library that is large enough.
// Nothing is stored in the project.
class LCBatteryDlg : public QDialog
{
    Q_OBJECT

public:
    // panel is not owned; without a panel (or with another object) nothing can be calculated.
    LCBatteryDlg(LCObject *panel,
        LCPrompter &prompter,
        QWidget *parent = nullptr,
        Qt::WindowFlags flags = {});

public slots:
    void slotCalc();
    void slotAddType();
    void slotViewContextMenu(const QPoint &position);

private:
    void buildWidgets();
    QLineEdit *addField(
        QGridLayout *grid, const QString &label, const QString &name, QList<QWidget *> *section);
    void fillPanelFields();
    void fillDeviceRows();
    void fitDeviceTable();
    void arrangeForPanelType();
    void fixSize(int height);
    void appendDeviceRow(const QString &typeName, const QString &quantity);
    bool timesAreValid();
    bool quantitiesAreValid();
    // A message box, then the focus on the widget the user has to correct.
    void refuse(const QString &text, QWidget *focus);
    bool isD50() const;

    LCController *const m_panel;
    LCPrompter &m_prompter;

    QLineEdit *m_panelTypeEdit = nullptr;
    QLineEdit *m_loopCardEdit = nullptr;
    QLineEdit *m_commCardEdit = nullptr;
    QLineEdit *m_zcpCardEdit = nullptr;
    QLineEdit *m_mainCardEdit = nullptr;
    QLineEdit *m_canCardEdit = nullptr;
    QLineEdit *m_modbusCardEdit = nullptr;
    QLineEdit *m_opticalCardEdit = nullptr;
    QLineEdit *m_hyperNetworkEdit = nullptr;
    QComboBox *m_standbyCombo = nullptr;
    QLineEdit *m_standbyEdit = nullptr;
    QComboBox *m_alarmCombo = nullptr;
    QTableWidget *m_deviceTable = nullptr;
    LCItemDelegate *m_typeEditor = nullptr;
    LCItemDelegate *m_quantityEditor = nullptr;
    QTextEdit *m_resultView = nullptr;
    QPushButton *m_calculateButton = nullptr;
    // The label and field pairs shown only for the small panels, and only for the D50.
    QList<QWidget *> m_smallPanelWidgets;
    QList<QWidget *> m_d50Widgets;
};
