#include "app/UFileDialog.h"

namespace {
UFileDialogHandler *s_pHandler = nullptr;
}

void UFileDialog::setHandler(UFileDialogHandler *handler)
{
    s_pHandler = handler;
}

UFileDialogHandler *UFileDialog::handler()
{
    return s_pHandler;
}

QString UFileDialog::getOpenFileName(QWidget *parent, const QString &caption, const QString &dir,
                                     const QString &filter, QString *selectedFilter,
                                     QFileDialog::Options options)
{
    if (s_pHandler)
        return s_pHandler->getOpenFileName(parent, caption, dir, filter, selectedFilter, options);
    return QFileDialog::getOpenFileName(parent, caption, dir, filter, selectedFilter, options);
}

QString UFileDialog::getSaveFileName(QWidget *parent, const QString &caption, const QString &dir,
                                     const QString &filter, QString *selectedFilter,
                                     QFileDialog::Options options)
{
    if (s_pHandler)
        return s_pHandler->getSaveFileName(parent, caption, dir, filter, selectedFilter, options);
    return QFileDialog::getSaveFileName(parent, caption, dir, filter, selectedFilter, options);
}
