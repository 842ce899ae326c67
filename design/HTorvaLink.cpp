#include "design/HTorvaLink.h"

#include <QDebug>

HTorvaLink::HTorvaLink() : HAudioIO(QString(), Link)
{
    m_category = tr("Digital I/O");
}

HTorvaLink::~HTorvaLink() = default;

void HTorvaLink::readProperty(const QString &name, const QString &value)
{
    const QString label = QStringLiteral("label");
    if (!name.contains(label) || name.length() != label.length() + 1) {
        HAudioIO::readProperty(name, value);
        return;
    }
    // "label1" to "label8" name the channels 0 to 7.
    QString digit = name;
    digit.remove(digit.indexOf(label), label.length());
    bool ok = false;
    const int channel = digit.toInt(&ok, 10) - 1;
    if (!ok || channel < 0 || channel >= ChannelCount)
        return;
    if (value.contains(QLatin1String("Ch ")) && value.length() == 4)
        m_channelLabels[channel] = QStringLiteral("TorvaLink-") + value;
    else
        m_channelLabels[channel] = value;
}

QString HTorvaLink::channelLabel(int channel) const
{
    if (channel < 0 || channel >= ChannelCount)
        return QString();
    return m_channelLabels[channel];
}

QString HTorvaLink::templatePath(const QString &)
{
    return QStringLiteral(":/data/") + platformDirectory() + QStringLiteral("/TorvaLink_0.xml");
}

void HTorvaLink::dump() const
{
    HAudioIO::dump();
    QStringList labels;
    for (const QString &label : m_channelLabels)
        labels.append(label);
    qDebug().noquote() << "  channels" << labels.join(QLatin1Char('|'));
}
