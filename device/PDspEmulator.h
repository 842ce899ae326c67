#pragma once

#include "device/PDspChassis.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class CDocument;
class HRoot;

// Stands in for the DSP chassis of a design on this machine: one emulated
// chassis per chassis of the design, each on a loopback address by the rule
// of ILoopbackRedirect, so the program can go online without the hardware.
class PDspEmulator : public QObject
{
    Q_OBJECT
public:
    explicit PDspEmulator(QObject *parent = nullptr);
    ~PDspEmulator() override;

    // Reads a design file (.zdp), or a panel file or archive whose design
    // comes with it, and learns the parameters of every chassis.
    bool load(const QString &path);
    // Listens for every chassis: a loopback chassis at its own address and
    // port, every other one at 127.0.0.1, basePort + its index (any free
    // port with basePort 0). Answers false when a chassis could not listen;
    // errors() says which and why, and the others are served all the same.
    bool serve(quint16 basePort);
    void stop();

    QString errorString() const { return m_errorString; }
    QStringList errors() const { return m_errors; }
    // Every chassis of the design, in design order; those that listen have a port.
    const QList<PDspChassis *> &chassis() const { return m_chassis; }
    PDspChassis *chassis(const QString &label) const;
    HRoot *design() const;

    // The misbehaviour of every chassis; changes apply to the next answer.
    PDspChassis::Behaviour &behaviour() { return m_behaviour; }

signals:
    void messageReceived(const QString &chassis, const QByteArray &line);

private:
    void learn();

    std::unique_ptr<CDocument> m_pDocument;
    QList<PDspChassis *> m_chassis;
    PDspChassis::Behaviour m_behaviour;
    QString m_errorString;
    QStringList m_errors;
};
