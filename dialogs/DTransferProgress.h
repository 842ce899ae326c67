#pragma once

#include "device/PTransferProgress.h"

#include <QPointer>
#include <QProgressDialog>

class QWidget;

// The progress of sending a panel, as a window-modal progress dialog whose
// Abort stops the transfer.
class DTransferProgress : public PTransferProgress
{
public:
    explicit DTransferProgress(QWidget *parent);
    ~DTransferProgress() override;

    void begin(qint64 total) override;
    bool advance(qint64 done) override;
    bool keepAlive() override;
    void end() override;

    // Null while no transfer is shown.
    QProgressDialog *dialog() const { return m_pDialog; }

private:
    QWidget *m_pParent = nullptr;
    QPointer<QProgressDialog> m_pDialog;
    qint64 m_scale = 1;
};
