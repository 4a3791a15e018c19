#include "definitions/ui/lcdefinedlg.h"

#include "definitions/lcdatastore.h"
#include "definitions/lctypeusage.h"
#include "definitions/ui/lccardtypemodel.h"
#include "definitions/ui/lcdefinitioncheck.h"
#include "definitions/ui/lcdevtypemodel.h"
#include "definitions/ui/lcwiretypemodel.h"
#include "grids/ui/lcitemdelegate.h"
#include "grids/ui/lcprompter.h"
#include "grids/ui/lctableview.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <array>

namespace
{
using Kind = LCItemDelegate::EditorKind;

constexpr int kDialogWidth = 585;
constexpr int kDialogHeight = 500;
constexpr int kToolBarHeight = 30;
// one to twenty letters, digits or hyphens
const QString kNamePattern = QStringLiteral("[A-Za-z0-9-]{1,20}");
const QString kAddIcon = QStringLiteral(":/img/add.png");
const QString kDeleteIcon = QStringLiteral(":/img/del.png");
const QString kSaveIcon = QStringLiteral(":/img/save.png");
const QString kDefaultIcon = QStringLiteral(":/img/Home.png");
const QString kPageIcon = QStringLiteral(":/img/Home.png");

// The narrowest the columns are; they grow where the font needs more for a header or a cell.
const QVector<int> kDeviceColumnWidths = {100, 140, 140, 140};
const QVector<int> kCableColumnWidths = {100, 140, 140, 160};
const QVector<int> kCardColumnWidths = {100, 140, 140};

QString informationTitle()
{
    return LCDefineDlg::tr("Information");
}

QToolButton *toolButton(const QString &icon, const QString &text, QWidget *parent)
{
    auto *const button = new QToolButton(parent);
    button->setIcon(QIcon(icon));
    button->setText(text);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    return button;
}

// text margins of a cell, either side together
constexpr int kCellPaddingPixel = 12;
// no column to be fitted to its texts
constexpr int kNoFreeTextColumn = -1;
} // namespace

LCDefineDlg::LCDefineDlg(LCPrompter &prompter, QWidget *parent)
    : QDialog(parent)
    , m_prompter(prompter)
{
    buildWidgets();
    connect(m_addButton, &QToolButton::clicked, this, &LCDefineDlg::slotAdd);
    connect(m_deleteButton, &QToolButton::clicked, this, &LCDefineDlg::slotDelete);
    connect(m_saveButton, &QToolButton::clicked, this, &LCDefineDlg::slotSave);
    connect(m_defaultButton, &QToolButton::clicked, this, &LCDefineDlg::slotDefault);
    connect(m_kindSelector, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
        &LCDefineDlg::slotModelTypeChanged);

    m_deviceTypes = new LCDevTypeModel(this);
    m_cableTypes = new LCWireTypeModel(this);
    m_cardTypes = new LCCardTypeModel(this);
    m_deviceTypes->reload();
    m_cableTypes->reload();
    m_cardTypes->reload();
    createEditors();
    fixSize();
    showPage(Page::DeviceTypes);
}

void LCDefineDlg::buildWidgets()
{
    setWindowTitle(tr("Define"));

    m_toolBar = new QToolBar(this);
    m_toolBar->setFixedHeight(kToolBarHeight);
    m_addButton = toolButton(kAddIcon, tr("Add"), m_toolBar);
    m_addButton->setObjectName(QStringLiteral("addButton"));
    m_deleteButton = toolButton(kDeleteIcon, tr("Delete"), m_toolBar);
    m_deleteButton->setObjectName(QStringLiteral("deleteButton"));
    m_saveButton = toolButton(kSaveIcon, tr("Save"), m_toolBar);
    m_saveButton->setObjectName(QStringLiteral("saveButton"));
    m_defaultButton = toolButton(kDefaultIcon, tr("Default"), m_toolBar);
    m_defaultButton->setObjectName(QStringLiteral("defaultButton"));
    m_kindSelector = new QComboBox(m_toolBar);
    m_kindSelector->setObjectName(QStringLiteral("kindSelector"));
    const QIcon pageIcon(kPageIcon);
    m_kindSelector->addItem(pageIcon, tr("Device"));
    m_kindSelector->addItem(pageIcon, tr("Cable Type"));
    m_kindSelector->addItem(pageIcon, tr("Card Type"));

    m_toolBar->addWidget(m_addButton);
    m_toolBar->addSeparator();
    m_toolBar->addWidget(m_deleteButton);
    m_toolBar->addSeparator();
    m_toolBar->addWidget(m_saveButton);
    m_toolBar->addSeparator();
    m_toolBar->addWidget(m_defaultButton);
    m_toolBar->addSeparator();
    m_toolBar->addWidget(m_kindSelector);

    m_grid = new LCTableView(this);
    m_grid->setObjectName(QStringLiteral("grid"));
    m_grid->setSelectionBehavior(QAbstractItemView::SelectItems);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    // the last column takes what is left, so the grid has no empty strip
    m_grid->horizontalHeader()->setStretchLastSection(true);

    auto *const layout = new QVBoxLayout(this);
    layout->addWidget(m_toolBar);
    layout->addWidget(m_grid);
}

void LCDefineDlg::createEditors()
{
    m_nameValidator = new QRegularExpressionValidator(QRegularExpression(kNamePattern), this);
    const auto editor = [this](Kind kind) { return new LCItemDelegate(kind, this); };
    const auto nameEditor = [&editor, this]() {
        LCItemDelegate *const delegate = editor(Kind::Text);
        delegate->setValidator(m_nameValidator);
        return delegate;
    };
    m_deviceNameEditor = nameEditor();
    m_voltEditor = editor(Kind::Integer);
    m_deviceCurrentEditor = editor(Kind::Decimal);
    m_deviceActiveCurrentEditor = editor(Kind::Decimal);
    m_cableNameEditor = nameEditor();
    m_resistanceEditor = editor(Kind::Decimal);
    m_capacityEditor = editor(Kind::Decimal);
    // free text, started from what the cell shows
    m_descriptionEditor = editor(Kind::Text);
    m_cardNameEditor = nameEditor();
    m_cardCurrentEditor = editor(Kind::Decimal);
    m_cardActiveCurrentEditor = editor(Kind::Decimal);
}

void LCDefineDlg::showPage(Page page)
{
    QItemSelectionModel *const oldSelection = m_grid->selectionModel();
    // no column may keep an editor of another page
    m_grid->clearDelegates();
    switch (page) {
    case Page::DeviceTypes:
        m_grid->setModel(m_deviceTypes);
        m_columnsWidth = fitColumns(kDeviceColumnWidths, kNoFreeTextColumn);
        m_grid->setColumnDelegate(int(LCDevTypeModel::Column::Name), m_deviceNameEditor);
        m_grid->setColumnDelegate(int(LCDevTypeModel::Column::Volt), m_voltEditor);
        m_grid->setColumnDelegate(int(LCDevTypeModel::Column::Current), m_deviceCurrentEditor);
        m_grid->setColumnDelegate(
            int(LCDevTypeModel::Column::ActiveCurrent), m_deviceActiveCurrentEditor);
        break;
    case Page::CableTypes:
        m_grid->setModel(m_cableTypes);
        // a description may be long; it is cut short in the grid and shown whole in its editor
        m_columnsWidth = fitColumns(kCableColumnWidths, int(LCWireTypeModel::Column::Note));
        m_grid->setColumnDelegate(int(LCWireTypeModel::Column::Name), m_cableNameEditor);
        m_grid->setColumnDelegate(int(LCWireTypeModel::Column::Resistance), m_resistanceEditor);
        m_grid->setColumnDelegate(int(LCWireTypeModel::Column::Capacity), m_capacityEditor);
        m_grid->setColumnDelegate(int(LCWireTypeModel::Column::Note), m_descriptionEditor);
        break;
    case Page::CardTypes:
        m_grid->setModel(m_cardTypes);
        m_columnsWidth = fitColumns(kCardColumnWidths, kNoFreeTextColumn);
        m_grid->setColumnDelegate(int(LCCardTypeModel::Column::Name), m_cardNameEditor);
        m_grid->setColumnDelegate(int(LCCardTypeModel::Column::Current), m_cardCurrentEditor);
        m_grid->setColumnDelegate(
            int(LCCardTypeModel::Column::ActiveCurrent), m_cardActiveCurrentEditor);
        break;
    }
    // the view made a new selection model for the new table
    if (oldSelection != m_grid->selectionModel()) {
        delete oldSelection;
    }
}

int LCDefineDlg::fitColumns(const QVector<int> &layoutWidths, int freeTextColumn)
{
    const QFontMetrics metrics = m_grid->fontMetrics();
    const QAbstractItemModel *const model = m_grid->model();
    int total = 0;
    for (int column = 0; column < layoutWidths.size(); ++column) {
        int width =
            qMax(layoutWidths.at(column), m_grid->horizontalHeader()->sectionSizeHint(column));
        if (column != freeTextColumn) {
            for (int row = 0; row < model->rowCount(); ++row) {
                const QString text = model->index(row, column).data().toString();
                width = qMax(width, metrics.horizontalAdvance(text) + kCellPaddingPixel);
            }
        }
        m_grid->setColumnWidth(column, width);
        total += width;
    }
    return total;
}

void LCDefineDlg::fixSize()
{
    // as wide as the widest page needs, and never narrower than the layout
    int columns = 0;
    for (const Page page : {Page::DeviceTypes, Page::CableTypes, Page::CardTypes}) {
        showPage(page);
        columns = qMax(columns, m_columnsWidth);
    }
    const int gridWidth = columns + m_grid->verticalHeader()->sizeHint().width()
        + 2 * m_grid->frameWidth() + m_grid->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const QMargins margins = layout()->contentsMargins();
    const int needed =
        qMax(gridWidth, m_toolBar->sizeHint().width()) + margins.left() + margins.right();
    setFixedSize(qMax(kDialogWidth, needed), kDialogHeight);
}

LCDefineDlg::Page LCDefineDlg::shownPage() const
{
    return Page(m_kindSelector->currentIndex());
}

LCTableModel *LCDefineDlg::shownTable() const
{
    switch (shownPage()) {
    case Page::DeviceTypes:
        return m_deviceTypes;
    case Page::CableTypes:
        return m_cableTypes;
    case Page::CardTypes:
        return m_cardTypes;
    }
    return m_deviceTypes;
}

void LCDefineDlg::slotModelTypeChanged()
{
    showPage(shownPage());
}

void LCDefineDlg::slotAdd()
{
    if (!shownPageIsValid()) {
        return;
    }
    switch (shownPage()) {
    case Page::DeviceTypes:
        m_deviceTypes->addRow();
        break;
    case Page::CableTypes:
        m_cableTypes->addRow();
        break;
    case Page::CardTypes:
        m_cardTypes->addRow();
        break;
    }
    m_grid->scrollToBottom();
}

void LCDefineDlg::slotDelete()
{
    const QModelIndexList selected = m_grid->selectionModel()->selectedIndexes();
    if (selected.isEmpty()) {
        return;
    }
    // the project would keep the id and lose its type, or gain the next type added in its place
    const QString refusal = deleteRefusal(selected.first().row());
    if (!refusal.isEmpty()) {
        m_prompter.information(this, informationTitle(), refusal);
        return;
    }
    switch (shownPage()) {
    case Page::DeviceTypes:
        m_deviceTypes->removeRow(selected);
        break;
    case Page::CableTypes:
        m_cableTypes->removeRow(selected);
        break;
    case Page::CardTypes:
        m_cardTypes->removeRow(selected);
        break;
    }
}

QString LCDefineDlg::deleteRefusal(int row) const
{
    // a factory row is never deleted, in use or not
    if (!shownTable()->isCellEditable(row, 0)) {
        return {};
    }
    const LCTypeUsage usage(LCDataStore::instance()->project());
    QString name;
    LCTypeUsage::Users users;
    switch (shownPage()) {
    case Page::DeviceTypes: {
        const DeviceType type = m_deviceTypes->record(row);
        name = type.Name;
        users = usage.deviceTypeUsers(type.DevID);
        break;
    }
    case Page::CableTypes: {
        const WireType type = m_cableTypes->record(row);
        name = type.Name;
        users = usage.cableTypeUsers(type.WireID);
        break;
    }
    case Page::CardTypes:
        // the project refers to no card type; the battery reads the factory ones by id
        return {};
    }
    return users.isEmpty() ? QString() : LCTypeUsage::refusalText(name, users);
}

void LCDefineDlg::slotSave()
{
    if (!shownPageIsValid()) {
        return;
    }
    QString done;
    switch (shownPage()) {
    case Page::DeviceTypes:
        m_deviceTypes->save();
        done = tr("Device type save sucessful!");
        break;
    case Page::CableTypes:
        m_cableTypes->save();
        done = tr("Cable type save sucessful!");
        break;
    case Page::CardTypes:
        m_cardTypes->save();
        done = tr("Card type save sucessful!");
        break;
    }
    m_prompter.information(this, tr("Infomation"), done);
}

void LCDefineDlg::slotDefault()
{
    LCDataStore *const store = LCDataStore::instance();
    switch (shownPage()) {
    case Page::DeviceTypes:
        store->setDeviceTypes(store->defaultDeviceTypes());
        m_deviceTypes->reload();
        break;
    case Page::CableTypes:
        store->setWireTypes(store->defaultWireTypes());
        m_cableTypes->reload();
        break;
    case Page::CardTypes:
        store->setCardTypes(store->defaultCardTypes());
        m_cardTypes->reload();
        break;
    }
}

bool LCDefineDlg::shownPageIsValid()
{
    std::optional<LCDefinitionCheck::Problem> problem;
    switch (shownPage()) {
    case Page::DeviceTypes:
        problem = LCDefinitionCheck::deviceTypes(*m_deviceTypes);
        break;
    case Page::CableTypes:
        problem = LCDefinitionCheck::cableTypes(*m_cableTypes);
        break;
    case Page::CardTypes:
        problem = LCDefinitionCheck::cardTypes(*m_cardTypes);
        break;
    }
    if (!problem) {
        return true;
    }
    m_prompter.information(this, informationTitle(), problem->text);
    m_grid->setCurrentIndex(shownTable()->index(problem->row, problem->column));
    m_grid->setFocus();
    return false;
}

void LCDefineDlg::reject()
{
    if (mayDiscardChanges()) {
        QDialog::reject();
    }
}

bool LCDefineDlg::mayDiscardChanges()
{
    const std::array<std::pair<bool, QString>, 3> tables = {{
        {m_deviceTypes->isModified(), tr("Device type changed but not saved,close anyway?")},
        {m_cableTypes->isModified(), tr("Wire type changed but not saved,close anyway?")},
        {m_cardTypes->isModified(), tr("Card type changed but not saved,close anyway?")},
    }};
    for (const auto &[modified, question] : tables) {
        if (modified
            && m_prompter.question(this, informationTitle(), question) == LCPrompter::Answer::No) {
            return false;
        }
    }
    return true;
}
