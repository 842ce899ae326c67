#pragma once

#include "device/TTransform.h"

// Free text, such as the number the dialer sends.
class TText : public TTransform
{
public:
    void fromBytes(const QByteArray &bytes) override;
    void fromText(const QString &text) override;
    int toBytes(char *buffer, int capacity) const override;
    QString toText() const override;
    void setText(const QString &text) override;
    int size() const override;
    QString name() const override;

private:
    QString m_text;
};
