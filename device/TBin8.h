#pragma once

#include "device/TTransform.h"

// A one-byte value such as a list index or a parameter-set number.
class TBin8 : public TTransform
{
public:
    void fromBytes(const QByteArray &bytes) override;
    void fromText(const QString &text) override;
    void fromByte(quint8 value) override;
    void fromInt(qint32 value) override;
    int toBytes(char *buffer, int capacity) const override;
    QString toText() const override;
    quint8 toByte() const override;
    qint32 toInt() const override;
    void setText(const QString &text) override;
    int size() const override;
    QString name() const override;

private:
    quint8 m_value = 0;
};
