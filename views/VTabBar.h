#pragma once

#include <QPointer>
#include <QTabWidget>

#include "app/KController.h"

// The tab widget on the left of the main window: the "Project" tree and the
// "Properties" page.
class VTabBar : public QTabWidget
{
    Q_OBJECT
public:
    explicit VTabBar(QWidget *parent = nullptr);

    void setController(KController *controller) { m_pController = controller; }
    KController *controller() const { return m_pController; }

private:
    QPointer<KController> m_pController;
};
