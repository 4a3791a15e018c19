#pragma once

#include <QIcon>
#include <QItemDelegate>
#include <QList>
#include <QPointer>
#include <QStringList>

class LCComboEditor;
class QAbstractItemView;
class QComboBox;
class QValidator;

// The editor of a grid column or row: a text, integer or decimal line, or a combo box with or
// without icons. A committed value is written into every cell selected in the view, so one edit
// can set a whole run of cells.
class LCItemDelegate : public QItemDelegate
{
    Q_OBJECT

public:
    enum class EditorKind : int {
        Text = 0,
        Integer = 1,
        Decimal = 2,
        Combo = 3,
        IconCombo = 4,
    };

    // Any other kind than those above gives no editor.
    LCItemDelegate(int editorKind, QObject *parent = nullptr);
    LCItemDelegate(EditorKind editorKind, QObject *parent = nullptr);

    int editorKind() const { return m_editorKind; }
    // The view whose selection edits are written to; without one, nothing is written.
    void setView(QAbstractItemView *view);
    QAbstractItemView *view() const { return m_view; }
    // Combo boxes become editable and propose the entries that begin with the typed text.
    void setUseCompleter(bool useCompleter);
    // Replaces the built-in validator of the line editors; not owned.
    void setValidator(QValidator *validator);
    // The texts of the combo boxes and, for the icon combo box, their icons in the same order.
    void setItems(const QStringList &texts, const QList<QIcon> &icons);

    QWidget *createEditor(QWidget *parent,
        const QStyleOptionViewItem &option,
        const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(
        QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;
    void updateEditorGeometry(QWidget *editor,
        const QStyleOptionViewItem &option,
        const QModelIndex &index) const override;
    // A closed combo box is kept for the next edit: making one, with its line and completer,
    // costs more than writing a whole column of cells.
    void destroyEditor(QWidget *editor, const QModelIndex &index) const override;

protected:
    // A text of several lines is drawn on one, so the row height never hides part of it.
    void drawDisplay(QPainter *painter,
        const QStyleOptionViewItem &option,
        const QRect &rect,
        const QString &text) const override;

signals:
    // Sent before an editor is built, so its owner can refill the items for this cell.
    void sigCreateEditor(const QModelIndex &index) const;

public slots:
    void commitAndCloseEditor();
    // An entry the user picked in a combo box ends the edit.
    void closeChosenEditor();

private:
    bool isLineEditor() const;
    bool isComboEditor() const;
    QWidget *createLineEditor(QWidget *parent) const;
    QWidget *createComboEditor(QWidget *parent) const;
    // The kept combo box, made ready for a new edit, when it is a child of parent and lists
    // the items of this edit; null otherwise.
    LCComboEditor *takeSpareCombo(QWidget *parent) const;
    bool listsItems(const QComboBox *combo) const;
    // An icon combo box whose every item has its icon; otherwise the items are texts only.
    bool listsIcons() const;
    // What the editor holds, in the form the model expects for this kind; invalid when the
    // editor is not one this delegate makes.
    QVariant editorValue(QWidget *editor) const;

    const int m_editorKind;
    bool m_useCompleter = false;
    QStringList m_items;
    QList<QIcon> m_icons;
    QPointer<QAbstractItemView> m_view;
    QPointer<QValidator> m_validator;
    mutable QPointer<LCComboEditor> m_spareCombo;
};
