#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class CAttributes;
class HNode;

// Converts between a control's value and the text the DSP protocol carries.
class TTransform
{
public:
    TTransform();
    virtual ~TTransform();
    TTransform(const TTransform &) = delete;
    TTransform &operator=(const TTransform &) = delete;

    virtual void configure();
    virtual void fromBytes(const QByteArray &bytes);
    virtual void fromText(const QString &text);
    virtual void fromByte(quint8 value);
    virtual void fromFloat(float value);
    virtual void fromInt(qint32 value);
    // Copies the raw value into buffer (at most capacity bytes) and answers its size.
    virtual int toBytes(char *buffer, int capacity) const;
    virtual QString toText() const;
    virtual quint8 toByte() const;
    virtual float toFloat() const;
    virtual qint32 toInt() const;
    virtual void setText(const QString &text);
    virtual QString displayText() const;
    virtual void setDisplay(float value);
    virtual int size() const;
    virtual QString name() const;

    // Mode 0 looks up the transform named by the attributes' link; mode 1 hands
    // it the end of this transform's owner chain.
    void link(int mode);

    CAttributes *attributes() const { return m_pAttributes; }
    void setAttributes(CAttributes *attributes) { m_pAttributes = attributes; }
    HNode *node() const { return m_pNode; }
    void setNode(HNode *node) { m_pNode = node; }
    TTransform *linked() const { return m_pLinked; }
    // Binds a linked transform directly, without the lookup of link(0).
    void setLinked(TTransform *linked) { m_pLinked = linked; }
    TTransform *linkOwner() const { return m_pLinkOwner; }
    void setLinkOwner(TTransform *owner) { m_pLinkOwner = owner; }

protected:
    // The entries of a set list such as "F,O,T": split at ",", up to the first
    // empty entry and at most maxCount of them.
    static QStringList setEntries(const QString &set, int maxCount);

private:
    CAttributes *m_pAttributes = nullptr;
    HNode *m_pNode = nullptr;
    TTransform *m_pLinked = nullptr;
    TTransform *m_pLinkOwner = nullptr;
};
