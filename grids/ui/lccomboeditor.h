#pragma once

#include <QComboBox>

// The combo box a grid cell is edited with. Its lists (the drop-down and the completer's
// proposals) are as wide as the longest entry however narrow the cell. They are sized when
// first needed, not when the editor opens: making the list costs more than the rest of a
// multi-cell edit.
class LCComboEditor : public QComboBox
{
    Q_OBJECT

public:
    explicit LCComboEditor(QWidget *parent = nullptr);

    void showPopup() override;
    // Sizes the completer's proposals too; call once a completer is set.
    void widenCompleterOnFirstEdit();

private:
    int popupWidth();

    int m_popupWidth = 0;
};
