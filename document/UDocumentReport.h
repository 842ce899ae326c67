#pragma once

#include <QJsonObject>
#include <QString>

class CDocument;

// Describes an open panel document for the command-line tool: the canvas
// and project records, the connections and every collection, panel and
// control with its attributes record and the values its items write.
class UDocumentReport
{
public:
    static QJsonObject toJson(CDocument *document);
    static QString toText(CDocument *document);
};
