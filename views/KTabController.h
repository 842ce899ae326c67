#pragma once

#include "app/KController.h"

#include <QPointer>

#include "views/VTabBar.h"

// The tab widget beside the canvas, with the project tree and the
// properties page.
class KTabController : public KController
{
    Q_OBJECT
public:
    KTabController(MModel *model, QWidget *parentWidget);
    ~KTabController() override;

    void initialize() override;
    void setGeometry(const QRect &rect) override;
    void update(int hint) override;
    int type() const override;

    VTabBar *tabs() const { return m_pTabs; }
    QWidget *propertiesPage() const { return m_pPropertiesPage; }

private:
    QPointer<VTabBar> m_pTabs;
    QPointer<QWidget> m_pPropertiesPage;
};
