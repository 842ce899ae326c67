#pragma once

#include "design/HAudioIO.h"

// The processor-link card: eight channels with labels of their own.
class HTorvaLink : public HAudioIO
{
public:
    static constexpr int ChannelCount = 8;

    HTorvaLink();
    ~HTorvaLink() override;

    void readProperty(const QString &name, const QString &value) override;
    QString channelLabel(int channel) const override;
    QString templatePath(const QString &parameterName) override;
    void dump() const override;

private:
    QString m_channelLabels[ChannelCount];
};
