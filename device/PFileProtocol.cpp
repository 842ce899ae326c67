#include "device/PFileProtocol.h"

#include "device/IInterface.h"

#include <QDebug>
#include <QFile>

PFileProtocol::PFileProtocol(QObject *parent) : PProtocol(parent) {}

PFileProtocol::~PFileProtocol()
{
    // A transfer cut short by destruction leaves only its temporary file.
    if (m_pFile) {
        m_pFile->close();
        delete m_pFile;
        m_pFile = nullptr;
    }
}

QString PFileProtocol::name() const
{
    return QStringLiteral("File");
}

bool PFileProtocol::sendFile(const QString &path)
{
    IInterface *transport = interface();
    if (!transport)
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qDebug().noquote() << "PFileProtocol: cannot open" << path << file.errorString();
        return false;
    }
    bool complete = true;
    while (!file.atEnd()) {
        const QByteArray chunk = file.read(ChunkSize);
        if (chunk.isEmpty())
            break; // a read error, caught below
        const qint64 written = transport->write(chunk.constData(), chunk.size());
        if (written < chunk.size()) {
            qDebug() << "PFileProtocol: short write" << written << "of" << chunk.size();
            complete = false;
            break;
        }
        transport->waitForSent(30000);
    }
    if (file.error() != QFileDevice::NoError)
        complete = false;
    transport->waitForSent(1000);
    file.close();
    return complete;
}

bool PFileProtocol::receiveFile(const QString &path)
{
    IInterface *transport = interface();
    if (!transport || m_pFile)
        return false;
    m_pFile = new QFile(path + QLatin1Char('t'));
    if (!m_pFile->open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        qDebug().noquote() << "PFileProtocol: cannot write" << m_pFile->fileName()
                           << m_pFile->errorString();
        delete m_pFile;
        m_pFile = nullptr;
        return false;
    }
    m_targetPath = path;
    m_writeFailed = false;
    connect(transport, &IInterface::connectionClose, this, &PFileProtocol::connectionClose,
            Qt::UniqueConnection);
    return true;
}

bool PFileProtocol::receive(const QByteArray &data)
{
    if (!m_pFile || data.isEmpty())
        return false;
    if (m_pFile->write(data) != data.size()) {
        m_writeFailed = true;
        return false;
    }
    return true;
}

void PFileProtocol::connectionClose()
{
    if (!m_pFile)
        return;
    QFile *file = m_pFile;
    m_pFile = nullptr;
    file->flush();
    const bool failed = m_writeFailed || file->error() != QFileDevice::NoError;
    file->close();
    const QString temporary = file->fileName();
    const qint64 size = file->size();
    delete file;

    // Only a complete, non-empty transfer replaces the earlier download.
    bool stored = false;
    if (size > 0 && !failed) {
        QFile::remove(m_targetPath);
        stored = QFile::rename(temporary, m_targetPath);
        if (!stored)
            qDebug().noquote() << "PFileProtocol: cannot rename" << temporary << "to"
                               << m_targetPath;
    } else {
        QFile::remove(temporary);
    }
    emit fileReceived(stored);
}
