#pragma once

#include "device/TTransform.h"

// A state sent as one whole entry of the attributes' set list.
class TStrL : public TTransform
{
public:
    void configure() override;
    void fromText(const QString &text) override;
    void fromByte(quint8 value) override;
    QString toText() const override;
    quint8 toByte() const override;
    int size() const override;
    QString name() const override;

    static constexpr int TableSize = 8;

private:
    quint8 m_index = 0;
    int m_count = 0;
    QString m_table[TableSize];
};
