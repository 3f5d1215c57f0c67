#pragma once
// A document as the host receives it, reduced to what the tests check: the root element's name
// and its children's names and texts, in document order.
#include <QList>
#include <QString>
#include <QXmlStreamReader>
#include <utility>

struct ParsedDoc
{
    QString root;
    QList<std::pair<QString, QString>> children;
};

inline ParsedDoc parse(const QString& text)
{
    ParsedDoc doc;
    QXmlStreamReader xml(text);
    int depth = 0;
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement:
            ++depth;
            if (depth == 1 && doc.root.isEmpty())
                doc.root = xml.name().toString();
            else if (depth == 2)
                doc.children.append({xml.name().toString(), QString()});
            break;
        case QXmlStreamReader::Characters:
            if (depth == 2)
                doc.children.last().second += xml.text();
            break;
        case QXmlStreamReader::EndElement:
            --depth;
            break;
        default:
            break;
        }
    }
    return doc;
}
