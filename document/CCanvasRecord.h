#pragma once

#include <QList>
#include <QString>

// One device the canvas can be shaped like: a name, a screen diagonal in
// inches and the ratio of the long side to the short side.
class CCanvasRecord
{
public:
    CCanvasRecord() = default;
    CCanvasRecord(const QString &name, float size, float aspect);
    virtual ~CCanvasRecord() = default;

    // A device-list line: name, diagonal and aspect separated by tabs.
    static CCanvasRecord fromLine(const QString &line);
    // "User Defined" followed by the devices of the resource list, in order.
    static QList<CCanvasRecord> deviceList(const QString &path = QStringLiteral(":/data/Zindral/Devices.txt"));

    QString name;
    float size = 0.0f;
    float aspect = 0.0f;
};
