#pragma once

#include <QDialog>
#include <QVector>

class LCCardTypeModel;
class LCDevTypeModel;
class LCItemDelegate;
class LCPrompter;
class LCTableModel;
class LCTableView;
class LCWireTypeModel;
class QComboBox;
class QRegularExpressionValidator;
class QToolBar;
class QToolButton;

// Maintains the user's device, cable and card types in one grid that switches between the three
// kinds. Edits stay in the tables' working copies until Save (after a row by row check) or
// Default hand a kind to the definition library, whose change flags then tell the main window
// to refresh its lists and to ask about saving the project, which carries the definitions.
class LCDefineDlg : public QDialog
{
    Q_OBJECT

public:
    // The pages of the kind selector.
    enum class Page : int {
        DeviceTypes = 0,
        CableTypes = 1,
        CardTypes = 2,
    };

    explicit LCDefineDlg(LCPrompter &prompter, QWidget *parent = nullptr);

public slots:
    void slotAdd();
    void slotDelete();
    void slotSave();
    void slotDefault();
    void slotModelTypeChanged();
    // Closing in any way (title bar, Escape) asks first about every table with unsaved changes.
    void reject() override;

private:
    void buildWidgets();
    void createEditors();
    void showPage(Page page);
    // Widens the columns of the page shown where a header or a cell needs it; the free text
    // column is left to be cut short. Gives the width of all columns.
    int fitColumns(const QVector<int> &layoutWidths, int freeTextColumn);
    void fixSize();
    Page shownPage() const;
    LCTableModel *shownTable() const;
    // Checks the table shown row by row; tells the user of the first problem and selects its
    // cell.
    bool shownPageIsValid();
    // Why the user type in row of the page shown cannot be deleted; empty when it can.
    QString deleteRefusal(int row) const;
    // Asks about each table whose changes were not saved; false when the user keeps the dialog.
    bool mayDiscardChanges();

    LCPrompter &m_prompter;
    QToolBar *m_toolBar = nullptr;
    QToolButton *m_addButton = nullptr;
    QToolButton *m_deleteButton = nullptr;
    QToolButton *m_saveButton = nullptr;
    QToolButton *m_defaultButton = nullptr;
    QComboBox *m_kindSelector = nullptr;
    LCTableView *m_grid = nullptr;
    // the width of the columns of the page shown
    int m_columnsWidth = 0;
    LCDevTypeModel *m_deviceTypes = nullptr;
    LCWireTypeModel *m_cableTypes = nullptr;
    LCCardTypeModel *m_cardTypes = nullptr;
    QRegularExpressionValidator *m_nameValidator = nullptr;

    LCItemDelegate *m_deviceNameEditor = nullptr;
    LCItemDelegate *m_voltEditor = nullptr;
    LCItemDelegate *m_deviceCurrentEditor = nullptr;
    LCItemDelegate *m_deviceActiveCurrentEditor = nullptr;
    LCItemDelegate *m_cableNameEditor = nullptr;
    LCItemDelegate *m_resistanceEditor = nullptr;
    LCItemDelegate *m_capacityEditor = nullptr;
    LCItemDelegate *m_descriptionEditor = nullptr;
    LCItemDelegate *m_cardNameEditor = nullptr;
    LCItemDelegate *m_cardCurrentEditor = nullptr;
    LCItemDelegate *m_cardActiveCurrentEditor = nullptr;
};
