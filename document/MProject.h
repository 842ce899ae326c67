#pragma once

#include <QString>

class QXmlStreamAttributes;
class XmlWriter;

// The installation the panel is made for: the site name and the contacts of
// the business manager, the engineer and the customer, plus six comments.
class MProject
{
public:
    MProject();
    virtual ~MProject();

    void reset();
    // One text element of a panel file's Project block.
    bool setValue(const QString &group, const QString &key, const QString &text);
    // One element of a design file's project-information section.
    bool setGroup(const QString &element, const QXmlStreamAttributes &attributes);
    bool write(XmlWriter *writer) const;
    QString facilityName() const { return m_facilityName; }
    QString informationText() const;

    // Field access by file group and key; empty for unknown pairs.
    QString value(const QString &group, const QString &key) const;

private:
    QString *field(const QString &group, const QString &key);

    QString m_managerName;
    QString m_managerEmail;
    QString m_managerTel;
    QString m_engineerName;
    QString m_engineerEmail;
    QString m_engineerTel;
    QString m_customerName;
    QString m_customerAddress;
    QString m_customerEmail;
    QString m_customerTel;
    QString m_comments[6];
    QString m_facilityName;
};
