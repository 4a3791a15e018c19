#pragma once

#include <QIntValidator>

// An integer validator that leaves the text as typed. QIntValidator's fixup drops misplaced
// group separators when the field loses the focus, so "20,00" typed in an English locale would
// become 2000 just as Ok is clicked; here such text stays and is refused.
class LCStrictIntValidator : public QIntValidator
{
    Q_OBJECT

public:
    LCStrictIntValidator(int bottom, int top, QObject *parent);

    void fixup(QString &input) const override;
};
