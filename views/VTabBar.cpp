#include "views/VTabBar.h"

#include <QTabBar>

VTabBar::VTabBar(QWidget *parent) : QTabWidget(parent)
{
    setTabShape(QTabWidget::Triangular);
    setTabPosition(QTabWidget::South);
}
