#include "dialogs/DDownloadDialog.h"

#include "app/MModel.h"
#include "device/IIPAddress.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

DDownloadDialog::DDownloadDialog(MModel *model, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), m_pModel(model)
{
    setWindowTitle(tr("Send to Mobile Device"));
    setFixedSize(400, 170);

    auto *steps = new QLabel(
        tr("1) Configure wireless network for PC and mobile device.") + QLatin1Char('\n') +
            tr("2) Select Receive... from Setup menu on mobile device.") + QLatin1Char('\n') +
            tr("3) Enter IP address shown on mobile device in fields below.") + QLatin1Char('\n') +
            tr("4) Click OK."),
        this);
    auto *group = new QGroupBox(tr("Mobile Device IP Address"), this);
    auto *fields = new QHBoxLayout(group);
    fields->setContentsMargins(6, 2, 6, 2);
    IIPAddress current;
    if (model)
        current.setAddress(model->mobileAddress());
    for (int i = 0; i < 4; ++i) {
        m_pOctets[i] = new QSpinBox(group);
        m_pOctets[i]->setObjectName(QStringLiteral("m_pOctet%1").arg(i + 1));
        m_pOctets[i]->setRange(0, 255);
        m_pOctets[i]->setValue(current.octet(i));
        fields->addWidget(m_pOctets[i]);
    }
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(9, 6, 9, 6);
    layout->setSpacing(4);
    layout->addWidget(steps);
    layout->addWidget(group);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &DDownloadDialog::finalize);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    m_pOctets[0]->setFocus();
}

QHostAddress DDownloadDialog::address() const
{
    IIPAddress address;
    address.setAddress(QHostAddress(quint32(0)));
    for (int i = 0; i < 4; ++i)
        address.setOctet(i, m_pOctets[i]->value());
    return address.address();
}

QSpinBox *DDownloadDialog::octetBox(int index) const
{
    return index >= 0 && index < 4 ? m_pOctets[index] : nullptr;
}

void DDownloadDialog::finalize()
{
    if (m_pModel)
        m_pModel->setMobileAddress(address());
    accept();
}
