#pragma once

#include "device/TTransform.h"

// A group level carried as a hex wire code: code = 2 x level + 120, 0..144.
class TGrpV : public TTransform
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

    static constexpr int MaxCode = 144;

private:
    void storeCode(qint64 code);
    qint64 code() const;

    QString m_text;
    QString m_displayText;
    qint32 m_decimals = 0;
    bool m_percent = false;
};
