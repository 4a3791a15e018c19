#include "grids/ui/lccontrollerinfodlg.h"

#include "definitions/lcdatastore.h"
#include "grids/ui/lcprompter.h"
#include "model/lccontroller.h"
#include "model/lcproject.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>

namespace
{
constexpr int kPanelTypeWithSlots = 5;
constexpr int kNoCard = 0;

// The dialog fits its fields: fewer for the types without option slots.
constexpr int kDialogWidthPixel = 315;
constexpr int kDialogHeightPixel = 275;
constexpr int kSlottedDialogHeightPixel = 405;
// Tight enough for the twelve rows of the slotted type to fit the fixed height.
constexpr int kSectionSpacingPixel = 4;
constexpr int kRowSpacingPixel = 4;
constexpr int kColumnSpacingPixel = 6;
constexpr int kMarginPixel = 11;

// The loop count follows the loops added later; the field only shows where it stands.
constexpr int kMaxLoopQuantityShown = 6;

// What each card field offers, as quantities from..to.
constexpr int kMinLoopCards = 1;
constexpr int kMaxLoopCards = 2;
constexpr int kMaxSlottedLoopCards = 3;
constexpr int kMinCommCards = 1;
constexpr int kMaxCommCards = 3;
constexpr int kMaxZcpCards = 8;
constexpr int kMaxMainCards = 1;
constexpr int kMaxCanCards = 2;
constexpr int kMaxModbusCards = 1;

void fillQuantities(QComboBox *combo, int from, int to)
{
    for (int quantity = from; quantity <= to; ++quantity) {
        combo->addItem(QString::number(quantity));
    }
    combo->setCurrentIndex(0);
}

// An empty box (a field the chosen type does not have) gives 0.
int quantity(const QComboBox *combo)
{
    return combo->currentText().toInt();
}

QComboBox *newCombo(QWidget *parent, const QString &name)
{
    auto *const combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->setEditable(false);
    return combo;
}

// A section of label and field pairs, both columns sharing the width equally.
QGridLayout *newSection(QWidget *section)
{
    auto *const grid = new QGridLayout(section);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(kRowSpacingPixel);
    grid->setHorizontalSpacing(kColumnSpacingPixel);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    return grid;
}

void addRow(QGridLayout *grid, const QString &label, QWidget *field)
{
    // every row holds a label and its field
    const int row = grid->count() / 2;
    auto *const text = new QLabel(label, grid->parentWidget());
    // a label longer than its column goes on to a second line rather than being cut
    text->setWordWrap(true);
    grid->addWidget(text, row, 0);
    grid->addWidget(field, row, 1);
}
} // namespace

LCControllerInfoDlg::LCControllerInfoDlg(
    LCPrompter &prompter, QWidget *parent, Qt::WindowFlags flags)
    : QDialog(parent, flags)
    , m_prompter(prompter)
{
    buildUi();
    connect(m_okButton, &QPushButton::clicked, this, &LCControllerInfoDlg::slotOk);
    connect(m_cancelButton, &QPushButton::clicked, this, &LCControllerInfoDlg::slotCancel);
    connect(m_panelType, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
        &LCControllerInfoDlg::slotPanelTypeChanged);
    slotPanelTypeChanged();
}

void LCControllerInfoDlg::buildUi()
{
    setWindowTitle(tr("Panel Information"));

    auto *const basicSection = new QWidget(this);
    basicSection->setObjectName(QStringLiteral("basicSection"));
    QGridLayout *const basic = newSection(basicSection);
    m_panelNumber = new QSpinBox(basicSection);
    m_panelNumber->setObjectName(QStringLiteral("panelNumber"));
    m_panelNumber->setRange(kMinPanelNumber, kMaxPanelNumber);
    const LCProject *const project = LCDataStore::instance()->project();
    // the first gap in the numbering, or the number after the last panel
    m_panelNumber->setValue(project ? project->lowestFreePanelNumber() : kMinPanelNumber);
    addRow(basic, tr("Panel No."), m_panelNumber);
    m_panelType = newCombo(basicSection, QStringLiteral("panelType"));
    m_panelType->addItems(LCDataStore::instance()->panelTypes().values());
    addRow(basic, tr("Panel Type"), m_panelType);
    m_loopQuantity = newCombo(basicSection, QStringLiteral("loopQuantity"));
    fillQuantities(m_loopQuantity, 0, kMaxLoopQuantityShown);
    m_loopQuantity->setEnabled(false);
    addRow(basic, tr("Loop QTY"), m_loopQuantity);
    m_loopCards = newCombo(basicSection, QStringLiteral("loopCards"));
    addRow(basic, tr("Loop Card QTY"), m_loopCards);

    m_commSection = new QWidget(this);
    m_commSection->setObjectName(QStringLiteral("commSection"));
    QGridLayout *const comm = newSection(m_commSection);
    m_commCards = newCombo(m_commSection, QStringLiteral("commCards"));
    addRow(comm, tr("Communication Card QTY"), m_commCards);

    m_slotSection = new QWidget(this);
    m_slotSection->setObjectName(QStringLiteral("slotSection"));
    QGridLayout *const slotted = newSection(m_slotSection);
    m_zcpCards = newCombo(m_slotSection, QStringLiteral("zcpCards"));
    addRow(slotted, tr("ZCP Card QTY"), m_zcpCards);
    m_mainCards = newCombo(m_slotSection, QStringLiteral("mainCards"));
    addRow(slotted, tr("Main Card QTY"), m_mainCards);
    m_canCards = newCombo(m_slotSection, QStringLiteral("canCards"));
    addRow(slotted, tr("CAN Card QTY"), m_canCards);
    m_modbusCards = newCombo(m_slotSection, QStringLiteral("modbusCards"));
    addRow(slotted, tr("Modbus Card QTY"), m_modbusCards);
    m_slot1 = newCombo(m_slotSection, QStringLiteral("slot1"));
    addRow(slotted, tr("S1"), m_slot1);
    m_slot2 = newCombo(m_slotSection, QStringLiteral("slot2"));
    addRow(slotted, tr("S2"), m_slot2);

    auto *const detailsSection = new QWidget(this);
    detailsSection->setObjectName(QStringLiteral("detailsSection"));
    QGridLayout *const details = newSection(detailsSection);
    m_details = new QLineEdit(detailsSection);
    m_details->setObjectName(QStringLiteral("panelDetails"));
    addRow(details, tr("Panel Details"), m_details);

    m_okButton = new QPushButton(tr("Ok"), this);
    m_okButton->setObjectName(QStringLiteral("okButton"));
    m_okButton->setDefault(true);
    m_cancelButton = new QPushButton(tr("Cancel"), this);
    m_cancelButton->setObjectName(QStringLiteral("cancelButton"));
    auto *const buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_okButton);
    buttons->addWidget(m_cancelButton);
    buttons->addStretch();

    // The sections are separate grids; giving all of them the same two columns lines the
    // fields up, whichever sections are shown. The label column is as wide as the labels, as
    // far as the widest field leaves room; a longer label wraps.
    int widestLabel = 0;
    const QList<QLabel *> labels = findChildren<QLabel *>();
    for (const QLabel *const label : labels) {
        widestLabel = std::max(widestLabel, label->sizeHint().width());
    }
    int widestField = 0;
    const QList<QWidget *> fields = {m_panelNumber, m_panelType, m_loopQuantity, m_loopCards,
        m_commCards, m_zcpCards, m_mainCards, m_canCards, m_modbusCards, m_slot1, m_slot2,
        m_details};
    for (const QWidget *const field : fields) {
        widestField = std::max(widestField, field->minimumSizeHint().width());
    }
    const int inside = kDialogWidthPixel - 2 * kMarginPixel - kColumnSpacingPixel;
    const int labelWidth = std::min(widestLabel, inside - widestField);
    for (QGridLayout *const section : {basic, comm, slotted, details}) {
        section->setColumnMinimumWidth(0, labelWidth);
        section->setColumnMinimumWidth(1, inside - labelWidth);
    }

    auto *const layout = new QVBoxLayout(this);
    layout->setContentsMargins(kMarginPixel, kMarginPixel, kMarginPixel, kMarginPixel);
    layout->setSpacing(kSectionSpacingPixel);
    layout->addWidget(basicSection);
    layout->addWidget(m_commSection);
    layout->addWidget(m_slotSection);
    layout->addWidget(detailsSection);
    layout->addStretch();
    layout->addLayout(buttons);
}

void LCControllerInfoDlg::slotPanelTypeChanged()
{
    for (QComboBox *const combo : {m_loopCards, m_commCards, m_zcpCards, m_mainCards, m_canCards,
             m_modbusCards, m_slot1, m_slot2}) {
        combo->clear();
    }
    if (!hasSlots()) {
        fillQuantities(m_loopCards, kMinLoopCards, kMaxLoopCards);
        fillQuantities(m_commCards, kMinCommCards, kMaxCommCards);
        m_slotSection->hide();
        m_commSection->show();
        setFixedSize(kDialogWidthPixel, kDialogHeightPixel);
        return;
    }
    fillQuantities(m_loopCards, kMinLoopCards, kMaxSlottedLoopCards);
    fillQuantities(m_canCards, 0, kMaxCanCards);
    fillQuantities(m_mainCards, 0, kMaxMainCards);
    fillQuantities(m_modbusCards, 0, kMaxModbusCards);
    fillQuantities(m_zcpCards, 0, kMaxZcpCards);
    const QStringList slotCards = {tr("Optical Card"), tr("Hyper Network"), tr("None")};
    for (QComboBox *const slotBox : {m_slot1, m_slot2}) {
        slotBox->addItems(slotCards);
        slotBox->setCurrentText(tr("None"));
    }
    m_commSection->hide();
    m_slotSection->show();
    setFixedSize(kDialogWidthPixel, kSlottedDialogHeightPixel);
}

void LCControllerInfoDlg::slotOk()
{
    LCProject *const project = LCDataStore::instance()->project();
    if (!project) {
        m_prompter.information(
            this, tr("Information"), tr("There is no project to add the panel to!"));
        return;
    }
    if (!m_panelNumber->hasAcceptableInput()) {
        // what the box shows is not the number it would give
        m_prompter.information(this, tr("Information"),
            tr("Panel No. should be from %1 to %2!").arg(kMinPanelNumber).arg(kMaxPanelNumber));
        m_panelNumber->setFocus();
        return;
    }
    const int number = m_panelNumber->value();
    for (int i = 0; i < project->childCount(); ++i) {
        if (project->child(i)->property(PropertyId::Panelid).toInt() == number) {
            m_prompter.information(this, tr("Information"), tr("Duplicate Panel No.!"));
            m_panelNumber->setFocus();
            return;
        }
    }
    auto panel = std::make_unique<LCController>(project);
    panel->setProperty(PropertyId::Panelid, number);
    panel->setProperty(PropertyId::PanelType, chosenPanelType());
    panel->setProperty(PropertyId::LoopCardCount, quantity(m_loopCards));
    panel->setProperty(PropertyId::CommCount, quantity(m_commCards));
    panel->setProperty(PropertyId::ManualPanelCount, quantity(m_zcpCards));
    panel->setProperty(PropertyId::MainCardCount, quantity(m_mainCards));
    panel->setProperty(PropertyId::CANCardCount, quantity(m_canCards));
    panel->setProperty(PropertyId::ModbusCardCount, quantity(m_modbusCards));
    panel->setProperty(PropertyId::Slot1CardType, slotCode(m_slot1->currentText()));
    panel->setProperty(PropertyId::Slot2CardType, slotCode(m_slot2->currentText()));
    panel->setProperty(PropertyId::PanelNote, m_details->text().trimmed());
    m_createdPanel = panel.get();
    // the project puts it in its place by number
    project->insertChild(std::move(panel), -1);
    accept();
}

void LCControllerInfoDlg::slotCancel()
{
    reject();
}

bool LCControllerInfoDlg::hasSlots() const
{
    return m_panelType->currentText()
        == LCDataStore::instance()->panelTypes().value(kPanelTypeWithSlots);
}

int LCControllerInfoDlg::chosenPanelType() const
{
    return LCDataStore::instance()->panelTypes().key(m_panelType->currentText(), 0);
}

int LCControllerInfoDlg::slotCode(const QString &text) const
{
    if (text == tr("Optical Card")) {
        return LCController::kOpticalCard;
    }
    if (text == tr("Hyper Network")) {
        return LCController::kHyperNetworkCard;
    }
    return kNoCard;
}
