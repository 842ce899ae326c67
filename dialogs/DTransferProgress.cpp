#include "dialogs/DTransferProgress.h"

#include <QCoreApplication>

#include <climits>

DTransferProgress::DTransferProgress(QWidget *parent) : m_pParent(parent) {}

DTransferProgress::~DTransferProgress()
{
    end();
}

void DTransferProgress::begin(qint64 total)
{
    end();
    // The dialog counts in int: very large files are shown in coarser steps.
    m_scale = total > INT_MAX ? total / INT_MAX + 1 : 1;
    m_pDialog = new QProgressDialog(
        QCoreApplication::translate("DTransferProgress", "Sending to Mobile Device..."),
        QCoreApplication::translate("DTransferProgress", "Abort"), 0, int(total / m_scale),
        m_pParent);
    m_pDialog->setWindowModality(Qt::WindowModal);
    m_pDialog->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    m_pDialog->setAutoClose(false);
    m_pDialog->setAutoReset(false);
    m_pDialog->setMinimumDuration(0);
    m_pDialog->setValue(0);
    m_pDialog->show();
}

bool DTransferProgress::advance(qint64 done)
{
    if (!m_pDialog)
        return true;
    m_pDialog->setValue(int(done / m_scale));
    return keepAlive();
}

bool DTransferProgress::keepAlive()
{
    QCoreApplication::processEvents();
    return !m_pDialog || !m_pDialog->wasCanceled();
}

void DTransferProgress::end()
{
    if (m_pDialog) {
        m_pDialog->close();
        delete m_pDialog;
    }
}
