#include "definitions/lcxmlreader.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextCodec>

namespace
{
// How far into the document its XML declaration may name the encoding.
constexpr int kDeclarationBytes = 256;

bool startsName(uint code)
{
    return (code >= 'A' && code <= 'Z') || (code >= 'a' && code <= 'z') || code == '_'
        || code == ':' || code > 0x7F;
}

// Counts the "=" of every start tag outside quoted values. Comments and CDATA are not told
// apart, so an odd one may be counted too: the bound is far above what any file of ours needs.
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
            if (code == '<' && i + 1 < size && startsName(uint(text(i + 1)))) {
                state = State::Tag;
                attributes = 0;
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
    const QRegularExpressionMatch match =
        declaration.match(QString::fromLatin1(bytes.left(kDeclarationBytes)));
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
    if (file.size() > kMaxFileBytes) {
        *error = QCoreApplication::translate("LCXmlReader", "the file is larger than %1 MB")
                     .arg(kMaxFileBytes / (1024 * 1024));
        return std::nullopt;
    }
    // read one byte past the limit, so a file that grows while being read is caught too
    QByteArray bytes = file.read(kMaxFileBytes + 1);
    if (bytes.size() > kMaxFileBytes) {
        *error = QCoreApplication::translate("LCXmlReader", "the file is larger than %1 MB")
                     .arg(kMaxFileBytes / (1024 * 1024));
        return std::nullopt;
    }
    if (file.error() != QFileDevice::NoError) {
        *error = file.errorString();
        return std::nullopt;
    }
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
