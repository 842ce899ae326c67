#include "app/UBusyCursor.h"

#include <QApplication>
#include <QCloseEvent>

UBusyCursor::UBusyCursor() : m_progress(&UBusyCursor::repaint)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    qApp->installEventFilter(this);
}

UBusyCursor::~UBusyCursor()
{
    qApp->removeEventFilter(this);
    QApplication::restoreOverrideCursor();
}

bool UBusyCursor::eventFilter(QObject *watched, QEvent *event)
{
    // A window closed in the middle of an open would pull the document away
    // from the code still building it.
    if (event->type() == QEvent::Close && watched->isWidgetType()) {
        event->ignore();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void UBusyCursor::repaint()
{
    // Paint and timer events only: no input, and no network traffic that
    // could start work of its own in the middle of this one.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents |
                                    QEventLoop::ExcludeSocketNotifiers);
}
