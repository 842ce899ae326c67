#include "common/ScriptedDsp.h"

#include "device/ITcpClient.h"

#include <QtTest>

const QByteArray AckLine("\x06\r", 2);

bool connectTo(ITcpClient &client, quint16 port)
{
    client.setAddress(QHostAddress(QHostAddress::LocalHost));
    client.setPort(port);
    client.start();
    return QTest::qWaitFor([&client] { return client.state() == ITcpClient::Running; }, 10000);
}
