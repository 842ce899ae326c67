#include "document/MProject.h"

#include "document/io/XmlWriter.h"

#include <QCoreApplication>
#include <QXmlStreamAttributes>

namespace {
const QString Facility = QStringLiteral("Facility");
// Spelled so in every file this program reads and writes.
const QString Manager = QStringLiteral("BusinessManeger");
const QString Engineer = QStringLiteral("Engineer");
const QString Customer = QStringLiteral("Customer");
const QString Comments = QStringLiteral("Comments");

QStringList keysOf(const QString &group)
{
    if (group == Facility)
        return {QStringLiteral("name")};
    if (group == Manager || group == Engineer)
        return {QStringLiteral("name"), QStringLiteral("email"), QStringLiteral("tel")};
    if (group == Customer)
        return {QStringLiteral("name"), QStringLiteral("address"), QStringLiteral("email"),
                QStringLiteral("tel")};
    if (group == Comments) {
        QStringList keys;
        for (int i = 1; i <= 6; ++i)
            keys << QStringLiteral("comment%1").arg(i);
        return keys;
    }
    return {};
}
} // namespace

MProject::MProject()
{
    reset();
}

MProject::~MProject() = default;

void MProject::reset()
{
    m_managerName.clear();
    m_managerEmail.clear();
    m_managerTel.clear();
    m_engineerName.clear();
    m_engineerEmail.clear();
    m_engineerTel.clear();
    m_customerName.clear();
    m_customerAddress.clear();
    m_customerEmail.clear();
    m_customerTel.clear();
    for (QString &comment : m_comments)
        comment.clear();
    m_facilityName = QStringLiteral("SITE NAME");
}

QString *MProject::field(const QString &group, const QString &key)
{
    if (group == Facility) {
        if (key == QLatin1String("name"))
            return &m_facilityName;
    } else if (group == Manager || group == Engineer) {
        const bool manager = group == Manager;
        if (key == QLatin1String("name"))
            return manager ? &m_managerName : &m_engineerName;
        if (key == QLatin1String("email"))
            return manager ? &m_managerEmail : &m_engineerEmail;
        if (key == QLatin1String("tel"))
            return manager ? &m_managerTel : &m_engineerTel;
    } else if (group == Customer) {
        if (key == QLatin1String("name"))
            return &m_customerName;
        if (key == QLatin1String("address"))
            return &m_customerAddress;
        if (key == QLatin1String("email"))
            return &m_customerEmail;
        if (key == QLatin1String("tel"))
            return &m_customerTel;
    } else if (group == Comments) {
        for (int i = 0; i < 6; ++i) {
            if (key == QStringLiteral("comment%1").arg(i + 1))
                return &m_comments[i];
        }
    }
    return nullptr;
}

QString MProject::value(const QString &group, const QString &key) const
{
    QString *target = const_cast<MProject *>(this)->field(group, key);
    return target ? *target : QString();
}

bool MProject::setValue(const QString &group, const QString &key, const QString &text)
{
    QString *target = field(group, key);
    if (!target)
        return false;
    *target = text;
    return true;
}

bool MProject::setGroup(const QString &element, const QXmlStreamAttributes &attributes)
{
    // Any other element of the section is accepted and changes nothing.
    const QStringList keys = keysOf(element);
    for (const QString &key : keys)
        setValue(element, key, attributes.value(key).toString());
    return true;
}

bool MProject::write(XmlWriter *writer) const
{
    if (!writer)
        return false;
    writer->writeStartElement(QStringLiteral("Project"));
    writer->writeStartElement(QStringLiteral("Property"), QStringLiteral("attributes"));
    for (const QString &group : {Facility, Manager, Engineer, Customer, Comments}) {
        writer->writeStartElement(group);
        for (const QString &key : keysOf(group))
            writer->writeTextElement(key, value(group, key));
        writer->writeEndElement(group);
    }
    writer->writeEndElement(QStringLiteral("Property"));
    writer->writeEndElement(QStringLiteral("Project"));
    return true;
}

QString MProject::informationText() const
{
    auto tr = [](const char *text) { return QCoreApplication::translate("MProject", text); };
    QString text;
    text += tr("Facility") + QLatin1Char('\n') + m_facilityName + QStringLiteral("\n\n");
    text += tr("Business Manager") + QLatin1Char('\n') + m_managerName + QLatin1Char('\n') +
            m_managerEmail + QLatin1Char('\n') + m_managerTel + QStringLiteral("\n\n");
    text += tr("Engineer") + QLatin1Char('\n') + m_engineerName + QLatin1Char('\n') +
            m_engineerEmail + QLatin1Char('\n') + m_engineerTel + QStringLiteral("\n\n");
    text += tr("Customer") + QLatin1Char('\n') + m_customerName + QLatin1Char('\n') +
            m_customerAddress + QLatin1Char('\n') + m_customerEmail + QLatin1Char('\n') +
            m_customerTel + QStringLiteral("\n\n");
    return text;
}
