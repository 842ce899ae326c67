#pragma once

#include <QStringList>

class QTextStream;

// zrbtool's render command: draws every panel of a document to a PNG file,
// as the canvas shows it outside edit mode, with the document's skin.
class URender
{
public:
    // arguments excludes the program name and the command word.
    static int run(const QStringList &arguments, QTextStream &out, QTextStream &err);
    // A collection or panel name made safe as part of a file name.
    static QString safeName(const QString &name);
};
