#pragma once

#include <QString>

class CControl;
class TTransform;
class XmlWriter;

// Binds one panel control to one DSP parameter: which parameter, how it is
// shown and, for continuous values, its range and the limits the user may reach.
class CAttributes
{
public:
    explicit CAttributes(CControl *owner = nullptr);
    virtual ~CAttributes();

    // One text element of a control's "attributes" property: the enclosing
    // element names the kind, the element itself the key.
    bool setValue(const QString &kind, const QString &key, const QString &text);
    // Called when the control's attributes property closes in a file.
    void finishLoading();
    bool write(XmlWriter *writer) const;
    // The value transform of the control whose id equals link, searched from the
    // document root; null without owner, without link or when nothing matches.
    TTransform *linkedTransform() const;

    // Decimal places from format: the digits after its first ".".
    static int decimalsFromFormat(const QString &format);
    // "0x" (lower-case x) prefix reads hexadecimal, anything else decimal; 0 on failure.
    static quint32 parseEitherBase(const QString &text);

    CControl *owner() const { return m_pOwner; }
    void setOwner(CControl *owner) { m_pOwner = owner; }

    QString kind() const { return m_kind; }
    void setKind(const QString &kind) { m_kind = kind; }
    int index1() const { return m_index1; }
    void setIndex1(int index) { m_index1 = index; }
    int index2() const { return m_index2; }
    void setIndex2(int index) { m_index2 = index; }
    quint32 link() const { return m_link; }
    void setLink(quint32 link) { m_link = link; }
    QString set() const { return m_set; }
    void setSet(const QString &set) { m_set = set; }
    QString format() const { return m_format; }
    void setFormat(const QString &format) { m_format = format; }
    QString transform() const { return m_transform; }
    void setTransform(const QString &transform) { m_transform = transform; }
    QString units() const { return m_units; }
    void setUnits(const QString &units) { m_units = units; }
    float minimum() const { return m_minimum; }
    void setMinimum(float value) { m_minimum = value; }
    float minLimit() const { return m_minLimit; }
    void setMinLimit(float value) { m_minLimit = value; }
    float maximum() const { return m_maximum; }
    void setMaximum(float value) { m_maximum = value; }
    float maxLimit() const { return m_maxLimit; }
    void setMaxLimit(float value) { m_maxLimit = value; }
    float step() const { return m_step; }
    void setStep(float value) { m_step = value; }
    int decimals() const { return m_decimals; }
    // Also lets the owner's value transform pick up the new precision.
    void setDecimals(int decimals);
    quint32 field() const { return m_field; }
    void setField(quint32 field) { m_field = field; }
    quint32 structNumber() const { return m_struct; }
    void setStructNumber(quint32 number) { m_struct = number; }
    QString channelLabel() const { return m_channelLabel; }
    void setChannelLabel(const QString &label) { m_channelLabel = label; }
    bool enableEdit() const { return m_enableEdit; }
    void setEnableEdit(bool enable) { m_enableEdit = enable; }

private:
    void takeChannelLabel(const QString &text);

    QString m_kind;
    int m_index1 = 0;
    int m_index2 = 0;
    quint32 m_link = 0;
    QString m_set;
    QString m_format;
    QString m_transform;
    QString m_units;
    float m_minimum = 0.0f;
    float m_minLimit = -40.0f;
    float m_maximum = 0.0f;
    float m_maxLimit = 0.0f;
    float m_step = 0.0f;
    int m_decimals = 0;
    quint32 m_field = 0;
    quint32 m_struct = 0;
    QString m_channelLabel;
    bool m_enableEdit = true;
    CControl *m_pOwner = nullptr;
};
