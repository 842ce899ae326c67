#include "device/PFileProtocol.h"

#include "device/IInterface.h"
#include "device/PTransferProgress.h"

#include <QDebug>
#include <QElapsedTimer>
#include <QFile>

namespace {
// The slice of a long wait after which the progress lets events run.
constexpr int WaitSlice = 50;
constexpr int ChunkWait = 30000;
constexpr int FinalWait = 1000;
} // namespace

PFileProtocol::PFileProtocol(QObject *parent) : PProtocol(parent)
{
    m_idleTimer.setSingleShot(true);
    m_idleTimer.setInterval(DefaultIdleTimeout);
    connect(&m_idleTimer, &QTimer::timeout, this, [this]() {
        refuse(tr("Nothing arrived for %1 seconds.").arg(m_idleTimer.interval() / 1000.0));
    });
}

PFileProtocol::~PFileProtocol()
{
    // A transfer cut short by destruction leaves nothing behind.
    if (m_pFile) {
        qint64 size = 0;
        bool failed = false;
        QFile::remove(closeFile(&size, &failed));
    }
}

QString PFileProtocol::name() const
{
    return QStringLiteral("File");
}

bool PFileProtocol::sendFile(const QString &path)
{
    m_aborted = false;
    IInterface *transport = interface();
    if (!transport)
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qDebug().noquote() << "PFileProtocol: cannot open" << path << file.errorString();
        return false;
    }
    if (m_pProgress)
        m_pProgress->begin(file.size());
    bool complete = true;
    while (!file.atEnd()) {
        const QByteArray chunk = file.read(ChunkSize);
        if (chunk.isEmpty())
            break; // a read error, caught below
        if (m_pProgress && !m_pProgress->advance(file.pos())) {
            m_aborted = true;
            complete = false;
            break;
        }
        const qint64 written = transport->write(chunk.constData(), chunk.size());
        if (written < chunk.size()) {
            qDebug() << "PFileProtocol: short write" << written << "of" << chunk.size();
            complete = false;
            break;
        }
        // A receiver that takes nothing for the whole wait gets no more.
        if (!waitUntilSent(ChunkWait)) {
            complete = false;
            break;
        }
    }
    if (file.error() != QFileDevice::NoError)
        complete = false;
    if (complete)
        complete = waitUntilSent(FinalWait);
    file.close();
    if (m_pProgress)
        m_pProgress->end();
    return complete;
}

bool PFileProtocol::waitUntilSent(int msecs)
{
    QElapsedTimer clock;
    clock.start();
    IInterface *transport = interface();
    while (transport && transport->bytesToWrite() > 0) {
        const qint64 left = msecs - clock.elapsed();
        if (left <= 0)
            return false;
        transport->waitForSent(int(qMin<qint64>(left, WaitSlice)));
        if (m_pProgress && !m_pProgress->keepAlive()) {
            m_aborted = true;
            return false;
        }
    }
    return true;
}

bool PFileProtocol::receiveFile(const QString &path)
{
    IInterface *transport = interface();
    if (!transport || m_pFile)
        return false;
    m_refusal.clear();
    m_pFile = new QFile(path + QLatin1Char('t'));
    if (!m_pFile->open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        qDebug().noquote() << "PFileProtocol: cannot write" << m_pFile->fileName()
                           << m_pFile->errorString();
        m_refusal = tr("Cannot write file %1: %2").arg(m_pFile->fileName(), m_pFile->errorString());
        delete m_pFile;
        m_pFile = nullptr;
        return false;
    }
    m_targetPath = path;
    m_writeFailed = false;
    m_received = 0;
    connect(transport, &IInterface::connectionClose, this, &PFileProtocol::connectionClose,
            Qt::UniqueConnection);
    return true;
}

bool PFileProtocol::receive(const QByteArray &data)
{
    if (!m_pFile || data.isEmpty())
        return false;
    if (data.size() > m_maxReceiveSize - m_received) {
        refuse(tr("It is larger than %1 MiB.").arg(m_maxReceiveSize / (1024.0 * 1024.0)));
        return false;
    }
    m_received += data.size();
    m_idleTimer.start();
    if (m_pFile->write(data) != data.size()) {
        m_writeFailed = true;
        return false;
    }
    return true;
}

void PFileProtocol::peerConnected()
{
    if (m_pFile)
        m_idleTimer.start();
}

void PFileProtocol::cancelReceive()
{
    if (!m_pFile)
        return;
    // Cancelled before anything came: as if the sender had sent nothing.
    if (m_received == 0) {
        connectionClose();
        return;
    }
    refuse(tr("The transfer was cancelled before the sender had finished."));
}

QString PFileProtocol::closeFile(qint64 *size, bool *failed)
{
    QFile *file = m_pFile;
    m_pFile = nullptr;
    m_idleTimer.stop();
    file->flush();
    *failed = m_writeFailed || file->error() != QFileDevice::NoError;
    if (*failed)
        m_refusal = tr("Cannot write file %1: %2").arg(file->fileName(), file->errorString());
    file->close();
    const QString temporary = file->fileName();
    *size = file->size();
    delete file;
    return temporary;
}

void PFileProtocol::refuse(const QString &reason)
{
    if (!m_pFile)
        return;
    qint64 size = 0;
    bool failed = false;
    QFile::remove(closeFile(&size, &failed));
    m_refusal = reason;
    qDebug().noquote() << "PFileProtocol: receive refused:" << reason;
    emit fileReceived(false);
}

void PFileProtocol::connectionClose()
{
    if (!m_pFile)
        return;
    qint64 size = 0;
    bool failed = false;
    const QString temporary = closeFile(&size, &failed);

    // Only a complete, non-empty transfer that passes the checks replaces
    // the earlier download.
    bool stored = false;
    QString reason;
    if (size > 0 && !failed && (!m_validator || m_validator(temporary, &reason))) {
        stored = replaceTarget(temporary);
        if (!stored)
            m_refusal = tr("Cannot write file %1.").arg(m_targetPath);
    } else if (size > 0 && !failed) {
        m_refusal = reason;
    }
    if (!stored)
        QFile::remove(temporary);
    emit fileReceived(stored);
}

bool PFileProtocol::replaceTarget(const QString &temporary)
{
    // The earlier file steps aside until the new one is in place, so a
    // failed rename leaves it as it was.
    const QString aside = m_targetPath + QStringLiteral(".old");
    QFile::remove(aside);
    const bool hadTarget = QFile::exists(m_targetPath);
    if (hadTarget && !QFile::rename(m_targetPath, aside))
        return false;
    if (!QFile::rename(temporary, m_targetPath)) {
        qDebug().noquote() << "PFileProtocol: cannot rename" << temporary << "to" << m_targetPath;
        if (hadTarget)
            QFile::rename(aside, m_targetPath);
        return false;
    }
    QFile::remove(aside);
    return true;
}
