#include "controls/WWidgetFactory.h"

#include "controls/WWidget.h"
#include "document/CControl.h"
#include "document/CItemRecord.h"

#include <QDebug>
#include <QHash>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickItem>

WWidgetFactory::WWidgetFactory() = default;

WWidgetFactory::~WWidgetFactory()
{
    for (const QPointer<QQmlComponent> &component : qAsConst(m_components))
        delete component.data();
}

QString WWidgetFactory::fileFor(const QString &typeName)
{
    static const QHash<QString, QString> files = {
        {QStringLiteral("bounds"), QStringLiteral("qrc:/qmlcontrol/QmlBounds.qml")},
        {QStringLiteral("button"), QStringLiteral("qrc:/qmlcontrol/QmlButton.qml")},
        {QStringLiteral("cmdbutton"), QStringLiteral("qrc:/qmlcontrol/QmlCmdButton.qml")},
        {QStringLiteral("dialer"), QStringLiteral("qrc:/qmlcontrol/QmlDialer.qml")},
        {QStringLiteral("droplist"), QStringLiteral("qrc:/qmlcontrol/QmlDroplist.qml")},
        {QStringLiteral("image"), QStringLiteral("qrc:/qmlcontrol/QmlImage.qml")},
        {QStringLiteral("frame"), QStringLiteral("qrc:/qmlcontrol/QmlFrame.qml")},
        {QStringLiteral("label"), QStringLiteral("qrc:/qmlcontrol/QmlLabel.qml")},
        {QStringLiteral("region"), QStringLiteral("qrc:/qmlcontrol/QmlRegion.qml")},
        {QStringLiteral("panellink"), QStringLiteral("qrc:/qmlcontrol/QmlPanelLink.qml")},
        {QStringLiteral("slider"), QStringLiteral("qrc:/qmlcontrol/QmlFader.qml")},
        {QStringLiteral("textedit"), QStringLiteral("qrc:/qmlcontrol/QmlTextEdit.qml")},
        {QStringLiteral("textlink"), QStringLiteral("qrc:/qmlcontrol/QmlTextLink.qml")},
        {QStringLiteral("dropsite"), QStringLiteral("qrc:/qmlcontrol/QmlDropsite.qml")},
    };
    return files.value(typeName);
}

QQmlComponent *WWidgetFactory::component(QQmlEngine *engine, const QString &file)
{
    if (engine != m_pComponentEngine) {
        for (const QPointer<QQmlComponent> &component : qAsConst(m_components))
            delete component.data();
        m_components.clear();
        m_pComponentEngine = engine;
    }
    QPointer<QQmlComponent> &component = m_components[file];
    // Owned by the engine, so it goes with it whoever goes first.
    if (!component)
        component = new QQmlComponent(engine, QUrl(file), engine);
    return component;
}

WWidget *WWidgetFactory::loadWidget(const QString &typeName, CControl *control)
{
    const QString file = fileFor(typeName);
    if (file.isEmpty())
        return nullptr;
    if (!m_pParentItem || !m_pContext || !m_pContext->engine())
        return nullptr;

    QQmlComponent *component = this->component(m_pContext->engine(), file);
    QObject *object = component->create(m_pContext);
    auto *root = qobject_cast<QQuickItem *>(object);
    if (!root) {
        int index = 0;
        for (const QQmlError &error : component->errors())
            qDebug() << index++ << error.toString();
        qDebug() << QStringLiteral("------------------------");
        delete object;
        return nullptr;
    }
    root->setParent(m_pParentItem);
    root->setParentItem(m_pParentItem);
    auto *widget = root->findChild<WWidget *>(QStringLiteral("widget"));
    if (!widget)
        return nullptr;
    widget->setRoot(root);
    widget->setTypeName(typeName);
    widget->setModel(m_pModel);
    if (control) {
        widget->setControl(control);
        widget->setOwnerObject(control->block());
    }
    widget->initWidget();
    return widget;
}

CItem *WWidgetFactory::createItem(CControl *control, const CItemRecord &record)
{
    WWidget *item = loadWidget(record.type(), control);
    if (!item)
        return nullptr;
    item->setCanvas(m_pParentItem);
    item->loadAttributes(record.values());
    return item;
}
