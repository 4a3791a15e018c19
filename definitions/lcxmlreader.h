#pragma once

#include "definitions/lcxmlelement.h"

#include <QByteArray>
#include <QString>
#include <QVector>
#include <QXmlStreamReader>

#include <optional>

// A pull reader for files that may be hostile. It refuses document type declarations (so no
// entity can expand), nesting deeper than any file of ours needs and more elements than the
// largest real site holds, so reading stays bounded in time and memory.
class LCXmlReader
{
public:
    // A site of a hundred panels with full loops is about 50 MB.
    static constexpr qint64 kMaxFileBytes = qint64(128) * 1024 * 1024;
    // Our files nest five deep, with a wrapper element around the project.
    static constexpr int kMaxDepth = 32;
    // Four times the devices of that largest site.
    static constexpr qint64 kMaxElements = 2000000;
    // Our elements carry at most eleven; a parser checks each new attribute against all
    // earlier ones of its element, so a tag with a great many of them would take hours.
    static constexpr int kMaxAttributes = 64;

    // The whole file, or nothing with the reason in error when it is missing, unreadable or
    // larger than kMaxFileBytes.
    static std::optional<QByteArray> readFile(const QString &path, QString *error);

    // Reads bytes in the encoding its byte order mark or declaration names (UTF-8 when neither
    // does). A document in an unknown encoding, with bytes that are not of its encoding, or
    // with a tag of more than kMaxAttributes attributes is refused at the first token.
    explicit LCXmlReader(const QByteArray &bytes);

    QXmlStreamReader &stream() { return m_stream; }
    // Depth of the current element: 1 for the document element.
    int depth() const { return m_depth; }

    // Moves to the next token; false at the end of the document or on an error.
    bool next();
    // Moves to the document element; false when there is none.
    bool toDocumentElement();
    // On a start element: moves to its end, passing over its content.
    void skipElement();
    // On a start element: its direct child elements with their attributes, ending on its end.
    QVector<LCXmlElement> childElements();
    // On the document element: stays there when its tag is tag, else moves to its first child
    // element named tag. False when there is none.
    bool toSection(QLatin1String tag);
    // Reads the rest of the document; true when all of it was well formed and within bounds.
    bool finish();

    bool hasError() const { return m_stream.hasError(); }
    // The reason and the line of the first error.
    QString errorString() const;

private:
    // Why the document is refused before parsing starts; empty when it is not.
    QString m_refusal;
    QXmlStreamReader m_stream;
    int m_depth = 0;
    qint64 m_elements = 0;
};
