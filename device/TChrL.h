#pragma once

#include "device/TTransform.h"

// A state sent as one character of the attributes' set list, such as mute "F,O,T".
class TChrL : public TTransform
{
public:
    TChrL();

    void configure() override;
    void fromText(const QString &text) override;
    void fromByte(quint8 value) override;
    QString toText() const override;
    quint8 toByte() const override;
    void setText(const QString &text) override;
    int size() const override;
    QString name() const override;

    static constexpr int TableSize = 16;

private:
    quint8 m_index = 0;
    quint8 m_table[TableSize];
};
