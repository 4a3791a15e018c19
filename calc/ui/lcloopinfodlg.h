#pragma once

#include <QDialog>
#include <QVector>

#include <optional>

class LCController;
class LCItemDelegate;
class LCLoop;
class LCPrompter;
class QComboBox;
class QLineEdit;
class QPoint;
class QPushButton;
class QSlider;
class QSpinBox;
class QTableWidget;

// Creates a loop on a panel in one step: loop number, cable type, the length of the whole loop
// cable, how far out along it the first device sits, and the device types with their quantities.
// On Ok the dialog creates the loop and all its devices and shares the cable out between them;
// it never edits an existing loop.
class LCLoopInfoDlg : public QDialog
{
    Q_OBJECT

public:
    // A loop is full with this many devices; a new loop may start full.
    static constexpr int kMaxDevices = 242;
    static constexpr int kMinDevices = 2;
    static constexpr int kMaxTotalLengthMetre = 10000;

    // Everything a new loop is made from.
    struct LoopPlan {
        int loopId = 0;
        // the cable type id of the loop and of every device's cable
        int cableType = 0;
        float totalMetre = 0.0f;
        // from the panel to the first device; the rest is shared equally by the gaps between
        // the devices and the return run
        float firstRunMetre = 0.0f;
        // one entry per device, in their order along the cable
        QVector<int> deviceTypeIds;
    };

    // Creates the loop of plan on panel with its devices and cable lengths, and returns it (the
    // panel owns it). Null, with nothing created, when the plan cannot be built: no devices or
    // more than kMaxDevices, a loop number the panel already has, or lengths that are negative,
    // not finite or with the first run longer than the whole cable.
    static LCLoop *createLoop(LCController &panel, const LoopPlan &plan);

    // Creates a loop on panel; messages go through prompter.
    LCLoopInfoDlg(LCController *panel, LCPrompter &prompter, QWidget *parent = nullptr);
    ~LCLoopInfoDlg() override;

    // The loop made on Ok; null before. It belongs to the panel.
    LCLoop *createdLoop() const { return m_createdLoop; }

public slots:
    // Checks the entries and, when they hold, creates the loop and accepts.
    void slotOk();
    void slotCancel();
    // The first device can sit anywhere along the new length, and starts at the panel again.
    void slotTotalDistChanged(const QString &text);
    // Offers "Add Type" on the type cell of the last row.
    void slotViewContextMenu(const QPoint &position);
    void slotAddType();
    // Shows the number of devices the grid describes.
    void slotViewDataChanged(int row, int column);

private:
    enum class GridColumn : int {
        DeviceType = 0,
        Quantity = 1,
    };

    void buildUi();
    void setUpGrid();
    void appendGridRow(const QString &typeName, const QString &quantity);
    QString gridText(int row, GridColumn column) const;
    // The first row whose quantity is no whole number from 0 to kMaxDevices, or -1.
    int firstBadQuantityRow() const;
    // The first row with devices whose type name is not in the library, or -1.
    int firstUnknownTypeRow() const;
    // The total loop length as the user's locale or plain digits write it; none when the
    // text is no whole number from 0 to kMaxTotalLengthMetre.
    std::optional<int> totalLengthMetre() const;
    // The device type of every device the grid describes, row by row; rows whose type is not
    // in the library give none.
    QVector<int> deviceTypeList() const;
    void tell(const QString &title, const QString &text);

    LCController *const m_panel;
    LCPrompter &m_prompter;
    LCLoop *m_createdLoop = nullptr;
    // named device types in the library; none means no loop can be made
    bool m_libraryHasTypes = false;

    QSpinBox *m_loopNumber = nullptr;
    QLineEdit *m_totalQuantity = nullptr;
    QLineEdit *m_totalLength = nullptr;
    QComboBox *m_cableType = nullptr;
    QSpinBox *m_firstRun = nullptr;
    QSlider *m_distribution = nullptr;
    QTableWidget *m_typeGrid = nullptr;
    LCItemDelegate *m_typeDelegate = nullptr;
    LCItemDelegate *m_quantityDelegate = nullptr;
    QPushButton *m_okButton = nullptr;
    QPushButton *m_cancelButton = nullptr;
};
