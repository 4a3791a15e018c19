#include "definitions/lcxmlwriter.h"

#include "definitions/lcxmltext.h"
#include "model/lcnumbertext.h"

#include <array>
#include <charconv>

namespace
{
const char kDeclaration[] = R"(<?xml version="1.0" encoding="UTF-8"?>)";
const char kIndent[] = "    ";
constexpr int kIndentSize = int(sizeof(kIndent)) - 1;
// room for any int, and for any double with six significant digits
constexpr std::size_t kNumberChars = 32;

void appendLatin1(QByteArray &bytes, QLatin1String text)
{
    bytes.append(text.data(), text.size());
}
} // namespace

LCXmlWriter::LCXmlWriter(int reserveBytes)
{
    m_bytes.reserve(reserveBytes);
    m_bytes.append(kDeclaration, int(sizeof(kDeclaration)) - 1);
}

void LCXmlWriter::startElement(QLatin1String tag)
{
    closeStartTag();
    newLine(int(m_open.size()));
    m_bytes.append('<');
    appendLatin1(m_bytes, tag);
    m_open.push_back(tag);
    m_inStartTag = true;
}

void LCXmlWriter::textAttribute(QLatin1String name, const QString &text)
{
    const QByteArray utf8 = LCXmlText::writable(text).toUtf8();
    m_bytes.append(' ');
    appendLatin1(m_bytes, name);
    m_bytes.append("=\"", 2);
    appendEscaped(utf8.constData(), utf8.size());
    m_bytes.append('"');
}

void LCXmlWriter::textAttribute(QLatin1String name, QLatin1String text)
{
    m_bytes.append(' ');
    appendLatin1(m_bytes, name);
    m_bytes.append("=\"", 2);
    appendEscaped(text.data(), text.size());
    m_bytes.append('"');
}

void LCXmlWriter::integerAttribute(QLatin1String name, int value)
{
    std::array<char, kNumberChars> digits;
    const auto result = std::to_chars(digits.data(), digits.data() + digits.size(), value);
    m_bytes.append(' ');
    appendLatin1(m_bytes, name);
    m_bytes.append("=\"", 2);
    m_bytes.append(digits.data(), int(result.ptr - digits.data()));
    m_bytes.append('"');
}

void LCXmlWriter::numberAttribute(QLatin1String name, double value)
{
    std::array<char, kNumberChars> digits;
    const auto result =
        LCNumberText::generalChars(digits.data(), digits.data() + digits.size(), value);
    m_bytes.append(' ');
    appendLatin1(m_bytes, name);
    m_bytes.append("=\"", 2);
    if (result.ec == std::errc()) {
        m_bytes.append(digits.data(), int(result.ptr - digits.data()));
    }
    m_bytes.append('"');
}

void LCXmlWriter::endElement()
{
    if (m_open.empty()) {
        return;
    }
    const QLatin1String tag = m_open.back();
    m_open.pop_back();
    if (m_inStartTag) {
        m_bytes.append("/>", 2);
        m_inStartTag = false;
        return;
    }
    newLine(int(m_open.size()));
    m_bytes.append("</", 2);
    appendLatin1(m_bytes, tag);
    m_bytes.append('>');
}

QByteArray LCXmlWriter::finish()
{
    while (!m_open.empty()) {
        endElement();
    }
    m_bytes.append('\n');
    return std::move(m_bytes);
}

void LCXmlWriter::closeStartTag()
{
    if (m_inStartTag) {
        m_bytes.append('>');
        m_inStartTag = false;
    }
}

void LCXmlWriter::newLine(int depth)
{
    m_bytes.append('\n');
    for (int i = 0; i < depth; ++i) {
        m_bytes.append(kIndent, kIndentSize);
    }
}

void LCXmlWriter::appendEscaped(const char *text, int size)
{
    for (int i = 0; i < size; ++i) {
        const char c = text[i];
        switch (c) {
        case '<':
            m_bytes.append("&lt;", 4);
            break;
        case '>':
            m_bytes.append("&gt;", 4);
            break;
        case '&':
            m_bytes.append("&amp;", 5);
            break;
        case '"':
            m_bytes.append("&quot;", 6);
            break;
        case '\t':
            m_bytes.append("&#9;", 4);
            break;
        case '\n':
            m_bytes.append("&#10;", 5);
            break;
        case '\r':
            m_bytes.append("&#13;", 5);
            break;
        default:
            m_bytes.append(c);
            break;
        }
    }
}
