#include "app/MMobileTransfer.h"

#include "app/KComposite.h"
#include "app/KMainController.h"
#include "app/MainWindow.h"
#include "app/MModel.h"
#include "app/MOnlineSession.h"
#include "app/UMessage.h"
#include "device/ITcpClient.h"
#include "device/ITcpServer.h"
#include "device/PFileProtocol.h"
#include "device/PProtocolFactory.h"
#include "dialogs/DDownloadDialog.h"
#include "dialogs/DQmlMessageDialog.h"
#include "dialogs/DTransferProgress.h"
#include "document/CDocument.h"
#include "document/USettings.h"
#include "document/io/UArchive.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTcpSocket>

#include <memory>

namespace {
KMainController *mainController(const MModel &model)
{
    KComposite *controllers = model.controllers();
    return controllers
               ? qobject_cast<KMainController *>(controllers->findController(KController::MainType))
               : nullptr;
}
} // namespace

MMobileTransfer::MMobileTransfer(MModel &model, QObject *parent)
    : QObject(parent), m(model), m_idleTimeout(PFileProtocol::DefaultIdleTimeout),
      m_maxReceiveSize(PFileProtocol::DefaultMaxReceiveSize)
{
}

bool MMobileTransfer::send()
{
    if (!m.hardwareRoot() || !m.documentRoot())
        return false;
    QWidget *window = m.mainWindow();
    // A new panel's path is its template's: only the file the user saved
    // is the panel.
    KMainController *main = mainController(m);
    const QString path = main ? main->currentPath() : m.documentPath();
    if (path.isEmpty() || m.isModified()) {
        UMessage::warning(window, tr("Warning"), tr("Please Save before Sending to Mobile Device"));
        return false;
    }
    DDownloadDialog dialog(&m, window);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    const QHostAddress address = m.mobileAddress();

    std::unique_ptr<PProtocol> protocol(PProtocolFactory::create(QStringLiteral("File")));
    auto *fileProtocol = qobject_cast<PFileProtocol *>(protocol.get());
    if (!fileProtocol)
        return false;
    ITcpClient client;
    client.setProtocol(protocol.get());
    client.setAddress(address);
    client.setPort(m_port);
    client.setConnectWait(1000);
    if (!client.start()) {
        UMessage::warning(window, tr("Connection"),
                          tr("Could not connect to: ") + address.toString());
        return false;
    }
    protocol->setInterface(&client);
    DTransferProgress progress(window);
    fileProtocol->setProgress(&progress);
    const bool sent = protocol->sendFile(path);
    fileProtocol->setProgress(nullptr);
    // What is still queued after an abort or a failure is dropped, rather
    // than waited for.
    if (!sent && client.socket())
        client.socket()->abort();
    client.stop();
    protocol->setInterface(nullptr);
    if (!sent && !fileProtocol->wasAborted())
        UMessage::warning(window, tr("Connection"),
                          tr("The panel could not be sent completely to: ") + address.toString());
    return sent;
}

bool MMobileTransfer::receive(bool *stored)
{
    if (stored)
        *stored = false;
    QWidget *window = m.mainWindow();
    const QString title = tr("Receive Control Panel...");
    ITcpServer server;
    server.setPort(m_port);
    server.setListenAddress(m_listenAddress);
    PFileProtocol protocol;
    server.setProtocol(&protocol);
    protocol.setInterface(&server);
    if (!server.start()) {
        UMessage::warning(window, title,
                          tr("Cannot receive: port %1 is not free for listening.").arg(m_port));
        return false;
    }
    emit listening(server.port());

    const QString target = downloadPath();
    protocol.setValidator(&MMobileTransfer::validateDownload);
    protocol.setMaxReceiveSize(m_maxReceiveSize);
    protocol.setIdleTimeout(m_idleTimeout);
    if (!protocol.receiveFile(target)) {
        UMessage::warning(window, title, protocol.refusal());
        return false;
    }
    bool received = false;
    QObject::connect(&protocol, &PFileProtocol::fileReceived, &protocol,
                     [&received](bool ok) { received = ok; });
    QObject::connect(&server, &ITcpServer::clientConnected, &protocol,
                     &PFileProtocol::peerConnected);

    DQmlMessageDialog dialog(m.qmlContext());
    dialog.setTitle(title);
    dialog.setText(tr("Mobile IP Address:\n\n") + MOnlineSession::localAddressText());
    dialog.setButton(tr("Cancel"));
    // The sender closing, or the file being refused, ends the wait; the
    // dialog closing otherwise is the user's Cancel.
    QObject::connect(&server, &IInterface::connectionClose, &dialog, &DQmlMessageDialog::close);
    QObject::connect(&protocol, &PFileProtocol::fileReceived, &dialog, &DQmlMessageDialog::close);
    QObject::connect(&dialog, &DQmlMessageDialog::closed, &protocol, &PFileProtocol::cancelReceive);
    if (!dialog.exec()) {
        qDebug() << "MMobileTransfer: no canvas to show the receive dialog on";
        protocol.cancelReceive();
        server.stop();
        return false;
    }
    server.stop();
    if (!protocol.refusal().isEmpty()) {
        UMessage::warning(window, title,
                          tr("The control panel received was refused. %1\n"
                             "The previous download is unchanged.")
                              .arg(protocol.refusal()));
        return false;
    }
    if (stored)
        *stored = received;
    return true;
}

bool MMobileTransfer::receivePanel()
{
    const QString title = tr("Receive Control Panel...");
    KMainController *main = mainController(m);
    // The received panel takes the open one's place.
    if (main && !main->promptSave(title))
        return false;
    m.session()->pausePolling(true);
    if (!receive()) {
        m.session()->pausePolling(false);
        return false;
    }
    // What came, or else what came before.
    const QString folder = downloadFolder();
    QString path = folder + QStringLiteral("/download.cpn");
    if (!QFileInfo::exists(path))
        path = folder + QStringLiteral("/download.cpf");
    if (!QFileInfo::exists(path)) {
        UMessage::information(m.mainWindow(), title,
                              tr("Nothing was received, and there is no earlier download to "
                                 "open. The open panel stays."));
        m.session()->pausePolling(false);
        return false;
    }
    const bool opened = main ? main->openPanel(path) : m.open(path);
    if (!opened) {
        if (!main)
            UMessage::warning(m.mainWindow(), title, m.lastError());
        m.session()->pausePolling(false);
        return false;
    }
    m.setEditMode(false);
    m.goOnline(true);
    m.startOnlineExchange();
    if (main)
        main->setActionChecked(KMainController::GoOnlineAction, m.isOnline());
    return true;
}

QString MMobileTransfer::downloadFolder()
{
    QString folder = USettings().value(QStringLiteral("Path/Designs")).toString();
    while (folder.endsWith(QLatin1Char('/')) && folder.length() > 1)
        folder.chop(1);
    if (folder.isEmpty()) {
        // Never the file system's root: without a design folder the program's
        // own data folder holds the download.
        folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        QDir().mkpath(folder);
        return folder;
    }
    if (!QFileInfo::exists(folder))
        QDir().mkdir(folder);
    return folder;
}

QString MMobileTransfer::downloadPath()
{
    return downloadFolder() + QStringLiteral("/download.cpn");
}

bool MMobileTransfer::validateDownload(const QString &path, QString *reason)
{
    if (!UArchive::isArchive(path)) {
        *reason = tr("It is not a control panel archive.");
        return false;
    }
    // Read aside: the open document is not touched.
    CDocument probe;
    if (!probe.open(path)) {
        *reason = probe.lastError();
        return false;
    }
    return true;
}
