#include "definitions/lcxmlreader.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextCodec>

#include <algorithm>
#include <array>
#include <string_view>

namespace
{
bool startsName(uchar code)
{
    return (code >= 'A' && code <= 'Z') || (code >= 'a' && code <= 'z') || code == '_'
        || code == ':' || code > 0x7F;
}

// Markup of the content that is passed over whole, and what ends it.
struct PassedOver {
    std::string_view start;
    std::string_view end;
};
constexpr PassedOver kPassedOver[] = {
    {"<!--", "-->"},
    {"<![CDATA[", "]]>"},
    {"<?", "?>"},
};

// On the "<" at at of a comment, CDATA section or processing instruction: where the text after
// it goes on, past the end of text when it is not closed; npos when none starts there.
std::size_t passedOverEnd(std::string_view text, std::size_t at)
{
    for (const PassedOver &markup : kPassedOver) {
        if (text.compare(at, markup.start.size(), markup.start) == 0) {
            const std::size_t end = text.find(markup.end, at + markup.start.size());
            return end == std::string_view::npos ? text.size() : end + markup.end.size();
        }
    }
    return std::string_view::npos;
}

// The characters that matter inside a start tag: quotes, "=" and the closing ">".
constexpr std::array<bool, 256> kInTag = [] {
    std::array<bool, 256> table{};
    for (const char code : {'"', '\'', '=', '>'}) {
        table[uchar(code)] = true;
    }
    return table;
}();

// Counts the "=" of every start tag outside quoted values, over UTF-8 (the markup is ASCII, so
// a document in another encoding is counted in its UTF-8 form). Comments, CDATA sections and
// processing instructions are passed over whole: a quote in one would otherwise pair with the
// quotes of the tags after it and hide all their attributes. Any other "<!" (a document type
// declaration) ends the count, since the parse is refused there before anything after it.
// The text between tags and the quoted values are skipped with memchr: the pass runs over every
// byte of a file of half a million devices before the parser starts.
bool attributesWithinBound(std::string_view text)
{
    const std::size_t size = text.size();
    std::size_t i = 0;
    while (i < size) {
        i = text.find('<', i);
        if (i == std::string_view::npos || i + 1 >= size) {
            return true;
        }
        if (startsName(uchar(text[i + 1]))) {
            int attributes = 0;
            // ">" is in the table, so the tag ends where the skipping stops on one
            for (++i;; ++i) {
                while (i < size && !kInTag[uchar(text[i])]) {
                    ++i;
                }
                if (i == size || text[i] == '>') {
                    break;
                }
                const char code = text[i];
                if (code == '"' || code == '\'') {
                    i = text.find(code, i + 1);
                    if (i == std::string_view::npos) {
                        return true;
                    }
                } else if (code == '=' && ++attributes > LCXmlReader::kMaxAttributes) {
                    return false;
                }
            }
            ++i;
            continue;
        }
        const std::size_t passed = passedOverEnd(text, i);
        if (passed != std::string_view::npos) {
            i = passed;
            continue;
        }
        if (text[i + 1] == '!') {
            return true;
        }
        ++i;
    }
    return true;
}

bool attributesWithinBound(const QByteArray &bytes)
{
    return attributesWithinBound(std::string_view(bytes.constData(), std::size_t(bytes.size())));
}

// The codec a document needs when it is not plain UTF-8: by its byte order mark, its first
// bytes, or the encoding its declaration names. Null for UTF-8.
QTextCodec *nonUtf8Codec(const QByteArray &bytes, QString *unknown)
{
    QTextCodec *const utf8 = QTextCodec::codecForMib(106);
    QTextCodec *byMark = QTextCodec::codecForUtfText(bytes, nullptr);
    if (byMark) {
        return byMark == utf8 ? nullptr : byMark;
    }
    if (bytes.size() >= 2 && bytes.at(0) == '<' && bytes.at(1) == '\0') {
        return QTextCodec::codecForName("UTF-16LE");
    }
    if (bytes.size() >= 2 && bytes.at(0) == '\0' && bytes.at(1) == '<') {
        return QTextCodec::codecForName("UTF-16BE");
    }
    static const QRegularExpression declaration(
        QStringLiteral(R"(^\s*<\?xml[^>]*\bencoding\s*=\s*["']([A-Za-z0-9._:-]+)["'])"));
    // The declaration however long, as the parser takes up the encoding it names wherever that
    // stands; no declaration it accepts has a ">" before the encoding. Without any ">" there is
    // no element to read.
    const int end = bytes.indexOf('>');
    if (end < 0) {
        return nullptr;
    }
    const QRegularExpressionMatch match = declaration.match(QString::fromLatin1(bytes.left(end)));
    if (!match.hasMatch()) {
        return nullptr;
    }
    const QString name = match.captured(1);
    QTextCodec *const named = QTextCodec::codecForName(name.toLatin1());
    if (!named) {
        *unknown = name;
    }
    return named == utf8 ? nullptr : named;
}
} // namespace

std::optional<QByteArray> LCXmlReader::readFile(const QString &path, QString *error)
{
    QFile file(path);
    const QFileInfo info(path);
    if (info.isDir()) {
        *error = QCoreApplication::translate("LCXmlReader", "it is a folder");
        return std::nullopt;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return std::nullopt;
    }
    const auto tooLarge = [error]() -> std::optional<QByteArray> {
        *error = QCoreApplication::translate("LCXmlReader", "the file is larger than %1 MB")
                     .arg(kMaxFileBytes / (1024 * 1024));
        return std::nullopt;
    };
    if (file.size() > kMaxFileBytes) {
        return tooLarge();
    }
    // Room for the file as it is now, grown while it grows, up to one byte past the limit so
    // that a file growing while it is read is caught too. Asking for the limit at once would
    // take 128 MB for every file, however small, for as long as its bytes are kept.
    QByteArray bytes(int(file.size()) + 1, Qt::Uninitialized);
    qint64 filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (filled > kMaxFileBytes) {
                return tooLarge();
            }
            bytes.resize(int(std::min(2 * filled, kMaxFileBytes + 1)));
        }
        const qint64 read = file.read(bytes.data() + filled, bytes.size() - filled);
        if (read <= 0) {
            break;
        }
        filled += read;
    }
    if (file.error() != QFileDevice::NoError) {
        *error = file.errorString();
        return std::nullopt;
    }
    bytes.resize(int(filled));
    return bytes;
}

LCXmlReader::LCXmlReader(const QByteArray &bytes)
{
    m_stream.setNamespaceProcessing(false);
    QString unknownEncoding;
    QTextCodec *const codec = nonUtf8Codec(bytes, &unknownEncoding);
    if (!unknownEncoding.isEmpty()) {
        m_refusal =
            QCoreApplication::translate("LCXmlReader", "unknown encoding %1").arg(unknownEncoding);
        return;
    }
    if (!codec) {
        // our own files: the parser checks the UTF-8 itself
        if (!attributesWithinBound(bytes)) {
            m_refusal = QCoreApplication::translate("LCXmlReader", "too many attributes");
            return;
        }
        m_stream.addData(bytes);
        return;
    }
    QTextCodec::ConverterState state(QTextCodec::IgnoreHeader);
    const QString text = codec->toUnicode(bytes.constData(), bytes.size(), &state);
    if (state.invalidChars > 0 || state.remainingChars > 0) {
        m_refusal = QCoreApplication::translate("LCXmlReader", "the text is not %1")
                        .arg(QString::fromLatin1(codec->name()));
        return;
    }
    if (!attributesWithinBound(text.toUtf8())) {
        m_refusal = QCoreApplication::translate("LCXmlReader", "too many attributes");
        return;
    }
    m_stream.addData(text);
}

bool LCXmlReader::next()
{
    if (!m_refusal.isEmpty() && !m_stream.hasError()) {
        m_stream.raiseError(m_refusal);
    }
    if (m_stream.atEnd() || m_stream.hasError()) {
        return false;
    }
    switch (m_stream.readNext()) {
    case QXmlStreamReader::DTD:
        m_stream.raiseError(
            QCoreApplication::translate("LCXmlReader", "document type declarations are refused"));
        return false;
    case QXmlStreamReader::StartElement:
        ++m_depth;
        if (m_depth > kMaxDepth) {
            m_stream.raiseError(QCoreApplication::translate("LCXmlReader", "nested too deeply"));
            return false;
        }
        if (++m_elements > kMaxElements) {
            m_stream.raiseError(QCoreApplication::translate("LCXmlReader", "too many elements"));
            return false;
        }
        return true;
    case QXmlStreamReader::EndElement:
        --m_depth;
        return true;
    case QXmlStreamReader::Invalid:
        return false;
    default:
        return !m_stream.atEnd();
    }
}

bool LCXmlReader::toDocumentElement()
{
    while (next()) {
        if (m_stream.isStartElement()) {
            return true;
        }
    }
    return false;
}

void LCXmlReader::skipElement()
{
    const int level = m_depth;
    while (next()) {
        if (m_stream.isEndElement() && m_depth == level - 1) {
            return;
        }
    }
}

QVector<LCXmlElement> LCXmlReader::childElements()
{
    QVector<LCXmlElement> children;
    const int level = m_depth;
    while (next()) {
        if (m_stream.isEndElement() && m_depth == level - 1) {
            break;
        }
        if (m_stream.isStartElement()) {
            children.append({m_stream.name().toString(), m_stream.attributes()});
            skipElement();
        }
    }
    return children;
}

bool LCXmlReader::toSection(QLatin1String tag)
{
    if (!m_stream.isStartElement() || m_depth != 1) {
        return false;
    }
    if (m_stream.name() == tag) {
        return true;
    }
    while (next()) {
        if (m_stream.isEndElement() && m_depth == 0) {
            return false;
        }
        if (m_stream.isStartElement()) {
            if (m_stream.name() == tag) {
                return true;
            }
            skipElement();
        }
    }
    return false;
}

bool LCXmlReader::finish()
{
    while (next()) { }
    return !m_stream.hasError();
}

QString LCXmlReader::errorString() const
{
    return QCoreApplication::translate("LCXmlReader", "line %1: %2")
        .arg(m_stream.lineNumber())
        .arg(m_stream.errorString());
}
