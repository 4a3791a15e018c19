#include "grids/ui/lcitemdelegate.h"

#include "grids/lctablemodel.h"
#include "grids/ui/lccomboeditor.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QtDebug>

namespace
{
// one to six decimal digits
const QString kIntegerPattern = QStringLiteral("[0-9]{1,6}");
// digits with points, or digits with commas, never both
const QString kDecimalPattern = QStringLiteral("[0-9.0-9]*|[0-9,0-9]*");
constexpr int kDecimalBase = 10;
constexpr char kMissingIconMessage[] = "Icon combobox missing icon";
// shown where a text of several lines is drawn on one
const QString kLineBreakMark = QStringLiteral(" \u21b5 ");

QValidator *patternValidator(const QString &pattern, QObject *parent)
{
    return new QRegularExpressionValidator(QRegularExpression(pattern), parent);
}
} // namespace

LCItemDelegate::LCItemDelegate(int editorKind, QObject *parent)
    : QItemDelegate(parent)
    , m_editorKind(editorKind)
{
}

LCItemDelegate::LCItemDelegate(EditorKind editorKind, QObject *parent)
    : LCItemDelegate(int(editorKind), parent)
{
}

void LCItemDelegate::setView(QAbstractItemView *view)
{
    m_view = view;
}

void LCItemDelegate::setUseCompleter(bool useCompleter)
{
    m_useCompleter = useCompleter;
}

void LCItemDelegate::setValidator(QValidator *validator)
{
    m_validator = validator;
}

void LCItemDelegate::setItems(const QStringList &texts, const QList<QIcon> &icons)
{
    m_items = texts;
    m_icons = icons;
}

QWidget *LCItemDelegate::createEditor(
    QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &index) const
{
    // the owner may refill the items for this very cell before they are used
    emit sigCreateEditor(index);
    if (isLineEditor()) {
        return createLineEditor(parent);
    }
    if (isComboEditor()) {
        return createComboEditor(parent);
    }
    return nullptr;
}

void LCItemDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    const QString text = index.data(Qt::DisplayRole).toString();
    if (isLineEditor()) {
        if (auto *const line = qobject_cast<QLineEdit *>(editor)) {
            line->setText(text);
        }
    } else if (isComboEditor()) {
        if (auto *const combo = qobject_cast<QComboBox *>(editor)) {
            // showing the cell's own value is not an edit
            const QSignalBlocker blocker(combo);
            const int entry = combo->findText(text);
            if (entry >= 0) {
                // an editable box would only take the text, and show the first entry's icon
                combo->setCurrentIndex(entry);
            } else {
                combo->setCurrentText(text);
            }
            if (combo->lineEdit()) {
                // what the user types replaces the name, so the completer offers from the start
                combo->lineEdit()->selectAll();
            }
        }
    }
}

void LCItemDelegate::setModelData(
    QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    if (!m_view || !model || !m_view->selectionModel()) {
        return;
    }
    // Read once: the view refreshes an open editor from the model while the cells are written,
    // and every selected cell must get what the user entered.
    const QVariant value = editorValue(editor);
    if (!value.isValid()) {
        return;
    }
    // the selection's ranges walked as Qt lists its cells, without building that list
    const QItemSelection selection = m_view->selectionModel()->selection();
    // every cell the value goes into is one step for the user
    auto *const grid = qobject_cast<LCTableModel *>(model);
    if (grid) {
        grid->beginEdit(index.row(), index.column());
    }
    for (const QItemSelectionRange &range : selection) {
        for (int row = range.top(); row <= range.bottom(); ++row) {
            for (int column = range.left(); column <= range.right(); ++column) {
                const QModelIndex cell = model->index(row, column, range.parent());
                const Qt::ItemFlags flags = model->flags(cell);
                if ((flags & Qt::ItemIsSelectable) && (flags & Qt::ItemIsEnabled)) {
                    model->setData(cell, value, Qt::EditRole);
                }
            }
        }
    }
    if (grid) {
        grid->endEdit();
    }
}

void LCItemDelegate::updateEditorGeometry(
    QWidget *editor, const QStyleOptionViewItem &option, const QModelIndex &) const
{
    editor->setGeometry(option.rect);
}

void LCItemDelegate::destroyEditor(QWidget *editor, const QModelIndex &index) const
{
    auto *const combo = qobject_cast<LCComboEditor *>(editor);
    if (!combo || !isComboEditor() || m_spareCombo) {
        QItemDelegate::destroyEditor(editor, index);
        return;
    }
    // the view has hidden it and taken back its event filter
    combo->hidePopup();
    if (combo->completer() && combo->completer()->popup()) {
        combo->completer()->popup()->hide();
    }
    m_spareCombo = combo;
}

void LCItemDelegate::drawDisplay(QPainter *painter,
    const QStyleOptionViewItem &option,
    const QRect &rect,
    const QString &text) const
{
    QString oneLine = text;
    oneLine.replace(QLatin1Char('\n'), kLineBreakMark);
    QItemDelegate::drawDisplay(painter, option, rect, oneLine);
}

void LCItemDelegate::commitAndCloseEditor()
{
    emit commitData(qobject_cast<QWidget *>(sender()));
}

void LCItemDelegate::closeChosenEditor()
{
    if (auto *const combo = qobject_cast<QComboBox *>(sender())) {
        emit closeEditor(combo);
    }
}

bool LCItemDelegate::isLineEditor() const
{
    return m_editorKind == int(EditorKind::Text) || m_editorKind == int(EditorKind::Integer)
        || m_editorKind == int(EditorKind::Decimal);
}

bool LCItemDelegate::isComboEditor() const
{
    return m_editorKind == int(EditorKind::Combo) || m_editorKind == int(EditorKind::IconCombo);
}

QWidget *LCItemDelegate::createLineEditor(QWidget *parent) const
{
    auto *const line = new QLineEdit(parent);
    if (m_validator) {
        line->setValidator(m_validator);
    } else if (m_editorKind == int(EditorKind::Integer)) {
        line->setValidator(patternValidator(kIntegerPattern, line));
    } else if (m_editorKind == int(EditorKind::Decimal)) {
        line->setValidator(patternValidator(kDecimalPattern, line));
    }
    connect(line, &QLineEdit::editingFinished, this, &LCItemDelegate::commitAndCloseEditor);
    return line;
}

bool LCItemDelegate::listsIcons() const
{
    return m_editorKind == int(EditorKind::IconCombo) && m_items.size() == m_icons.size();
}

LCComboEditor *LCItemDelegate::takeSpareCombo(QWidget *parent) const
{
    LCComboEditor *const spare = m_spareCombo;
    m_spareCombo.clear();
    if (!spare) {
        return nullptr;
    }
    if (spare->parentWidget() != parent || !listsItems(spare)) {
        spare->deleteLater();
        return nullptr;
    }
    if (spare->lineEdit()) {
        // setting the text drops what the last edit typed from the line's undo history
        const QSignalBlocker blocker(spare);
        spare->lineEdit()->setText(QString());
    }
    return spare;
}

bool LCItemDelegate::listsItems(const QComboBox *combo) const
{
    const bool withIcons = listsIcons();
    if (combo->count() != m_items.size()) {
        return false;
    }
    for (int i = 0; i < m_items.size(); ++i) {
        if (combo->itemText(i) != m_items.at(i)) {
            return false;
        }
        if (withIcons && combo->itemIcon(i).cacheKey() != m_icons.at(i).cacheKey()) {
            return false;
        }
    }
    return true;
}

QWidget *LCItemDelegate::createComboEditor(QWidget *parent) const
{
    if (LCComboEditor *const spare = takeSpareCombo(parent)) {
        return spare;
    }
    auto *const combo = new LCComboEditor(parent);
    if (listsIcons()) {
        for (int i = 0; i < m_items.size(); ++i) {
            combo->addItem(m_icons.at(i), m_items.at(i));
        }
    } else {
        if (m_editorKind == int(EditorKind::IconCombo)) {
            qDebug("%s", kMissingIconMessage);
        }
        combo->addItems(m_items);
    }
    if (m_useCompleter) {
        combo->setEditable(true);
        // a typed name that is no entry must not become one
        combo->setInsertPolicy(QComboBox::NoInsert);
        // the box made a completer for its line already: set that one up rather than make another
        QCompleter *completer = combo->completer();
        if (!completer) {
            completer = new QCompleter(combo->model(), combo);
            combo->setCompleter(completer);
        }
        completer->setCompletionMode(QCompleter::PopupCompletion);
        completer->setFilterMode(Qt::MatchStartsWith);
        // the entries are in id order, not by name: every name that starts so is offered
        completer->setModelSorting(QCompleter::UnsortedModel);
        completer->setCaseSensitivity(Qt::CaseInsensitive);
    }
    combo->widenCompleterOnFirstEdit();
    // connected only now, so filling the box does not commit
    connect(combo, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
        &LCItemDelegate::commitAndCloseEditor);
    // a pick from the list or the completer's proposals is the whole edit
    connect(
        combo, QOverload<int>::of(&QComboBox::activated), this, &LCItemDelegate::closeChosenEditor);
    return combo;
}

QVariant LCItemDelegate::editorValue(QWidget *editor) const
{
    if (isLineEditor()) {
        const auto *const line = qobject_cast<const QLineEdit *>(editor);
        if (!line) {
            return {};
        }
        switch (EditorKind(m_editorKind)) {
        case EditorKind::Integer:
            // text that is no number counts as 0
            return line->text().toInt(nullptr, kDecimalBase);
        case EditorKind::Decimal:
            // a decimal comma is read as a point; the model converts the text
            return QString(line->text()).replace(QLatin1Char(','), QLatin1Char('.'));
        default:
            return line->text();
        }
    }
    if (isComboEditor()) {
        const auto *const combo = qobject_cast<const QComboBox *>(editor);
        return combo ? QVariant(combo->currentText()) : QVariant();
    }
    return {};
}
