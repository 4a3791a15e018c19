#include "definitions/lcxmlreader.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

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
    : m_stream(bytes)
{
    m_stream.setNamespaceProcessing(false);
}

bool LCXmlReader::next()
{
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
