#pragma once

#include "device/TTransform.h"

// A state sent as one byte code taken from the attributes' set list of hex numbers.
class THexL : public TTransform
{
public:
    THexL();

    void configure() override;
    void fromByte(quint8 value) override;
    int toBytes(char *buffer, int capacity) const override;
    QString toText() const override;
    quint8 toByte() const override;
    int size() const override;
    QString name() const override;

    static constexpr int TableSize = 16;

private:
    quint8 m_index = 0;
    quint8 m_table[TableSize];
};
