#pragma once

#include <QString>

class QStandardItem;

// One controllable parameter of a design node, read from the node's module
// template; its text names the template control that a drop of it creates.
class CParameter
{
public:
    CParameter();
    CParameter(const QString &text, const QString &type);
    virtual ~CParameter();
    CParameter(const CParameter &) = delete;
    CParameter &operator=(const CParameter &) = delete;

    QString text() const { return m_text; }
    void setText(const QString &text) { m_text = text; }
    QString type() const { return m_type; }
    void setType(const QString &type) { m_type = type; }
    QStandardItem *item() const { return m_pItem; }
    void setItem(QStandardItem *item) { m_pItem = item; }

    // Resource path of the tree icon for this kind of control; empty for kinds
    // without an icon.
    QString iconPath() const;
    static QString iconPathForType(const QString &type);

private:
    QString m_text;
    QString m_type;
    QStandardItem *m_pItem = nullptr;
};
