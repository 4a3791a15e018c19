#include "definitions/lcxmlreader.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextCodec>

#include <algorithm>

namespace
{
bool startsName(uint code)
{
    return (code >= 'A' && code <= 'Z') || (code >= 'a' && code <= 'z') || code == '_'
        || code == ':' || code > 0x7F;
}

template <typename Text>
bool startsWith(const Text &text, int size, int at, QLatin1String literal)
{
    if (at + literal.size() > size) {
        return false;
    }
    for (int k = 0; k < literal.size(); ++k) {
        if (uint(text(at + k)) != uint(uchar(literal.data()[k]))) {
            return false;
        }
    }
    return true;
}

// Where the first literal at or after from begins; -1 when there is none.
template <typename Text>
int indexOf(const Text &text, int size, int from, QLatin1String literal)
{
    for (int i = from; i + literal.size() <= size; ++i) {
        if (startsWith(text, size, i, literal)) {
            return i;
        }
    }
    return -1;
}

// Markup of the content that is passed over whole, and what ends it.
struct PassedOver {
    QLatin1String start;
    QLatin1String end;
};
const PassedOver kPassedOver[] = {
    {QLatin1String("<!--"), QLatin1String("-->")},
    {QLatin1String("<![CDATA["), QLatin1String("]]>")},
    {QLatin1String("<?"), QLatin1String("?>")},
};

// On the "<" of a comment, CDATA section or processing instruction: where its last character
// is, size when it is not closed; -1 when none starts there.
template <typename Text>
int passedOverEnd(const Text &text, int size, int at)
{
    for (const PassedOver &markup : kPassedOver) {
        if (startsWith(text, size, at, markup.start)) {
            const int end = indexOf(text, size, at + markup.start.size(), markup.end);
            return end < 0 ? size : end + markup.end.size() - 1;
        }
    }
    return -1;
}

// Counts the "=" of every start tag outside quoted values. Comments, CDATA sections and
// processing instructions are passed over whole: a quote in one would otherwise pair with the
// quotes of the tags after it and hide all their attributes. Any other "<!" (a document type
// declaration) ends the count, since the parse is refused there before anything after it.
template <typename Text>
bool attributesWithinBound(const Text &text, int size)
{
    enum class State { Content, Tag, Quoted };
    State state = State::Content;
    uint quote = 0;
    int attributes = 0;
    for (int i = 0; i < size; ++i) {
        const uint code = uint(text(i));
        switch (state) {
        case State::Content:
            if (code != '<' || i + 1 >= size) {
                break;
            }
            if (startsName(uint(text(i + 1)))) {
                state = State::Tag;
                attributes = 0;
                break;
            }
            if (const int end = passedOverEnd(text, size, i); end >= 0) {
                i = end;
                break;
            }
            if (uint(text(i + 1)) == '!') {
                return true;
            }
            break;
        case State::Tag:
            if (code == '"' || code == '\'') {
                state = State::Quoted;
                quote = code;
            } else if (code == '=' && ++attributes > LCXmlReader::kMaxAttributes) {
                return false;
            } else if (code == '>') {
                state = State::Content;
            }
            break;
        case State::Quoted:
            if (code == quote) {
                state = State::Tag;
            }
            break;
        }
    }
    return true;
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
        if (!attributesWithinBound([&bytes](int i) { return uchar(bytes.at(i)); }, bytes.size())) {
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
    if (!attributesWithinBound([&text](int i) { return text.at(i).unicode(); }, text.size())) {
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
