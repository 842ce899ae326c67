#pragma once

#include <QRectF>
#include <QString>

class CControl;
class QQuickItem;

// Controls with a real native item on a plain Qt Quick root, for tests of
// geometry and document operations that need no QML file.
namespace TestControls {
CControl *makeControl(QQuickItem *canvas, const QString &name, const QString &type,
                      const QRectF &rect, const QString &itemType = QString());
}
