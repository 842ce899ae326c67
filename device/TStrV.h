#pragma once

#include "device/TTransform.h"

// A number carried as decimal text, such as a level in dB.
class TStrV : public TTransform
{
public:
    void configure() override;
    void fromBytes(const QByteArray &bytes) override;
    void fromText(const QString &text) override;
    void fromByte(quint8 value) override;
    void fromFloat(float value) override;
    void fromInt(qint32 value) override;
    int toBytes(char *buffer, int capacity) const override;
    QString toText() const override;
    quint8 toByte() const override;
    float toFloat() const override;
    qint32 toInt() const override;
    void setText(const QString &text) override;
    QString displayText() const override;
    void setDisplay(float value) override;
    int size() const override;
    QString name() const override;

private:
    QString m_text;
    QString m_displayText;
    qint32 m_decimals = 0;
    bool m_percent = false;
};
