#include "design/HChassis.h"

#include "device/IInterface.h"
#include "device/IInterfaceFactory.h"
#include "device/ILoopbackRedirect.h"
#include "device/PProtocol.h"
#include "device/PProtocolFactory.h"
#include "design/HTemplateCache.h"
#include "design/HTreeRows.h"
#include "document/io/XmlWriter.h"

#include <QDebug>
#include <QHostAddress>
#include <QStandardItem>
#include <QStandardItemModel>

HChassis::HChassis()
{
    setFlag(Chassis, true);
    m_pProtocol = PProtocolFactory::create(m_platform);
}

HChassis::~HChassis()
{
    // The interface refers to the protocol, so it goes first.
    delete m_pInterface;
    m_pInterface = nullptr;
    delete m_pProtocol;
    m_pProtocol = nullptr;
    // The children still hold the protocol's address; they are deleted next
    // by the composite and never use it while being destroyed.
}

void HChassis::readProperty(const QString &name, const QString &value)
{
    HComposite::readProperty(name, value);
    if (name == QLatin1String("ipAddress")) {
        m_ipAddress = value;
    } else if (name == QLatin1String("ipPort")) {
        m_ipPort = value;
    } else if (name == QLatin1String("monitorPort")) {
        m_monitorPort = value;
    } else if (name == QLatin1String("serialPortNumber")) {
        m_serialPortNumber = value;
    } else if (name == QLatin1String("deviceType")) {
        if (value.startsWith(QLatin1String("Torva")))
            m_platform = QStringLiteral("Torva");
        else if (value.startsWith(QLatin1String("Rallen")))
            m_platform = QStringLiteral("Rallen");
        else
            m_platform.clear();
    } else if (name == QLatin1String("isMainTorva")) {
        if (value == QLatin1String("True"))
            setFlag(MainChassis, true);
    }
}

void HChassis::setConnectionValue(const QString &key, const QString &value)
{
    if (key == QLatin1String("title"))
        m_title = value;
    else if (key == QLatin1String("ipaddress"))
        m_ipAddress = value;
    else if (key == QLatin1String("ipport"))
        m_ipPort = value;
    else if (key == QLatin1String("monitorport"))
        m_monitorPort = value;
    else if (key == QLatin1String("serialport"))
        m_serialPortNumber = value;
    else if (key == QLatin1String("platform"))
        m_platform = value;
}

void HChassis::endConnectionValue(const QString &)
{
    // Interfaces are made on demand when a connection starts; every chassis
    // has its protocol from construction, so nothing is to be done here.
}

QString HChassis::modelName() const
{
    const int bracket = m_title.lastIndexOf(QLatin1Char('('));
    if (bracket > 0)
        return m_title.left(bracket - 1);
    return m_title;
}

bool HChassis::validate()
{
    // A chassis keeps its own protocol: it is not taken over from the parent.
    if (m_platform.isEmpty())
        return false;
    const QString name = modelName();
    return !name.isEmpty() && HTemplateCache::lines(QStringLiteral(":/data/") + m_platform +
                                                    QStringLiteral("/Chassis.dict"))
                                  .contains(name);
}

bool HChassis::writeConnection(XmlWriter *writer, QStringList &written)
{
    if (!writer || !hasFlag(ConnectionInUse) || written.contains(m_ipAddress))
        return false;
    written.append(m_ipAddress);
    writer->writeStartElement(QStringLiteral("Connection"), m_label);
    writer->writeStartElement(QStringLiteral("Property"), QStringLiteral("attributes"));
    writer->writeTextElement(QStringLiteral("title"), m_title);
    writer->writeTextElement(QStringLiteral("ipaddress"), m_ipAddress);
    writer->writeTextElement(QStringLiteral("ipport"), m_ipPort);
    writer->writeTextElement(QStringLiteral("monitorport"), m_monitorPort);
    writer->writeTextElement(QStringLiteral("serialport"), m_serialPortNumber);
    writer->writeTextElement(QStringLiteral("platform"), m_platform);
    writer->writeEndElement(QStringLiteral("Property"));
    writer->writeEndElement(QStringLiteral("Connection"));
    return true;
}

HNode *HChassis::findByCategoryProperty(const QString &category, const QString &key,
                                        const QString &value)
{
    if (HNode *found = HNode::findByCategoryProperty(category, key, value))
        return found;
    return HComposite::findByCategoryProperty(category, key, value);
}

HNode *HChassis::findByCategory(const QString &category)
{
    return HNode::findByCategory(category);
}

void HChassis::collectByCategory(const QString &category, QList<HNode *> &list)
{
    if (this->category() == category) {
        list.append(this);
        return;
    }
    for (HNode *child : qAsConst(m_children))
        child->collectByCategory(category, list);
}

void HChassis::setProtocol(PProtocol *)
{
    // Moved under another root (a design imported beside the panel's), the
    // chassis must not hand its nodes the root's null protocol.
    HComposite::setProtocol(m_pProtocol);
}

void HChassis::connectStatus(QObject *receiver)
{
    if (!m_pInterface || !receiver)
        return;
    QObject::connect(m_pInterface, SIGNAL(interfaceStatus(uint)), receiver,
                     SLOT(interfaceStatusChanged(uint)), Qt::UniqueConnection);
}

void HChassis::dump() const
{
    qDebug().noquote() << "HChassis" << m_label << "title:" << m_title << "platform:" << m_platform
                       << "address:" << m_ipAddress << "port:" << m_serialPortNumber
                       << "flags:" << m_flags << "children:" << m_children.count();
    for (HNode *child : qAsConst(m_children))
        child->dump();
}

void HChassis::addRows(HTreeRows &rows)
{
    setFlag(Shown, true);
    QStandardItem *row = rows.appendRow(nullptr, m_label, HTreeRow::GroupFlags, QString(), this);
    rows.appendRow(row, tr("Analog I/O"), HTreeRow::GroupFlags, QString(), this);
    rows.appendRow(row, tr("Digital I/O"), HTreeRow::GroupFlags, QString(), this);
    if (m_platform == QLatin1String("Torva"))
        rows.appendRow(row, tr("Blocks"), HTreeRow::GroupFlags, QString(), this);
    HComposite::addRows(rows);
}

QString HChassis::platformDirectory() const
{
    return m_platform;
}

QString HChassis::category() const
{
    return QStringLiteral("Chassis");
}

IInterface *HChassis::createInterface()
{
    if (!m_pProtocol || m_pInterface)
        return m_pInterface;
    m_pInterface = IInterfaceFactory::create(m_platform);
    if (!m_pInterface)
        return nullptr;
    m_pInterface->setProtocol(m_pProtocol);
    if (ILoopbackRedirect::isEnabled()) {
        // The emulator stands in for the devices: only loopback is reached.
        const ILoopbackRedirect::Target target = ILoopbackRedirect::target(
            m_ipAddress, m_serialPortNumber, designIndex(), ILoopbackRedirect::basePort());
        m_pInterface->setAddress(target.valid ? target.address : QHostAddress());
        m_pInterface->setPort(target.valid ? target.port : 0);
    } else {
        m_pInterface->setAddress(QHostAddress(m_ipAddress));
        bool ok = false;
        const uint port = m_serialPortNumber.toUInt(&ok, 10);
        m_pInterface->setPort(ok ? port : 0);
    }
    m_pInterface->setOwner(this);
    m_pProtocol->setInterface(m_pInterface);
    return m_pInterface;
}

int HChassis::designIndex() const
{
    const auto *parent = dynamic_cast<const HComposite *>(m_pParent);
    if (!parent)
        return -1;
    int index = 0;
    for (HNode *sibling : parent->children()) {
        if (sibling == this)
            return index;
        if (sibling->hasFlag(Chassis))
            ++index;
    }
    return -1;
}

bool HChassis::startConnection()
{
    IInterface *transport = createInterface();
    return transport ? transport->start() : false;
}

bool HChassis::stopConnection()
{
    IInterface *transport = createInterface();
    return transport ? transport->stop() : false;
}
