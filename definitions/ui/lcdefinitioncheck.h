#pragma once

#include <QCoreApplication>
#include <QString>

#include <optional>

class LCCardTypeModel;
class LCDevTypeModel;
class LCWireTypeModel;

// The row by row check of a definition table before Add and Save: every type named once and
// with values a real device, cable or card can have. The first problem found is the answer.
class LCDefinitionCheck
{
    Q_DECLARE_TR_FUNCTIONS(LCDefinitionCheck)

public:
    // What is wrong with a table, and in which cell.
    struct Problem {
        int row;
        int column;
        QString text;
    };

    static std::optional<Problem> deviceTypes(const LCDevTypeModel &table);
    static std::optional<Problem> cableTypes(const LCWireTypeModel &table);
    static std::optional<Problem> cardTypes(const LCCardTypeModel &table);
};
