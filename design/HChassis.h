#pragma once

#include "design/HComposite.h"

class IInterface;

// A processor or amplifier of the design. It owns the protocol its nodes
// speak through and, once a connection was asked for, the interface under it.
class HChassis : public HComposite
{
public:
    HChassis();
    ~HChassis() override;

    void readProperty(const QString &name, const QString &value) override;
    void setConnectionValue(const QString &key, const QString &value) override;
    void endConnectionValue(const QString &key) override;
    bool validate() override;
    bool writeConnection(XmlWriter *writer, QStringList &written) override;
    HNode *findByCategoryProperty(const QString &category, const QString &key,
                                  const QString &value) override;
    HNode *findByCategory(const QString &category) override;
    void collectByCategory(const QString &category, QList<HNode *> &list) override;
    void connectStatus(QObject *receiver) override;
    // A chassis speaks through its own protocol whoever its parent is, and
    // so do the nodes under it.
    void setProtocol(PProtocol *protocol) override;
    void dump() const override;
    void addRows(HTreeRows &rows) override;
    QString platformDirectory() const override;
    QString category() const override;

    IInterface *interface() const { return m_pInterface; }
    // Creates the interface when there is a protocol and no interface yet;
    // answers the interface (null when none could be made).
    IInterface *createInterface();
    // The position among the design's chassis, in design order; -1 outside one.
    int designIndex() const;
    bool startConnection();
    bool stopConnection();

    // The model name: the title without a trailing " (name)".
    QString modelName() const;

    QString ipAddress() const { return m_ipAddress; }
    void setIpAddress(const QString &value) { m_ipAddress = value; }
    QString ipPort() const { return m_ipPort; }
    void setIpPort(const QString &value) { m_ipPort = value; }
    QString monitorPort() const { return m_monitorPort; }
    void setMonitorPort(const QString &value) { m_monitorPort = value; }
    QString serialPortNumber() const { return m_serialPortNumber; }
    void setSerialPortNumber(const QString &value) { m_serialPortNumber = value; }
    QString platform() const { return m_platform; }
    void setPlatform(const QString &value) { m_platform = value; }

private:
    IInterface *m_pInterface = nullptr;
    QString m_ipAddress;
    QString m_ipPort;
    QString m_monitorPort;
    QString m_serialPortNumber = QStringLiteral("10055");
    QString m_platform = QStringLiteral("Torva");
};
