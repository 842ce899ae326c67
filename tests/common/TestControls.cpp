#include "common/TestControls.h"

#include "controls/WWidget.h"
#include "document/CControl.h"

#include <QQuickItem>

namespace TestControls {

CControl *makeControl(QQuickItem *canvas, const QString &name, const QString &type,
                      const QRectF &rect, const QString &itemType)
{
    auto *control = new CControl();
    control->setName(name);
    control->setType(type);
    control->setTag(QStringLiteral("Control"));
    auto *root = new QQuickItem(canvas);
    root->setX(rect.x());
    root->setY(rect.y());
    root->setWidth(rect.width());
    root->setHeight(rect.height());
    auto *item = new WWidget(root);
    item->setRoot(root);
    item->setTypeName(itemType.isEmpty() ? type.toLower() : itemType);
    item->setControl(control);
    control->appendItem(item);
    return control;
}

} // namespace TestControls
