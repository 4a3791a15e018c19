#pragma once

#include <QByteArray>
#include <QLatin1String>
#include <QString>

#include <vector>

// Writes elements with attributes, and no text between them, straight into a UTF-8 buffer
// reserved up front: each element on a line of its own, indented by four spaces a level, an
// element without children closed as "<tag .../>". The bytes are those QXmlStreamWriter gives
// with auto-formatting, without its encoding every piece through a codec into a growing array.
class LCXmlWriter
{
public:
    // Starts the document with its XML declaration; reserveBytes is what it is expected to take.
    explicit LCXmlWriter(int reserveBytes);

    // Attributes go to the element started last, before any child of it is started.
    void startElement(QLatin1String tag);
    // Escaped; characters XML cannot carry even escaped are dropped.
    void textAttribute(QLatin1String name, const QString &text);
    // For the program's own fixed ASCII words: escaped only.
    void textAttribute(QLatin1String name, QLatin1String text);
    void integerAttribute(QLatin1String name, int value);
    // As LCNumberText::general writes it.
    void numberAttribute(QLatin1String name, double value);
    void endElement();

    // Ends every open element and the document; the writer is empty afterwards.
    QByteArray finish();

private:
    void closeStartTag();
    void newLine(int depth);
    void appendEscaped(const char *text, int size);

    QByteArray m_bytes;
    std::vector<QLatin1String> m_open;
    // the start tag of the innermost open element still waits for its ">" or "/>"
    bool m_inStartTag = false;
};
