#pragma once

#include <QLatin1String>
#include <QString>
#include <QVariant>
#include <QVariantList>

// The few automation calls the report makes of a spreadsheet program, in the shape of COM late
// binding: objects are reached from the application by member strings, and properties and
// methods are named the same way. The member strings are the contract with Microsoft Excel, so a
// COM backend can pass them through unchanged; a backend for a platform without Excel answers
// the same calls and writes the workbook into a file instead.
class LCSpreadsheetAutomation
{
public:
    // An object of the spreadsheet program, numbered by the backend; kNoObject stands for none.
    using Object = int;
    static constexpr Object kNoObject = 0;

    // What the report asks for, in the order it asks. Not constexpr, as clang cannot count
    // QLatin1String's length at compile time.
    static inline const QLatin1String kProgId{"Excel.Application"};
    static inline const QLatin1String kVisible{"Visible"};
    static inline const QLatin1String kCaption{"Caption"};
    static inline const QLatin1String kCaptionText{"Invoke Microsoft Excel"};
    static inline const QLatin1String kWorkBooks{"WorkBooks"};
    static inline const QLatin1String kOpen{"Open (const QString&)"};
    static inline const QLatin1String kActiveWorkBook{"ActiveWorkBook"};
    static inline const QLatin1String kWorksheets{"Worksheets(int)"};
    static inline const QLatin1String kCells{"Cells(int,int)"};
    static inline const QLatin1String kValue{"Value"};

    virtual ~LCSpreadsheetAutomation() = default;

    // Starts the program registered under progId; kNoObject when it cannot be started.
    [[nodiscard]] virtual Object createApplication(const QString &progId) = 0;
    // False when object has no such property or refuses the value.
    [[nodiscard]] virtual bool setProperty(
        Object object, const QString &name, const QVariant &value) = 0;
    // The sub-object member of object, given arguments; kNoObject when there is none.
    [[nodiscard]] virtual Object querySubObject(
        Object object, const QString &member, const QVariantList &arguments = {}) = 0;
    // Calls method of object; false when it has no such method or the call failed.
    [[nodiscard]] virtual bool dynamicCall(
        Object object, const QString &method, const QVariantList &arguments) = 0;
    // Leaves a copy of workbook as the file path, the workbook itself staying open and unsaved
    // (what a COM backend does with the workbook's SaveCopyAs). It is the only result on a
    // platform without a spreadsheet window. False when no complete file could be written; an
    // earlier file at path is then left as it was.
    [[nodiscard]] virtual bool saveCopy(Object workbook, const QString &path) = 0;
    // Lets go of application and every object obtained from it. The program itself keeps
    // running with its workbook open.
    virtual void release(Object application) = 0;

    // Why the last call failed, for the user.
    virtual QString errorString() const = 0;
};
