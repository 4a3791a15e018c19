#include "grids/ui/lccomboeditor.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QLineEdit>
#include <QScrollBar>

namespace
{
// beside the longest entry of a popup: its icon and the popup's frame
constexpr int kPopupMargin = 48;
} // namespace

LCComboEditor::LCComboEditor(QWidget *parent)
    : QComboBox(parent)
{
}

void LCComboEditor::showPopup()
{
    view()->setMinimumWidth(popupWidth());
    QComboBox::showPopup();
}

void LCComboEditor::widenCompleterOnFirstEdit()
{
    if (!lineEdit() || !completer()) {
        return;
    }
    // the proposals appear as the user types: size them then
    connect(lineEdit(), &QLineEdit::textEdited, this, [this] {
        if (completer()) {
            completer()->popup()->setMinimumWidth(popupWidth());
        }
    });
}

int LCComboEditor::popupWidth()
{
    if (m_popupWidth == 0) {
        m_popupWidth = view()->sizeHintForColumn(0) + kPopupMargin
            + view()->verticalScrollBar()->sizeHint().width();
    }
    return m_popupWidth;
}
