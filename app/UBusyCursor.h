#pragma once

#include "document/io/UProgress.h"

#include <QObject>

// For the life of the object: the wait cursor over the program, and the
// window kept repainting while long reads, writes and builds run. Input and
// requests to close wait until the work is done.
class UBusyCursor : public QObject
{
    Q_OBJECT

public:
    UBusyCursor();
    ~UBusyCursor() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    static void repaint();

    UProgress m_progress;
};
