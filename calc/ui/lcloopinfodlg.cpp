#include "calc/ui/lcloopinfodlg.h"

#include "calc/ui/lcstrictintvalidator.h"

#include "definitions/lcdatastore.h"
#include "grids/lcicons.h"
#include "grids/ui/lcitemdelegate.h"
#include "grids/ui/lcprompter.h"
#include "model/lccontroller.h"
#include "model/lcdevice.h"
#include "model/lcloop.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QSlider>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cmath>
#include <memory>

namespace
{
constexpr int kDecimalBase = 10;

// Where the dialog starts: a full loop on 3000 m of cable, the first device at the panel.
constexpr int kStartTotalLengthMetre = 3000;
constexpr int kTotalLengthMaxCharacters = 5;
// Only digits, whatever the locale writes.
const QRegularExpression kPlainDigits(
    QRegularExpression::anchoredPattern(QStringLiteral("[0-9]+")));
// The slider moves the first device out in tenths of the cable.
constexpr int kDistributionSteps = 10;

constexpr int kDialogWidthPixel = 602;
constexpr int kDialogHeightPixel = 408;
constexpr int kFormRowSpacingPixel = 20;
constexpr int kTypeColumnWidthPixel = 140;
constexpr int kQuantityColumnWidthPixel = 80;
constexpr int kGridWidthPixel = 238;
constexpr int kCableNameCharacters = 7;
constexpr int kMarginPixel = 6;
constexpr int kGroupBoxRow = 3;
constexpr int kGroupBoxRowSpan = 3;
constexpr int kCableTypeRow = 6;

// A label that keeps the width of its text; the fields beside it take what is left.
QLabel *newLabel(const QString &text, QWidget *parent, Qt::Alignment alignment = Qt::AlignLeft)
{
    auto *const label = new QLabel(text, parent);
    label->setAlignment(alignment | Qt::AlignVCenter);
    label->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Preferred);
    return label;
}

bool isWithin(float value, float low, float high)
{
    return std::isfinite(value) && value >= low && value <= high;
}
} // namespace

LCLoop *LCLoopInfoDlg::createLoop(LCController &panel, const LoopPlan &plan)
{
    const int count = plan.deviceTypeIds.size();
    if (count == 0 || count > kMaxDevices || panel.findLoop(plan.loopId)
        || !isWithin(plan.totalMetre, 0.0f, float(kMaxTotalLengthMetre))
        || !isWithin(plan.firstRunMetre, 0.0f, plan.totalMetre)) {
        return nullptr;
    }
    auto loopObject = std::make_unique<LCLoop>(&panel);
    LCLoop *const loop = loopObject.get();
    loop->setProperty(PropertyId::Loopid, plan.loopId);
    // the panel raises its loop card count and puts the loop in its place by number
    panel.insertChild(std::move(loopObject), -1);
    loop->setProperty(PropertyId::LoopCableType, plan.cableType);
    for (const int typeId : plan.deviceTypeIds) {
        auto device = std::make_unique<LCDevice>(loop);
        device->setProperty(PropertyId::deviceTypeid, typeId);
        device->setProperty(PropertyId::truck, 0);
        device->setProperty(PropertyId::CableType, plan.cableType);
        device->setProperty(PropertyId::Relay, false);
        loop->insertChild(std::move(device), -1);
    }
    loop->distributeCable(plan.totalMetre, plan.firstRunMetre);
    return loop;
}

LCLoopInfoDlg::LCLoopInfoDlg(LCController *panel, LCPrompter &prompter, QWidget *parent)
    : QDialog(parent)
    , m_panel(panel)
    , m_prompter(prompter)
{
    buildUi();
    setUpGrid();
    connect(m_okButton, &QPushButton::clicked, this, &LCLoopInfoDlg::slotOk);
    connect(m_cancelButton, &QPushButton::clicked, this, &LCLoopInfoDlg::slotCancel);
    connect(m_totalLength, &QLineEdit::textChanged, this, &LCLoopInfoDlg::slotTotalDistChanged);
    // the run to the first device, shown twice
    connect(m_firstRun, QOverload<int>::of(&QSpinBox::valueChanged), m_distribution,
        &QSlider::setValue);
    connect(m_distribution, &QSlider::valueChanged, m_firstRun, &QSpinBox::setValue);
    connect(m_typeGrid, &QWidget::customContextMenuRequested, this,
        &LCLoopInfoDlg::slotViewContextMenu);
    connect(m_typeGrid, &QTableWidget::cellChanged, this, &LCLoopInfoDlg::slotViewDataChanged);
}

LCLoopInfoDlg::~LCLoopInfoDlg()
{
    // Closing moves the focus, and a field or grid editor losing it may still signal; the
    // slots must not run on a dialog that is half destroyed.
    disconnect(m_totalLength, nullptr, this, nullptr);
    disconnect(m_typeGrid, nullptr, this, nullptr);
}

void LCLoopInfoDlg::buildUi()
{
    setWindowTitle(tr("Loop Information"));
    setFixedSize(kDialogWidthPixel, kDialogHeightPixel);

    m_loopNumber = new QSpinBox(this);
    m_loopNumber->setObjectName(QStringLiteral("loopNumber"));
    const int maximum = m_panel ? m_panel->maxLoopCount() : LCController::maxLoopCount(0);
    m_loopNumber->setRange(1, maximum);
    // a full panel has no free number; the box then shows its minimum
    const int freeNumber = m_panel ? m_panel->lowestFreeLoopNumber() : 0;
    m_loopNumber->setValue(freeNumber == 0 ? m_loopNumber->minimum() : freeNumber);

    m_totalQuantity = new QLineEdit(QString::number(kMaxDevices), this);
    m_totalQuantity->setObjectName(QStringLiteral("totalQuantity"));
    m_totalQuantity->setReadOnly(true);

    m_totalLength = new QLineEdit(QString::number(kStartTotalLengthMetre), this);
    m_totalLength->setObjectName(QStringLiteral("totalLength"));
    auto *const lengthValidator = new LCStrictIntValidator(0, kMaxTotalLengthMetre, m_totalLength);
    m_totalLength->setValidator(lengthValidator);
    // room for the longest length as the locale writes it, "10,000" and the like
    m_totalLength->setMaxLength(qMax(kTotalLengthMaxCharacters,
        lengthValidator->locale().toString(kMaxTotalLengthMetre).size()));

    m_cableType = new QComboBox(this);
    m_cableType->setObjectName(QStringLiteral("cableType"));
    // long cable names must not push the form out of the fixed window
    m_cableType->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_cableType->setMinimumContentsLength(kCableNameCharacters);
    const QMap<int, WireType> cables = LCDataStore::instance()->wireTypes();
    for (const WireType &cable : cables) {
        // the id, not the place in the list: ids keep their gaps when types are deleted
        m_cableType->addItem(cable.Name, cable.WireID);
    }

    auto *const distribution = new QGroupBox(tr("Device Distribution"), this);
    m_distribution = new QSlider(Qt::Horizontal, distribution);
    m_distribution->setObjectName(QStringLiteral("distribution"));
    m_distribution->setRange(0, kStartTotalLengthMetre);
    m_distribution->setSingleStep(kStartTotalLengthMetre / kDistributionSteps);
    m_distribution->setPageStep(kStartTotalLengthMetre / kDistributionSteps);
    m_distribution->setValue(0);
    m_firstRun = new QSpinBox(distribution);
    m_firstRun->setObjectName(QStringLiteral("firstRun"));
    m_firstRun->setRange(0, kStartTotalLengthMetre);
    m_firstRun->setValue(0);
    // the slider between its two ends, the run it stands for below
    auto *const ends = new QHBoxLayout;
    ends->addWidget(
        newLabel(tr("Best-case\n(evenly along\n cable)"), distribution, Qt::AlignHCenter));
    ends->addWidget(m_distribution, 1);
    ends->addWidget(
        newLabel(tr("Worst-case\n(all at one\n end of cable)"), distribution, Qt::AlignHCenter));
    auto *const run = new QHBoxLayout;
    run->addWidget(
        newLabel(tr("Cable run between panel\n & 1st device (m)"), distribution, Qt::AlignHCenter));
    run->addWidget(m_firstRun, 1);
    auto *const distributionLayout = new QVBoxLayout(distribution);
    distributionLayout->addLayout(ends);
    distributionLayout->addLayout(run);

    auto *const form = new QGridLayout;
    form->setVerticalSpacing(kFormRowSpacingPixel);
    form->setColumnStretch(1, 1);
    form->addWidget(newLabel(tr("Loop No."), this), 0, 0);
    form->addWidget(m_loopNumber, 0, 1);
    form->addWidget(newLabel(tr("Total Device QTY"), this), 1, 0);
    form->addWidget(m_totalQuantity, 1, 1);
    form->addWidget(newLabel(tr("Total loop length (m)"), this), 2, 0);
    form->addWidget(m_totalLength, 2, 1);
    form->addWidget(distribution, kGroupBoxRow, 0, kGroupBoxRowSpan, 2);
    form->addWidget(newLabel(tr("Cable Type"), this), kCableTypeRow, 0);
    form->addWidget(m_cableType, kCableTypeRow, 1);

    m_okButton = new QPushButton(tr("Ok"), this);
    m_okButton->setObjectName(QStringLiteral("okButton"));
    m_okButton->setDefault(true);
    m_cancelButton = new QPushButton(tr("Cancel"), this);
    m_cancelButton->setObjectName(QStringLiteral("cancelButton"));
    auto *const buttons = new QHBoxLayout;
    buttons->addWidget(m_okButton);
    buttons->addWidget(m_cancelButton);

    auto *const left = new QVBoxLayout;
    left->addLayout(form);
    left->addStretch();
    left->addLayout(buttons);

    m_typeGrid = new QTableWidget(0, 2, this);
    m_typeGrid->setObjectName(QStringLiteral("deviceTypes"));

    auto *const layout = new QHBoxLayout(this);
    // narrow margins leave the form room for its labels beside the fixed-width grid
    layout->setContentsMargins(kMarginPixel, kMarginPixel, kMarginPixel, kMarginPixel);
    layout->addLayout(left);
    layout->addWidget(m_typeGrid);
}

void LCLoopInfoDlg::setUpGrid()
{
    m_typeGrid->setHorizontalHeaderLabels({tr("Device Type"), tr("Quantity")});
    m_typeGrid->setColumnWidth(int(GridColumn::DeviceType), kTypeColumnWidthPixel);
    m_typeGrid->setColumnWidth(int(GridColumn::Quantity), kQuantityColumnWidthPixel);
    m_typeGrid->setFixedWidth(kGridWidthPixel);
    m_typeGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_typeGrid->setSelectionBehavior(QAbstractItemView::SelectItems);
    m_typeGrid->setContextMenuPolicy(Qt::CustomContextMenu);

    QStringList names;
    QList<QIcon> icons;
    QString firstName;
    const QMap<int, DeviceType> types = LCDataStore::instance()->deviceTypes();
    for (const DeviceType &type : types) {
        names << type.Name;
        icons << LCIcons::deviceIcon(type.IcoID);
        if (firstName.isEmpty()) {
            firstName = type.Name;
        }
    }
    m_libraryHasTypes = !firstName.isEmpty();

    m_typeDelegate = new LCItemDelegate(LCItemDelegate::EditorKind::IconCombo, this);
    m_typeDelegate->setUseCompleter(true);
    m_typeDelegate->setItems(names, icons);
    m_typeDelegate->setView(m_typeGrid);
    m_typeGrid->setItemDelegateForColumn(int(GridColumn::DeviceType), m_typeDelegate);
    m_quantityDelegate = new LCItemDelegate(LCItemDelegate::EditorKind::Integer, this);
    m_quantityDelegate->setValidator(new QIntValidator(0, kMaxDevices, m_quantityDelegate));
    m_quantityDelegate->setView(m_typeGrid);
    m_typeGrid->setItemDelegateForColumn(int(GridColumn::Quantity), m_quantityDelegate);

    appendGridRow(firstName, QString::number(kMaxDevices));
}

void LCLoopInfoDlg::appendGridRow(const QString &typeName, const QString &quantity)
{
    const int row = m_typeGrid->rowCount();
    m_typeGrid->insertRow(row);
    m_typeGrid->setItem(row, int(GridColumn::DeviceType), new QTableWidgetItem(typeName));
    m_typeGrid->setItem(row, int(GridColumn::Quantity), new QTableWidgetItem(quantity));
}

QString LCLoopInfoDlg::gridText(int row, GridColumn column) const
{
    const QTableWidgetItem *const item = m_typeGrid->item(row, int(column));
    return item ? item->text() : QString();
}

void LCLoopInfoDlg::slotOk()
{
    const QString information = tr("Information");
    if (!m_panel) {
        tell(information, tr("There is no panel to add the loop to!"));
        return;
    }
    if (!m_libraryHasTypes) {
        // the grid can name no device type, so the loop would get none
        tell(information,
            tr("There is no device type in the definitions. Please define device types first!"));
        m_typeGrid->setFocus();
        return;
    }
    if (m_cableType->count() == 0) {
        tell(information,
            tr("There is no cable type in the definitions. Please define cable types first!"));
        m_cableType->setFocus();
        return;
    }
    const QString infomation = tr("Infomation");
    if (m_totalQuantity->text().isEmpty()) {
        tell(infomation, tr("Total Device QTY is blank!"));
        m_totalQuantity->setFocus();
        return;
    }
    if (m_totalLength->text().isEmpty()) {
        tell(infomation, tr("Total loop lenth is blank!"));
        m_totalLength->setFocus();
        return;
    }
    const std::optional<int> totalMetre = totalLengthMetre();
    if (!totalMetre) {
        tell(information,
            tr("Total loop length should be from 0 to %1 m!").arg(kMaxTotalLengthMetre));
        m_totalLength->setFocus();
        return;
    }
    const int badRow = firstBadQuantityRow();
    if (badRow >= 0) {
        tell(information, tr("Quantity should be from 0 to %1!").arg(kMaxDevices));
        m_typeGrid->setCurrentCell(badRow, int(GridColumn::Quantity));
        m_typeGrid->setFocus();
        return;
    }
    // checked before the total, which leaves such rows out and would only say it is too small
    const int unknownRow = firstUnknownTypeRow();
    if (unknownRow >= 0) {
        tell(information,
            tr("The device type \"%1\" is not in the library!")
                .arg(gridText(unknownRow, GridColumn::DeviceType)));
        m_typeGrid->setCurrentCell(unknownRow, int(GridColumn::DeviceType));
        m_typeGrid->setFocus();
        return;
    }
    bool countRead = false;
    const int count = m_totalQuantity->text().toInt(&countRead, kDecimalBase);
    if (!countRead) {
        tell(information, tr("Total Device QTY is not a number!"));
        m_totalQuantity->setFocus();
        return;
    }
    if (count > kMaxDevices) {
        tell(information, tr("The total device QTY should be not more than %1").arg(kMaxDevices));
        m_totalQuantity->setFocus();
        return;
    }
    if (count < kMinDevices) {
        tell(information, tr("The total device QTY should be not less than %1 ").arg(kMinDevices));
        m_totalQuantity->setFocus();
        return;
    }
    if (!m_firstRun->hasAcceptableInput()) {
        tell(information,
            tr("Cable run between panel & 1st device should be from 0 to %1 m!")
                .arg(m_firstRun->maximum()));
        m_firstRun->setFocus();
        return;
    }
    if (!m_loopNumber->hasAcceptableInput()) {
        tell(information,
            tr("Loop No. should be from %1 to %2!")
                .arg(m_loopNumber->minimum())
                .arg(m_loopNumber->maximum()));
        m_loopNumber->setFocus();
        return;
    }
    LoopPlan plan;
    plan.deviceTypeIds = deviceTypeList();
    plan.loopId = m_loopNumber->value();
    if (m_panel->findLoop(plan.loopId)) {
        tell(information, tr("Duplicate loop ID!"));
        m_loopNumber->setFocus();
        return;
    }
    plan.totalMetre = float(*totalMetre);
    plan.firstRunMetre = float(m_firstRun->value());
    plan.cableType = m_cableType->currentData().toInt();
    m_createdLoop = createLoop(*m_panel, plan);
    if (!m_createdLoop) {
        // the checks above leave nothing that could fail here; stay open all the same
        tell(information, tr("The loop could not be created!"));
        return;
    }
    accept();
}

void LCLoopInfoDlg::slotCancel()
{
    reject();
}

void LCLoopInfoDlg::slotTotalDistChanged(const QString &)
{
    const int total = totalLengthMetre().value_or(0);
    m_firstRun->setRange(0, total);
    m_distribution->setRange(0, total);
    m_firstRun->setValue(0);
    m_distribution->setValue(0);
    if (total != 0) {
        m_distribution->setSingleStep(total / kDistributionSteps);
        m_distribution->setPageStep(total / kDistributionSteps);
    }
}

void LCLoopInfoDlg::slotViewContextMenu(const QPoint &position)
{
    const int lastRow = m_typeGrid->rowCount() - 1;
    if (m_typeGrid->currentRow() != lastRow || lastRow < 0
        || m_typeGrid->currentColumn() != int(GridColumn::DeviceType)) {
        return;
    }
    QMenu menu(this);
    menu.addAction(tr("Add Type"), this, &LCLoopInfoDlg::slotAddType);
    menu.exec(m_typeGrid->viewport()->mapToGlobal(position));
}

void LCLoopInfoDlg::slotAddType()
{
    const QString undefined = tr("UNDEFINED");
    const int lastRow = m_typeGrid->rowCount() - 1;
    if (lastRow >= 0 && gridText(lastRow, GridColumn::DeviceType) == undefined) {
        tell(tr("Information"), tr("Please fill type of current row!"));
        return;
    }
    appendGridRow(undefined, QString::number(0));
    m_typeGrid->setCurrentCell(lastRow + 1, int(GridColumn::DeviceType));
}

void LCLoopInfoDlg::slotViewDataChanged(int, int)
{
    const LCDataStore *const store = LCDataStore::instance();
    int total = 0;
    for (int row = 0; row < m_typeGrid->rowCount(); ++row) {
        if (store->deviceTypeIdByName(gridText(row, GridColumn::DeviceType)) != 0) {
            total += gridText(row, GridColumn::Quantity).toInt();
        }
    }
    m_totalQuantity->setText(QString::number(total));
}

int LCLoopInfoDlg::firstBadQuantityRow() const
{
    for (int row = 0; row < m_typeGrid->rowCount(); ++row) {
        bool read = false;
        const int quantity = gridText(row, GridColumn::Quantity).toInt(&read, kDecimalBase);
        if (!read || quantity < 0 || quantity > kMaxDevices) {
            return row;
        }
    }
    return -1;
}

int LCLoopInfoDlg::firstUnknownTypeRow() const
{
    const LCDataStore *const store = LCDataStore::instance();
    for (int row = 0; row < m_typeGrid->rowCount(); ++row) {
        if (store->deviceTypeIdByName(gridText(row, GridColumn::DeviceType)) == 0
            && gridText(row, GridColumn::Quantity).toInt() > 0) {
            return row;
        }
    }
    return -1;
}

std::optional<int> LCLoopInfoDlg::totalLengthMetre() const
{
    // The validator lets group separators through, so the text is read in its locale; a
    // reading in the C locale alone makes "2,000" a loop without cable.
    const QString text = m_totalLength->text();
    bool read = false;
    const int metre = kPlainDigits.match(text).hasMatch()
        ? text.toInt(&read, kDecimalBase)
        : m_totalLength->validator()->locale().toInt(text, &read);
    if (!read || metre < 0 || metre > kMaxTotalLengthMetre) {
        return std::nullopt;
    }
    return metre;
}

QVector<int> LCLoopInfoDlg::deviceTypeList() const
{
    const LCDataStore *const store = LCDataStore::instance();
    QVector<int> typeIds;
    for (int row = 0; row < m_typeGrid->rowCount(); ++row) {
        const int typeId = store->deviceTypeIdByName(gridText(row, GridColumn::DeviceType));
        if (typeId == 0) {
            continue;
        }
        const int quantity = gridText(row, GridColumn::Quantity).toInt();
        for (int i = 0; i < quantity; ++i) {
            typeIds.append(typeId);
        }
    }
    return typeIds;
}

void LCLoopInfoDlg::tell(const QString &title, const QString &text)
{
    m_prompter.information(this, title, text);
}
