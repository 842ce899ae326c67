#pragma once

#include <QDialog>
#include <QHostAddress>

class MModel;
class QSpinBox;

// Asks for the IPv4 address of the mobile device a panel is sent to,
// starting from the one last used; accepting makes it the model's.
class DDownloadDialog : public QDialog
{
    Q_OBJECT
public:
    explicit DDownloadDialog(MModel *model, QWidget *parent = nullptr);

    // The address the four fields spell.
    QHostAddress address() const;
    QSpinBox *octetBox(int index) const;

public slots:
    void finalize();

private:
    MModel *m_pModel = nullptr;
    QSpinBox *m_pOctets[4] = {};
};
