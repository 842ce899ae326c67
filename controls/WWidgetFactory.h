#pragma once

#include "document/CItemFactory.h"

#include <QHash>
#include <QPointer>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQuickItem>
#include <QString>

class MModel;
class QQmlContext;
class QQmlEngine;
class QQuickItem;
class WWidget;

// Turns an item type name into a loaded QML component and its native item,
// and builds the live item of a control's item record.
class WWidgetFactory : public CItemFactory
{
public:
    WWidgetFactory();
    ~WWidgetFactory() override;

    // Null for a type name it does not know (names are case-sensitive) and
    // while it has no parent item or context. The item is bound to the
    // control, when given, before it initialises.
    virtual WWidget *loadWidget(const QString &typeName, CControl *control = nullptr);
    CItem *createItem(CControl *control, const CItemRecord &record) override;
    virtual void setParentItem(QQuickItem *item) { m_pParentItem = item; }
    virtual QQuickItem *parentItem() const { return m_pParentItem; }
    virtual QQmlContext *context() const { return m_pContext; }
    virtual MModel *model() const { return m_pModel; }

    void setContext(QQmlContext *context) { m_pContext = context; }
    void setModel(MModel *model) { m_pModel = model; }

    // The QML file of a type name; empty for an unknown name.
    static QString fileFor(const QString &typeName);

private:
    // The component of a file, compiled once per engine and kept with it.
    QQmlComponent *component(QQmlEngine *engine, const QString &file);

    // The canvas may go before the factory does.
    QPointer<QQuickItem> m_pParentItem;
    QPointer<QQmlContext> m_pContext;
    MModel *m_pModel = nullptr;
    QPointer<QQmlEngine> m_pComponentEngine;
    QHash<QString, QPointer<QQmlComponent>> m_components;
};
