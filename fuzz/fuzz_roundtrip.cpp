// Read, write, read again: the second read must equal the first, and nothing the writer
// produced may be refused.
#include "fuzz/fuzzsupport.h"

#include "definitions/lcdatastore.h"
#include "model/lcdevice.h"
#include "model/lcnumbertext.h"

#include <QStringList>

#include <algorithm>

namespace
{
// Floats as the file carries them: six significant digits, so more digits in the input do not
// survive a save, by the format's design.
QString valueText(const QVariant &value)
{
    switch (value.userType()) {
    case QMetaType::Float:
    case QMetaType::Double:
        return LCNumberText::general(value.toDouble());
    case QMetaType::QVariantList:
        return value.toStringList().join(QLatin1Char('|'));
    default:
        return QString::fromLatin1(value.typeName()) + QLatin1Char(':') + value.toString();
    }
}

void describe(const LCObject &object, int depth, QStringList *lines)
{
    std::vector<LCPropertyMap::Entry> properties(
        object.properties().begin(), object.properties().end());
    std::sort(properties.begin(), properties.end(),
        [](const LCPropertyMap::Entry &a, const LCPropertyMap::Entry &b) {
            return a.first < b.first;
        });
    QString line = QString(depth, QLatin1Char(' ')) + QString::number(int(object.kind()));
    for (const LCPropertyMap::Entry &entry : properties) {
        // a device's file carries the sub type it shows: the default of its type where the
        // one read was none or unknown
        const bool shownSubType =
            object.kind() == ObjectKind::Device && entry.first == PropertyId::SubType;
        const QVariant value =
            shownSubType ? QVariant(static_cast<const LCDevice &>(object).subType()) : entry.second;
        line += QLatin1Char(' ') + QString::number(int(entry.first)) + QLatin1Char('=')
            + valueText(value);
    }
    lines->append(line);
    for (int i = 0; i < object.childCount(); ++i) {
        describe(*object.child(i), depth + 1, lines);
    }
}

// The project and the user definitions, a line for each object and definition.
QStringList snapshot(const LCDataStore &store)
{
    QStringList lines;
    describe(*store.project(), 0, &lines);
    const auto number = [](float value) { return LCNumberText::general(value); };
    for (const DeviceType &type : store.deviceTypes()) {
        QStringList subTypes;
        for (const int id : type.SubType) {
            subTypes << QString::number(id);
        }
        lines << QStringList{QStringLiteral("DeviceType"), QString::number(type.DevID), type.Name,
            QString::number(type.Volt), QString::number(type.IcoID), number(type.Current),
            number(type.ActiveCurrent), number(type.Capacitance), subTypes.join(QLatin1Char(' '))}
                     .join(QLatin1Char('\t'));
    }
    for (const WireType &type : store.wireTypes()) {
        lines << QStringList{QStringLiteral("WireType"), QString::number(type.WireID), type.Name,
            number(type.Capacity), number(type.Resistance), type.Note}
                     .join(QLatin1Char('\t'));
    }
    for (const CardType &type : store.cardTypes()) {
        lines << QStringList{QStringLiteral("CardType"), QString::number(type.CardID), type.Name,
            number(type.Current), number(type.ActiveCurrent)}
                     .join(QLatin1Char('\t'));
    }
    return lines;
}

void compare(const QStringList &first, const QStringList &second)
{
    for (int i = 0; i < std::max(first.size(), second.size()); ++i) {
        if (first.value(i) != second.value(i)) {
            FuzzSupport::fail("the second read differs from the first:",
                QStringLiteral("\nfirst:  %1\nsecond: %2").arg(first.value(i), second.value(i)));
        }
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    LCDataStore *const store = FuzzSupport::store();
    const QString input =
        FuzzSupport::write(QStringLiteral("input.xml"), FuzzSupport::bytes(data, size));
    if (!store->loadProject(input).projectRead) {
        return 0;
    }
    const QStringList first = snapshot(*store);
    const QString saved = FuzzSupport::write(QStringLiteral("saved.xml"), QByteArray());
    QString error;
    if (!store->saveProject(saved, &error)) {
        FuzzSupport::fail("the project was not saved:", error);
    }
    const LCLoadResult again = store->loadProject(saved);
    if (!again.projectRead) {
        FuzzSupport::fail("the saved file was refused:", again.errorText);
    }
    compare(first, snapshot(*store));
    return 0;
}
