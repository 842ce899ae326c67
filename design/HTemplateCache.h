#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// The module templates and dictionaries as read from the program's
// resources. Resources never change while the program runs, so each file is
// read and parsed once and kept; a file outside them is read afresh each
// time. Used on the GUI thread only.
class HTemplateCache
{
public:
    struct Parameter
    {
        QString text;
        QString type;
    };
    struct Template
    {
        // The file could be opened; without that the node has no template.
        bool found = false;
        // It parsed; a broken template offers no parameters at all.
        bool parsed = false;
        QVector<Parameter> parameters;
    };

    // The parameter list of a module template.
    static Template parameters(const QString &path);
    // The lines of a dictionary, line ends normalised; empty when it cannot
    // be read.
    static QStringList lines(const QString &path);
    // Reads without keeping, as every file outside the resources is read.
    static Template readParameters(const QString &path);
    static QStringList readLines(const QString &path);
};
