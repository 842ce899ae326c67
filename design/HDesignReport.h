#pragma once

#include <QJsonObject>
#include <QString>

class HRoot;

// Describes an imported design for the command-line tool: the rows the
// project tree shows and the node tree behind them.
class HDesignReport
{
public:
    // {"rows": [{"text", "icon", "flags", "drag", "children"}],
    //  "nodes": [{"class", "label", "title", "typenum", "category", "platform", "children"}]}
    static QJsonObject toJson(HRoot *root);
    // The same as an indented listing.
    static QString toText(HRoot *root);
};
