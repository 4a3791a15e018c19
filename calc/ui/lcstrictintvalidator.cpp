#include "calc/ui/lcstrictintvalidator.h"

LCStrictIntValidator::LCStrictIntValidator(int bottom, int top, QObject *parent)
    : QIntValidator(bottom, top, parent)
{
}

void LCStrictIntValidator::fixup(QString &) const
{
}
