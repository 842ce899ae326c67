#include "common/EditorTestSupport.h"
#include "common/RecordingMessageHandler.h"
#include "common/ScriptedDsp.h"
#include "common/TestDir.h"

#include "app/MMobileTransfer.h"
#include "app/MModel.h"
#include "design/HRoot.h"
#include "device/ITcpClient.h"
#include "device/PFileProtocol.h"
#include "device/PTransferProgress.h"
#include "dialogs/DDownloadDialog.h"
#include "document/CCanvas.h"
#include "document/CDocument.h"
#include "document/USettings.h"
#include "views/VModeManager.h"
#include "views/VQmlFrame.h"

#include <QApplication>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickItem>
#include <QSpinBox>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtEndian>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

const int Patience = 15000;
const QString Title = QStringLiteral("Receive Control Panel...");
const QByteArray Earlier("earlier download");

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

quint16 closedPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    return port;
}

// An archive laid out by hand, member names as given.
QByteArray archiveOf(const QList<QPair<QString, QByteArray>> &members)
{
    const auto be32 = [](quint32 value) {
        char bytes[4];
        qToBigEndian<quint32>(value, bytes);
        return QByteArray(bytes, 4);
    };
    quint32 headerSize = 8;
    for (const auto &member : members)
        headerSize += 12 + 2 * quint32(member.first.length());
    QByteArray header = QByteArray::fromHex("10000000") + be32(quint32(members.count()));
    QByteArray data;
    for (const auto &member : members) {
        header += be32(quint32(member.first.length()));
        for (const QChar c : member.first)
            header += char(c.unicode() & 0xFF) + QByteArray(1, char(c.unicode() >> 8));
        const QByteArray packed = qCompress(member.second);
        header += be32(headerSize + quint32(data.size())) + be32(quint32(packed.size()));
        data += packed;
    }
    return header + data;
}

// Steps a send through, and stops it at the given step (0: never).
class RecordingProgress : public PTransferProgress
{
public:
    void begin(qint64 total) override { steps << -total; }
    bool advance(qint64 done) override
    {
        steps << done;
        return stopAt == 0 || steps.count() - 1 < stopAt;
    }
    bool keepAlive() override { return true; }
    void end() override { ended = true; }
    QList<qint64> steps;
    int stopAt = 0;
    bool ended = false;
};

// Runs f on the next modal dialog of type T once it is up.
template <typename T> void onModal(QObject *context, std::function<void(T *)> f)
{
    auto *timer = new QTimer(context);
    QObject::connect(timer, &QTimer::timeout, context, [timer, f]() {
        if (T *dialog = qobject_cast<T *>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            f(dialog);
        }
    });
    timer->start(10);
}

} // namespace

// Sending a saved panel to a mobile device and receiving one, against peers
// on 127.0.0.1; a received file replaces the download only when it is a
// complete, readable panel archive.
class TestTransfer : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QQmlEngine> m_pEngine;
    std::unique_ptr<QObject> m_pInterface;
    std::unique_ptr<QQuickItem> m_pCanvasItem;
    std::unique_ptr<CCanvas> m_pCanvas;
    std::unique_ptr<MModel> m_pModel;
    std::unique_ptr<TestDir> m_pDir;
    QByteArray m_panelArchive;

    QString downloadPath() const
    {
        return m_pDir->filePath(QStringLiteral("designs/download.cpn"));
    }

    // A saved panel with no design, so nothing it opens goes on the network.
    QString savePanel(const QString &name)
    {
        const QString path = m_pDir->filePath(name);
        return m_pModel->save(path) ? m_pModel->documentPath() : QString();
    }

private slots:
    void initTestCase()
    {
        VQmlFrame::registerTypes();
        // The panel archive a mobile device would send back.
        TestDir dir;
        CCanvas canvas;
        CDocument document;
        document.setCanvas(&canvas);
        QVERIFY(
            document.newFromTemplate(QStringLiteral(ZRB_SOURCE_DIR "/templates/Blank Panel.tpl")));
        QVERIFY2(document.save(dir.filePath(QStringLiteral("sent.cpz"))),
                 qPrintable(document.lastError()));
        m_panelArchive = readFile(dir.filePath(QStringLiteral("sent.cpz")));
        QVERIFY(m_panelArchive.size() > 100);
    }

    // A model with a canvas in a QML engine, which shows the receive
    // dialog; the download goes to the test's own folder.
    void init()
    {
        m_pDir = std::make_unique<TestDir>();
        QVERIFY(m_pDir->isValid());
        USettings().setValue(QStringLiteral("Path/Designs"),
                             m_pDir->filePath(QStringLiteral("designs/")));
        m_pEngine = std::make_unique<QQmlEngine>();
        QQmlComponent component(m_pEngine.get(), QUrl(QStringLiteral("qrc:/qml/QmlInterface.qml")));
        m_pInterface.reset(component.create());
        QVERIFY2(m_pInterface, qPrintable(component.errorString()));
        m_pEngine->rootContext()->setContextProperty(QStringLiteral("intrf"), m_pInterface.get());
        m_pCanvasItem = std::make_unique<QQuickItem>();
        VModeManager::instance()->setCanvas(m_pCanvasItem.get());
        m_pCanvas = std::make_unique<CCanvas>();
        m_pModel = std::make_unique<MModel>();
        m_pModel->setCanvas(m_pCanvas.get());
        m_pModel->initialize();
        m_pModel->rebindFactory(m_pEngine->rootContext());
        m_pModel->setMobileAddress(QHostAddress(QStringLiteral("127.0.0.1")));
        m_pModel->transfer()->setListenAddress(QHostAddress(QHostAddress::LocalHost));
        m_pModel->transfer()->setPort(0);
        QVERIFY(m_pModel->newDocument(QStringLiteral(ZRB_SOURCE_DIR "/templates/Blank Panel.tpl")));
    }

    void cleanup()
    {
        // Messages closed on the canvas go before the bridge they read.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        m_pModel.reset();
        m_pCanvas.reset();
        VModeManager::instance()->setCanvas(nullptr);
        m_pCanvasItem.reset();
        m_pInterface.reset();
        m_pEngine.reset();
        m_pDir.reset();
    }

    // 10000 bytes leave in chunks of 4096, 4096 and 1808; Abort stops after
    // the chunk under way.
    void sendFileInChunks_data()
    {
        QTest::addColumn<int>("stopAt");
        QTest::addColumn<QList<qint64>>("steps");
        QTest::addColumn<int>("received");
        QTest::newRow("whole file") << 0 << QList<qint64>{-10000, 4096, 8192, 10000} << 10000;
        QTest::newRow("aborted at the second chunk")
            << 2 << QList<qint64>{-10000, 4096, 8192} << 4096;
    }

    void sendFileInChunks()
    {
        QFETCH(int, stopAt);
        QFETCH(QList<qint64>, steps);
        QFETCH(int, received);
        QByteArray payload;
        for (int i = 0; i < 10000; ++i)
            payload += char(i % 253);
        const QString path = m_pDir->filePath(QStringLiteral("panel.cpz"));
        QVERIFY(writeFile(path, payload));
        ScriptedDsp receiver;
        receiver.silent = true;
        QVERIFY(receiver.listen());
        ITcpClient client;
        QVERIFY(connectTo(client, receiver.port()));
        PFileProtocol protocol;
        protocol.setInterface(&client);
        RecordingProgress progress;
        progress.stopAt = stopAt;
        protocol.setProgress(&progress);
        QCOMPARE(protocol.sendFile(path), stopAt == 0);
        QCOMPARE(protocol.wasAborted(), stopAt != 0);
        QCOMPARE(progress.steps, steps);
        QVERIFY(progress.ended);
        QTRY_COMPARE_WITH_TIMEOUT(receiver.read(receiver.received).size(), received, Patience);
        QVERIFY(receiver.read(receiver.received) == payload.left(received));
    }

    // Send to Mobile Device: refusals, the address dialog, and the bytes that
    // reach a receiver on the address the dialog gave.
    void sendFlow_data()
    {
        QTest::addColumn<bool>("saved");
        QTest::addColumn<bool>("modified");
        QTest::addColumn<bool>("accept");
        QTest::addColumn<bool>("listening");
        QTest::addColumn<QString>("message"); // "title|text"; empty: none

        QTest::newRow("never saved") << false << false << true << true
                                     << "Warning|Please Save before Sending to Mobile Device";
        QTest::newRow("unsaved changes") << true << true << true << true
                                         << "Warning|Please Save before Sending to Mobile Device";
        QTest::newRow("address dialog cancelled") << true << false << false << true << "";
        QTest::newRow("nobody listening")
            << true << false << true << false << "Connection|Could not connect to: 127.0.0.1";
        QTest::newRow("sent") << true << false << true << true << "";
    }

    void sendFlow()
    {
        QFETCH(bool, saved);
        QFETCH(bool, modified);
        QFETCH(bool, accept);
        QFETCH(bool, listening);
        QFETCH(QString, message);
        RecordingMessageHandler messages;
        const QString path = saved ? savePanel(QStringLiteral("panel.cpz")) : QString();
        QVERIFY(!saved || !path.isEmpty());
        if (!saved)
            m_pModel->document()->setPath(QString());
        m_pModel->setModified(modified);
        ScriptedDsp receiver;
        receiver.silent = true;
        QVERIFY(receiver.listen());
        m_pModel->transfer()->setPort(listening ? receiver.port() : closedPort());

        QList<int> shown;
        onModal<DDownloadDialog>(this, [&](DDownloadDialog *dialog) {
            for (int i = 0; i < 4; ++i)
                shown << dialog->octetBox(i)->value();
            if (accept)
                dialog->finalize();
            else
                dialog->reject();
        });
        const bool sent = m_pModel->sendToMobile();
        QCOMPARE(sent, message.isEmpty() && accept);
        const QStringList expected = message.isEmpty() ? QStringList() : message.split('|');
        QStringList seen;
        for (const auto &entry : messages.messages())
            seen << entry.title << entry.text;
        QCOMPARE(seen, expected);
        if (!saved || modified)
            return;
        QCOMPARE(shown, (QList<int>{127, 0, 0, 1}));
        QCOMPARE(m_pModel->mobileAddress(), QHostAddress(QStringLiteral("127.0.0.1")));
        if (sent) {
            const QByteArray bytes = readFile(path);
            QTRY_COMPARE_WITH_TIMEOUT(receiver.read(receiver.received).size(), bytes.size(),
                                      Patience);
            QVERIFY(receiver.read(receiver.received) == bytes);
        }
        QCOMPARE(receiver.read(receiver.connections), sent ? 1 : 0);
    }

    // What arrives replaces the download only as a complete, readable panel
    // archive within the limits; anything else is refused with the reason
    // and the earlier download stays.
    void receiveChecksWhatArrives_data()
    {
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<bool>("closes");     // false: the sender stalls
        QTest::addColumn<QString>("refusal"); // part of the warning; empty: none
        QTest::addColumn<bool>("stored");

        const QByteArray archive = m_panelArchive;
        QTest::newRow("panel archive") << archive << true << "" << true;
        QTest::newRow("nothing") << QByteArray() << true << "" << false;
        QTest::newRow("larger than allowed")
            << archive + QByteArray(2000, 'x') << true << "larger than" << false;
        QTest::newRow("truncated archive")
            << archive.left(archive.size() / 2) << true << "damaged" << false;
        QTest::newRow("not an archive") << QByteArray("<?xml version=\"1.0\"?><ZDX/>") << true
                                        << "not a control panel archive" << false;
        QTest::newRow("archive escaping its folder")
            << archiveOf({{QStringLiteral("/panel.cpf"), "<ZDX/>"},
                          {QStringLiteral("/../escape.txt"), "evil"}})
            << true << "is not allowed" << false;
        QTest::newRow("archive without a panel")
            << archiveOf({{QStringLiteral("/image/pic.png"), "png"}}) << true << "holds no panel"
            << false;
        QTest::newRow("sender stalls") << archive.left(100) << false << "Nothing arrived" << false;
    }

    void receiveChecksWhatArrives()
    {
        QFETCH(QByteArray, payload);
        QFETCH(bool, closes);
        QFETCH(QString, refusal);
        QFETCH(bool, stored);
        RecordingMessageHandler messages;
        QVERIFY(QDir().mkpath(m_pDir->filePath(QStringLiteral("designs"))));
        QVERIFY(writeFile(downloadPath(), Earlier));
        MMobileTransfer *transfer = m_pModel->transfer();
        transfer->setMaxReceiveSize(m_panelArchive.size() + 1000);
        transfer->setIdleTimeout(300);

        QTcpSocket sender;
        QTcpSocket second;
        QObject::connect(transfer, &MMobileTransfer::listening, &sender, [&](quint16 port) {
            if (payload.isEmpty()) {
                // The user cancels before anything came.
                QTimer::singleShot(0, &sender, [] { VModeManager::instance()->cancel(); });
                return;
            }
            QObject::connect(&sender, &QTcpSocket::connected, &sender, [&, port]() {
                sender.write(payload);
                if (closes)
                    sender.disconnectFromHost();
                else // one sender at a time
                    second.connectToHost(QHostAddress::LocalHost, port);
            });
            sender.connectToHost(QHostAddress::LocalHost, port);
        });
        QSignalSpy refused(&second, &QTcpSocket::errorOccurred);
        bool received = false;
        QCOMPARE(transfer->receive(&received), refusal.isEmpty());
        QCOMPARE(received, stored);
        QCOMPARE(readFile(downloadPath()), stored ? payload : Earlier);
        QCOMPARE(QDir(m_pDir->filePath(QStringLiteral("designs"))).entryList(QDir::Files),
                 QStringList{QStringLiteral("download.cpn")});
        if (refusal.isEmpty()) {
            QCOMPARE(messages.count(), 0);
        } else {
            QCOMPARE(messages.count(), 1);
            QCOMPARE(messages.last().title, Title);
            QVERIFY2(messages.last().text.contains(refusal), qPrintable(messages.last().text));
        }
        if (!closes) {
            QCOMPARE(refused.count(), 1);
            QCOMPARE(refused.first().first().value<QAbstractSocket::SocketError>(),
                     QAbstractSocket::ConnectionRefusedError);
        }
    }

    // Receive from the canvas menu: the stored panel is opened and the
    // program is online with it; with nothing received and no earlier
    // download the open panel stays.
    void receivedPanelIsOpened()
    {
        RecordingMessageHandler messages;
        MMobileTransfer *transfer = m_pModel->transfer();
        QTcpSocket sender;
        QObject::connect(transfer, &MMobileTransfer::listening, &sender, [&](quint16) {
            QTimer::singleShot(0, &sender, [] { VModeManager::instance()->cancel(); });
        });
        const QString before = m_pModel->documentPath();
        QVERIFY(!m_pModel->receivePanel());
        QCOMPARE(messages.count(), 1);
        QVERIFY(messages.last().text.startsWith(QLatin1String("Nothing was received")));
        QCOMPARE(m_pModel->documentPath(), before);
        QVERIFY(!m_pModel->isOnline());

        QObject::disconnect(transfer, nullptr, &sender, nullptr);
        QObject::connect(transfer, &MMobileTransfer::listening, &sender, [&](quint16 port) {
            QObject::connect(&sender, &QTcpSocket::connected, &sender, [&]() {
                sender.write(m_panelArchive);
                sender.disconnectFromHost();
            });
            sender.connectToHost(QHostAddress::LocalHost, port);
        });
        m_pModel->setEditMode(true);
        QVERIFY(m_pModel->receivePanel());
        QCOMPARE(messages.count(), 1);
        QCOMPARE(m_pModel->documentPath(), downloadPath());
        QVERIFY(m_pModel->isOnline());
        QVERIFY(!m_pModel->editMode());
        QVERIFY(m_pModel->hardwareRoot()->childCount() == 0);
        m_pModel->goOnline(false);
    }
};

ZRB_TEST_MAIN(TestTransfer)
#include "tst_transfer.moc"
