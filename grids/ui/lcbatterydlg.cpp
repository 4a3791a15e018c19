#include "grids/ui/lcbatterydlg.h"

#include "definitions/lcdatastore.h"
#include "grids/lcbatterycalculation.h"
#include "grids/lcicons.h"
#include "grids/ui/lcitemdelegate.h"
#include "grids/ui/lcprompter.h"
#include "model/lccontroller.h"
#include "model/lcloop.h"
#include "model/lcnumbertext.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QTableWidget>
#include <QTextEdit>
#include <QVBoxLayout>

namespace
{
constexpr int kD50PanelType = 5;

// the device table
constexpr int kTypeColumn = 0;
constexpr int kQuantityColumn = 1;
constexpr int kColumnCount = 2;
constexpr int kTypeColumnWidth = 100;
constexpr int kQuantityColumnWidth = 120;
constexpr int kTableWidth = 238;

// text margins of a cell, either side together
constexpr int kCellPaddingPixel = 12;

constexpr int kCalculateButtonWidth = 100;
constexpr int kResultLines = 4;
constexpr int kResultMarginPixel = 4;
constexpr int kDialogWidth = 650;
constexpr int kSmallPanelDialogHeight = 420;
constexpr int kD50DialogHeight = 500;

const QStringList kD50StandbyHours = {
    QStringLiteral("24"), QStringLiteral("48"), QStringLiteral("72")};
const QString kD50StandbyPreset = QStringLiteral("72");
const QString kSmallPanelStandbyPreset = QStringLiteral("24");
const QStringList kAlarmHours = {
    QStringLiteral("0.25"), QStringLiteral("0.5"), QStringLiteral("1.0")};
const QString kSmallPanelAlarmPreset = QStringLiteral("0.5");
// at most three digits, a point, at most five decimals; the alarm time one digit
const QString kStandbyPattern = QStringLiteral("[0-9]{0,3}[.][0-9]{0,5}");
const QString kAlarmPattern = QStringLiteral("[0-9]{0,1}[.][0-9]{0,5}");
// a device quantity is a whole number from 0 up
const QRegularExpression kQuantityPattern(
    QRegularExpression::anchoredPattern(QStringLiteral("[0-9]+")));
const QString kZero = QStringLiteral("0");
const QString kAmpHourUnit = QStringLiteral(" Ah");
// as wide as a capacity is written
const QString kWidestCapacity = QStringLiteral("000.000");
const QString kCalculateIcon = QStringLiteral(":/img/calculate.png");

QLineEdit *readOnlyField(QWidget *parent)
{
    auto *const field = new QLineEdit(parent);
    field->setEnabled(false);
    return field;
}
} // namespace

LCBatteryDlg::LCBatteryDlg(
    LCObject *panel, LCPrompter &prompter, QWidget *parent, Qt::WindowFlags flags)
    : QDialog(parent, flags)
    , m_panel(dynamic_cast<LCController *>(panel))
    , m_prompter(prompter)
{
    buildWidgets();
    connect(m_calculateButton, &QPushButton::clicked, this, &LCBatteryDlg::slotCalc);
    connect(m_deviceTable, &QTableWidget::customContextMenuRequested, this,
        &LCBatteryDlg::slotViewContextMenu);
    fillPanelFields();
    fillDeviceRows();
    fitDeviceTable();
    arrangeForPanelType();
}

void LCBatteryDlg::buildWidgets()
{
    setWindowTitle(tr("Battery Calculation"));

    m_deviceTable = new QTableWidget(0, kColumnCount, this);
    m_deviceTable->setObjectName(QStringLiteral("deviceTable"));
    m_deviceTable->setHorizontalHeaderLabels({tr("Device Type"), tr("Device Quantity")});
    // the rows are named by their type; numbers beside them would only take room
    m_deviceTable->verticalHeader()->hide();
    m_deviceTable->setSelectionBehavior(QAbstractItemView::SelectItems);
    m_deviceTable->setContextMenuPolicy(Qt::CustomContextMenu);

    const LCDataStore *const store = LCDataStore::instance();
    QStringList typeNames;
    QList<QIcon> typeIcons;
    for (const DeviceType &type : store->deviceTypes()) {
        typeNames << type.Name;
        typeIcons << LCIcons::deviceIcon(type.IcoID);
    }
    m_typeEditor = new LCItemDelegate(LCItemDelegate::EditorKind::IconCombo, this);
    m_typeEditor->setItems(typeNames, typeIcons);
    m_typeEditor->setView(m_deviceTable);
    m_deviceTable->setItemDelegateForColumn(kTypeColumn, m_typeEditor);
    m_quantityEditor = new LCItemDelegate(LCItemDelegate::EditorKind::Integer, this);
    m_quantityEditor->setView(m_deviceTable);
    m_deviceTable->setItemDelegateForColumn(kQuantityColumn, m_quantityEditor);

    auto *const fields = new QGridLayout;
    m_panelTypeEdit = addField(fields, tr("Panel Type"), QStringLiteral("panelTypeEdit"), nullptr);
    m_loopCardEdit = addField(fields, tr("Loop Card QTY"), QStringLiteral("loopCardEdit"), nullptr);
    m_commCardEdit = addField(
        fields, tr("Communication Card QTY"), QStringLiteral("commCardEdit"), &m_smallPanelWidgets);
    m_zcpCardEdit =
        addField(fields, tr("ZCP Card QTY"), QStringLiteral("zcpCardEdit"), &m_d50Widgets);
    m_mainCardEdit =
        addField(fields, tr("Main Card QTY"), QStringLiteral("mainCardEdit"), &m_d50Widgets);
    m_canCardEdit =
        addField(fields, tr("CAN Card QTY"), QStringLiteral("canCardEdit"), &m_d50Widgets);
    m_modbusCardEdit =
        addField(fields, tr("Modbus Card QTY"), QStringLiteral("modbusCardEdit"), &m_d50Widgets);
    m_opticalCardEdit =
        addField(fields, tr("Optical Card"), QStringLiteral("opticalCardEdit"), &m_d50Widgets);
    m_hyperNetworkEdit = addField(
        fields, tr("Hyper Network QTY"), QStringLiteral("hyperNetworkEdit"), &m_d50Widgets);

    int row = fields->rowCount();
    auto *const standbyComboLabel = new QLabel(tr("Standby Time (hour)"), this);
    m_standbyCombo = new QComboBox(this);
    m_standbyCombo->setObjectName(QStringLiteral("standbyCombo"));
    m_standbyCombo->addItems(kD50StandbyHours);
    fields->addWidget(standbyComboLabel, row, 0);
    fields->addWidget(m_standbyCombo, row, 1);
    m_d50Widgets << standbyComboLabel << m_standbyCombo;

    ++row;
    auto *const standbyEditLabel = new QLabel(tr("Standby Time (hour)"), this);
    m_standbyEdit = new QLineEdit(this);
    m_standbyEdit->setObjectName(QStringLiteral("standbyEdit"));
    m_standbyEdit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(kStandbyPattern), m_standbyEdit));
    fields->addWidget(standbyEditLabel, row, 0);
    fields->addWidget(m_standbyEdit, row, 1);
    m_smallPanelWidgets << standbyEditLabel << m_standbyEdit;

    ++row;
    m_alarmCombo = new QComboBox(this);
    m_alarmCombo->setObjectName(QStringLiteral("alarmCombo"));
    m_alarmCombo->addItems(kAlarmHours);
    fields->addWidget(new QLabel(tr("Alarm Time (hour)"), this), row, 0);
    fields->addWidget(m_alarmCombo, row, 1);

    m_resultView = new QTextEdit(this);
    m_resultView->setObjectName(QStringLiteral("resultView"));
    m_resultView->setReadOnly(true);
    // room for the capacity on one line and a recommendation over two more
    const QFontMetrics resultMetrics = m_resultView->fontMetrics();
    const int resultFrame = 2 * (m_resultView->frameWidth() + kResultMarginPixel)
        + m_resultView->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    m_resultView->setMinimumSize(
        resultMetrics.horizontalAdvance(
            tr("Required minimum battery capacity is : ") + kWidestCapacity + kAmpHourUnit)
            + resultFrame,
        kResultLines * resultMetrics.lineSpacing() + resultFrame);

    m_calculateButton = new QPushButton(QIcon(kCalculateIcon), tr("Calculate"), this);
    m_calculateButton->setObjectName(QStringLiteral("calculateButton"));
    m_calculateButton->setFixedWidth(kCalculateButtonWidth);
    m_calculateButton->setEnabled(m_panel != nullptr);
    auto *const buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(m_calculateButton);
    buttonRow->addStretch();

    auto *const right = new QVBoxLayout;
    right->addLayout(fields);
    right->addWidget(new QLabel(tr("Calculate Result"), this));
    right->addWidget(m_resultView, 1);
    right->addLayout(buttonRow);

    auto *const main = new QHBoxLayout(this);
    main->addWidget(m_deviceTable);
    main->addLayout(right, 1);
}

QLineEdit *LCBatteryDlg::addField(
    QGridLayout *grid, const QString &label, const QString &name, QList<QWidget *> *section)
{
    const int row = grid->rowCount();
    auto *const labelWidget = new QLabel(label, this);
    QLineEdit *const field = readOnlyField(this);
    field->setObjectName(name);
    grid->addWidget(labelWidget, row, 0);
    grid->addWidget(field, row, 1);
    if (section) {
        *section << labelWidget << field;
    }
    return field;
}

void LCBatteryDlg::fillPanelFields()
{
    if (!m_panel) {
        return;
    }
    const int panelType = m_panel->property(PropertyId::PanelType).toInt();
    m_panelTypeEdit->setText(LCDataStore::instance()->panelTypes().value(panelType));
    const LCBatteryCalculation::PanelCards cards = LCBatteryCalculation::panelCards(*m_panel);
    m_loopCardEdit->setText(QString::number(cards.loopCards));
    m_commCardEdit->setText(QString::number(cards.commCards));
    m_zcpCardEdit->setText(QString::number(cards.zcpCards));
    m_mainCardEdit->setText(QString::number(cards.mainCards));
    m_canCardEdit->setText(QString::number(cards.canCards));
    m_modbusCardEdit->setText(QString::number(cards.modbusCards));
    m_opticalCardEdit->setText(QString::number(cards.opticalCards));
    m_hyperNetworkEdit->setText(QString::number(cards.hyperNetworkCards));
}

void LCBatteryDlg::fillDeviceRows()
{
    if (!m_panel) {
        return;
    }
    const QMap<int, DeviceType> types = LCDataStore::instance()->deviceTypes();
    // QString orders by character code, so the rows come out case-sensitively sorted
    QMap<QString, int> countByName;
    for (int i = 0; i < m_panel->childCount(); ++i) {
        const LCObject *const loop = m_panel->child(i);
        for (int j = 0; j < loop->childCount(); ++j) {
            const int typeId = loop->child(j)->property(PropertyId::deviceTypeid).toInt();
            ++countByName[types.value(typeId).Name];
        }
    }
    for (auto it = countByName.constBegin(); it != countByName.constEnd(); ++it) {
        appendDeviceRow(it.key(), QString::number(it.value()));
    }
}

void LCBatteryDlg::fitDeviceTable()
{
    // At least the widths of the layout, more where the font needs it: every type name the
    // editor offers or a row shows, and the header texts, are to be read in full.
    const QFontMetrics metrics = m_deviceTable->fontMetrics();
    const QHeaderView *const header = m_deviceTable->horizontalHeader();
    int typeWidth = qMax(kTypeColumnWidth,
        header->fontMetrics().horizontalAdvance(
            m_deviceTable->horizontalHeaderItem(kTypeColumn)->text())
            + kCellPaddingPixel);
    QStringList names;
    for (const DeviceType &type : LCDataStore::instance()->deviceTypes()) {
        names << type.Name;
    }
    for (int row = 0; row < m_deviceTable->rowCount(); ++row) {
        names << m_deviceTable->item(row, kTypeColumn)->text();
    }
    for (const QString &name : qAsConst(names)) {
        typeWidth = qMax(typeWidth, metrics.horizontalAdvance(name) + kCellPaddingPixel);
    }
    const int quantityWidth = qMax(kQuantityColumnWidth,
        header->fontMetrics().horizontalAdvance(
            m_deviceTable->horizontalHeaderItem(kQuantityColumn)->text())
            + kCellPaddingPixel);
    m_deviceTable->setColumnWidth(kTypeColumn, typeWidth);
    m_deviceTable->setColumnWidth(kQuantityColumn, quantityWidth);
    const int chrome = 2 * m_deviceTable->frameWidth()
        + m_deviceTable->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    m_deviceTable->setFixedWidth(qMax(kTableWidth, typeWidth + quantityWidth + chrome));
}

void LCBatteryDlg::fixSize(int height)
{
    // the size of the layout, or more where the font needs it
    const QSize needed = minimumSizeHint();
    setFixedSize(qMax(kDialogWidth, needed.width()), qMax(height, needed.height()));
}

void LCBatteryDlg::arrangeForPanelType()
{
    const bool d50 = isD50();
    for (QWidget *const widget : qAsConst(m_d50Widgets)) {
        widget->setVisible(d50);
    }
    for (QWidget *const widget : qAsConst(m_smallPanelWidgets)) {
        widget->setVisible(!d50);
    }
    if (d50) {
        m_standbyCombo->setCurrentText(kD50StandbyPreset);
        m_alarmCombo->setEditable(false);
        m_alarmCombo->setCurrentIndex(0);
        fixSize(kD50DialogHeight);
    } else {
        m_standbyEdit->setText(kSmallPanelStandbyPreset);
        m_alarmCombo->setEditable(true);
        m_alarmCombo->setValidator(
            new QRegularExpressionValidator(QRegularExpression(kAlarmPattern), m_alarmCombo));
        m_alarmCombo->setCurrentText(kSmallPanelAlarmPreset);
        fixSize(kSmallPanelDialogHeight);
    }
}

bool LCBatteryDlg::isD50() const
{
    return m_panel && m_panel->property(PropertyId::PanelType).toInt() == kD50PanelType;
}

void LCBatteryDlg::appendDeviceRow(const QString &typeName, const QString &quantity)
{
    const int row = m_deviceTable->rowCount();
    m_deviceTable->insertRow(row);
    // the table takes the items over
    m_deviceTable->setItem(row, kTypeColumn, new QTableWidgetItem(typeName));
    m_deviceTable->setItem(row, kQuantityColumn, new QTableWidgetItem(quantity));
}

void LCBatteryDlg::slotViewContextMenu(const QPoint &position)
{
    const int lastRow = m_deviceTable->rowCount() - 1;
    // an empty table must be able to get its first row too
    const bool offered = lastRow < 0
        || (m_deviceTable->currentRow() == lastRow
            && m_deviceTable->currentColumn() == kTypeColumn);
    if (!offered) {
        return;
    }
    QMenu menu(this);
    connect(menu.addAction(tr("Add Type")), &QAction::triggered, this, &LCBatteryDlg::slotAddType);
    menu.exec(m_deviceTable->viewport()->mapToGlobal(position));
}

void LCBatteryDlg::slotAddType()
{
    const QString undefined = tr("UNDEFINED");
    const int lastRow = m_deviceTable->rowCount() - 1;
    const QTableWidgetItem *const lastType = m_deviceTable->item(lastRow, kTypeColumn);
    if (lastType && lastType->text() == undefined) {
        m_prompter.information(this, tr("Information"), tr("Please fill type of current row!"));
        return;
    }
    appendDeviceRow(undefined, kZero);
}

void LCBatteryDlg::slotCalc()
{
    if (!timesAreValid() || !quantitiesAreValid()) {
        return;
    }
    const LCDataStore *const store = LCDataStore::instance();
    LCBatteryCalculation calculation(store->deviceTypes(), store->cardTypes());
    // Rows whose devices the capacity leaves out; said in the result, since a battery sized
    // without them is too small.
    QStringList leftOut;
    for (int row = 0; row < m_deviceTable->rowCount(); ++row) {
        const QTableWidgetItem *const type = m_deviceTable->item(row, kTypeColumn);
        const QTableWidgetItem *const quantityItem = m_deviceTable->item(row, kQuantityColumn);
        const QString typeName = type ? type->text() : QString();
        const int typeId = store->deviceTypeIdByName(typeName);
        const int quantity =
            LCNumberText::parseInt(quantityItem ? quantityItem->text() : QString());
        if (typeId == 0 && quantity > 0) {
            leftOut << tr("Row %1 (\"%2\", quantity %3) is left out: its type is not in the "
                          "library.")
                           // in one pass, so a name holding "%3" stays as it is
                           .arg(QString::number(row + 1), typeName, QString::number(quantity));
        }
        calculation.addDevices(typeId, quantity);
    }

    float requiredAmpHour = 0.0f;
    if (m_panel) {
        const float alarmHours = LCNumberText::parseFloat(m_alarmCombo->currentText());
        const float standbyHours = LCNumberText::parseFloat(
            isD50() ? m_standbyCombo->currentText() : m_standbyEdit->text());
        requiredAmpHour = calculation.requiredAmpHour(
            LCBatteryCalculation::panelCards(*m_panel), standbyHours, alarmHours);
    }

    QString text = tr("Required minimum battery capacity is : ")
        + LCNumberText::general(requiredAmpHour) + kAmpHourUnit + QLatin1Char('\n');
    const std::optional<BatteryType> battery =
        LCBatteryCalculation::recommendedBattery(store->batteryTypes(), requiredAmpHour);
    if (battery) {
        text += tr("Recommand battery type is ") + battery->Name + QLatin1Char('(') + battery->Note
            + QLatin1Char(')');
    } else {
        text += tr("No battery type of the library below %1 Ah is larger than %2 Ah!")
                    .arg(LCNumberText::general(LCBatteryCalculation::kMaxRecommendedAmpHour),
                        LCNumberText::general(requiredAmpHour));
    }
    for (const QString &line : qAsConst(leftOut)) {
        text += QLatin1Char('\n') + line;
    }
    m_resultView->setPlainText(text);
}

bool LCBatteryDlg::timesAreValid()
{
    if (m_alarmCombo->isVisibleTo(this)) {
        const QString alarm = m_alarmCombo->currentText();
        if (alarm.isEmpty()) {
            refuse(tr("The alarm time is blank"), m_alarmCombo);
            return false;
        }
        if (alarm == kZero) {
            refuse(tr("The alarm time can not be 0"), m_alarmCombo);
            return false;
        }
    }
    if (m_standbyEdit->isVisibleTo(this)) {
        const QString standby = m_standbyEdit->text();
        if (standby.isEmpty()) {
            refuse(tr("The standby time is blank"), m_standbyEdit);
            return false;
        }
        if (standby == kZero) {
            refuse(tr("The standby time can not be 0"), m_standbyEdit);
            return false;
        }
    }
    return true;
}

bool LCBatteryDlg::quantitiesAreValid()
{
    for (int row = 0; row < m_deviceTable->rowCount(); ++row) {
        const QTableWidgetItem *const item = m_deviceTable->item(row, kQuantityColumn);
        const QString text = item ? item->text() : QString();
        bool fits = false;
        if (kQuantityPattern.match(text).hasMatch()) {
            text.toInt(&fits);
        }
        if (!fits) {
            m_deviceTable->setCurrentCell(row, kQuantityColumn);
            refuse(tr("The device quantity in row %1 must be a whole number of 0 or more")
                       .arg(row + 1),
                m_deviceTable);
            return false;
        }
    }
    return true;
}

void LCBatteryDlg::refuse(const QString &text, QWidget *focus)
{
    m_prompter.information(this, tr("Information"), text);
    focus->setFocus();
}
