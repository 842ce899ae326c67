#include "document/io/UArchive.h"

#include "document/io/UArchiveHeaderRecord.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSet>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <QVector>
#include <QtEndian>

#include <zlib.h>

#include <cstring>
#include <system_error>

namespace {

const quint32 FormatWord = 16;
// No panel file, design file or image comes near this; a member claiming more
// is damage or malice, and refusing it keeps memory and disk use sane.
const quint32 MaxMemberSize = 256u * 1024u * 1024u;
// Deflate cannot shrink data by much more than 1032:1.
const quint64 MaxInflateRatio = 1032;
// What an open keeps of the members it inflated while checking them, so as
// not to inflate them again when it extracts them.
const qint64 MaxKeptBytes = 64 * 1024 * 1024;
// Longer than any path a file system accepts.
const quint32 MaxNameLength = 4096;
const qint64 ChunkSize = 64 * 1024;
// Written into every extraction folder this program creates, so one can tell
// them from anything else under the base folder.
const char MarkerName[] = ".zrb-archive";

struct StoredMember
{
    QString name;
    quint32 nameLength = 0;
    quint32 offset = 0;
    quint32 size = 0;
};

QString damaged(const QString &path, const QString &reason)
{
    return QCoreApplication::translate("UArchive",
                                       "%1 is not a control panel archive, or it is damaged: %2")
        .arg(path, reason);
}

// Reads the member table, making sure every record and every member's data
// lies inside the file before anything is trusted.
bool readMembers(QIODevice &file, QVector<StoredMember> &members, QString *reason)
{
    const qint64 fileSize = file.size();
    char start[8];
    if (!file.seek(0) || file.read(start, 8) != 8) {
        *reason = QCoreApplication::translate("UArchive", "the file is too short for an archive");
        return false;
    }
    const quint32 count = qFromBigEndian<quint32>(start + 4);
    // Every record takes at least 12 bytes, so the file bounds the count.
    if (quint64(count) > quint64(fileSize - 8) / 12) {
        *reason = QCoreApplication::translate("UArchive",
                                              "it claims %1 members, more than the file can hold")
                      .arg(count);
        return false;
    }
    members.reserve(int(count));
    qint64 position = 8;
    for (quint32 index = 0; index < count; ++index) {
        const QString cutShort =
            QCoreApplication::translate("UArchive",
                                        "the record of member %1 runs past the end of the file")
                .arg(index + 1);
        char field[8];
        if (file.read(field, 4) != 4) {
            *reason = cutShort;
            return false;
        }
        position += 4;
        StoredMember member;
        member.nameLength = qFromBigEndian<quint32>(field);
        if (qint64(member.nameLength) * 2 + 8 > fileSize - position) {
            *reason = cutShort;
            return false;
        }
        if (member.nameLength > MaxNameLength) {
            *reason = QCoreApplication::translate("UArchive", "the name of member %1 is too long")
                          .arg(index + 1);
            return false;
        }
        const QByteArray raw = file.read(qint64(member.nameLength) * 2);
        if (raw.size() != int(member.nameLength) * 2) {
            *reason = cutShort;
            return false;
        }
        member.name.resize(int(member.nameLength));
        for (int unit = 0; unit < int(member.nameLength); ++unit)
            member.name[unit] = QChar(qFromLittleEndian<quint16>(raw.constData() + 2 * unit));
        position += raw.size();
        if (file.read(field, 8) != 8) {
            *reason = cutShort;
            return false;
        }
        position += 8;
        member.offset = qFromBigEndian<quint32>(field);
        member.size = qFromBigEndian<quint32>(field + 4);
        if (quint64(member.offset) + member.size > quint64(fileSize)) {
            *reason = QCoreApplication::translate(
                          "UArchive", "the data of member %1 lies beyond the end of the file")
                          .arg(index + 1);
            return false;
        }
        members.append(member);
    }
    return true;
}

// The name below the extraction folder, or an empty string when the name
// could reach outside it or clash with the folder's marker.
QString relativeMemberPath(const QString &name)
{
    const QString relative = name.startsWith(QLatin1Char('/')) ? name.mid(1) : name;
    if (relative.isEmpty())
        return QString();
    for (const QChar c : relative) {
        if (c.unicode() < 0x20 || c == QLatin1Char('\\'))
            return QString();
    }
    const QStringList parts = relative.split(QLatin1Char('/'));
    for (const QString &part : parts) {
        if (part.isEmpty() || part == QLatin1String(".") || part == QLatin1String(".."))
            return QString();
        const ushort first = part.at(0).toLower().unicode();
        if (part.length() >= 2 && part.at(1) == QLatin1Char(':') && first >= 'a' && first <= 'z')
            return QString();
    }
    if (parts.first() == QLatin1String(MarkerName))
        return QString();
    return relative;
}

enum class InflateResult
{
    Ok,
    BadData,
    WriteFailed
};

// Inflates one member in chunks, so neither a lying length nor a crafted
// stream can make it allocate much; with out null it only checks the data.
InflateResult inflateMember(QIODevice &archive, const StoredMember &member, QIODevice *out,
                            QString *reason)
{
    const QString corrupt =
        QCoreApplication::translate("UArchive", "member %1 cannot be uncompressed")
            .arg(member.name);
    // A member whose source was missing at save time is stored empty.
    if (member.size == 0)
        return InflateResult::Ok;
    char prefix[4];
    if (member.size < 4 || !archive.seek(member.offset) || archive.read(prefix, 4) != 4) {
        *reason = corrupt;
        return InflateResult::BadData;
    }
    const quint32 declared = qFromBigEndian<quint32>(prefix);
    const quint64 packed = member.size - 4;
    if (declared > MaxMemberSize || declared > packed * MaxInflateRatio + 64) {
        *reason = QCoreApplication::translate("UArchive",
                                              "member %1 claims an implausible size of %2 bytes")
                      .arg(member.name)
                      .arg(declared);
        return InflateResult::BadData;
    }
    // The compressed form of empty data is the length alone.
    if (packed == 0) {
        if (declared == 0)
            return InflateResult::Ok;
        *reason = corrupt;
        return InflateResult::BadData;
    }

    z_stream stream;
    std::memset(&stream, 0, sizeof stream);
    if (inflateInit(&stream) != Z_OK) {
        *reason = corrupt;
        return InflateResult::BadData;
    }
    QByteArray input(int(ChunkSize), Qt::Uninitialized);
    QByteArray output(int(ChunkSize), Qt::Uninitialized);
    quint64 remaining = packed;
    quint64 produced = 0;
    int result = Z_OK;
    bool ok = true;
    while (result != Z_STREAM_END) {
        if (stream.avail_in == 0) {
            if (remaining == 0) {
                ok = false; // the stream ends before its end marker
                break;
            }
            const qint64 chunk = qint64(qMin<quint64>(remaining, quint64(ChunkSize)));
            if (archive.read(input.data(), chunk) != chunk) {
                ok = false;
                break;
            }
            remaining -= quint64(chunk);
            stream.next_in = reinterpret_cast<Bytef *>(input.data());
            stream.avail_in = uInt(chunk);
        }
        stream.next_out = reinterpret_cast<Bytef *>(output.data());
        stream.avail_out = uInt(ChunkSize);
        result = inflate(&stream, Z_NO_FLUSH);
        if (result != Z_OK && result != Z_STREAM_END) {
            ok = false;
            break;
        }
        const qint64 got = ChunkSize - qint64(stream.avail_out);
        produced += quint64(got);
        if (produced > declared) {
            ok = false;
            break;
        }
        if (out && got > 0 && out->write(output.constData(), got) != got) {
            inflateEnd(&stream);
            auto *file = qobject_cast<QFile *>(out);
            *reason = QCoreApplication::translate("UArchive", "Cannot write file %1: %2")
                          .arg(file ? file->fileName() : QString(), out->errorString());
            return InflateResult::WriteFailed;
        }
    }
    inflateEnd(&stream);
    if (!ok || produced != declared) {
        *reason = corrupt;
        return InflateResult::BadData;
    }
    return InflateResult::Ok;
}

// Makes the folder a member goes into, once per folder.
QString makeMemberFolder(const QString &target, QSet<QString> &folders)
{
    const QString memberFolder = QFileInfo(target).path();
    if (folders.contains(memberFolder))
        return QString();
    if (!QDir().mkpath(memberFolder))
        return QCoreApplication::translate("UArchive", "Cannot create the folder %1.")
            .arg(memberFolder);
    folders.insert(memberFolder);
    return QString();
}

// Writes the inflated bytes of a checked member to its place; answers an
// error text or nothing.
QString writeMember(const QString &target, const QByteArray &inflated, QSet<QString> &folders)
{
    QString error = makeMemberFolder(target, folders);
    if (!error.isEmpty())
        return error;
    QFile out(target);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        out.write(inflated) != inflated.size() || !out.flush())
        return QCoreApplication::translate("UArchive", "Cannot write file %1: %2")
            .arg(target, out.errorString());
    return QString();
}

// Writes one checked member to its place, inflating it from the archive;
// answers an error text or nothing.
QString extractMember(QIODevice &archive, const QString &archivePath, const StoredMember &member,
                      const QString &target, QSet<QString> &folders)
{
    QString error = makeMemberFolder(target, folders);
    if (!error.isEmpty())
        return error;
    QFile out(target);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return QCoreApplication::translate("UArchive", "Cannot write file %1: %2")
            .arg(target, out.errorString());
    QString reason;
    const InflateResult result = inflateMember(archive, member, &out, &reason);
    if (result == InflateResult::BadData)
        return damaged(archivePath, reason);
    if (result == InflateResult::WriteFailed)
        return reason;
    if (!out.flush())
        return QCoreApplication::translate("UArchive", "Cannot write file %1: %2")
            .arg(target, out.errorString());
    return QString();
}

// Whether a document reads the member from disk while it opens, so it must
// be there before open() returns: the design file.
bool readWhileOpening(const QString &name)
{
    return name.endsWith(QLatin1String(".zdp"));
}

const char MarkerText[] = "Extracted panel archive; removed when its document closes.\n";

// Whether this process has yet to clear the stale folders under a base
// folder; answers true once per base folder.
bool firstOpenUnder(const QString &base)
{
    static QMutex mutex;
    static QSet<QString> cleared;
    const QString canonical = QFileInfo(base).canonicalFilePath();
    const QMutexLocker lock(&mutex);
    if (cleared.contains(canonical.isEmpty() ? base : canonical))
        return false;
    cleared.insert(canonical.isEmpty() ? base : canonical);
    return true;
}

} // namespace

UArchive::UArchive() = default;

UArchive::~UArchive()
{
    // The folder goes with the archive, and not while members are still
    // being written into it.
    waitForWriting();
}

QString UArchive::waitForWriting()
{
    if (!m_writing.valid())
        return QString();
    return m_writing.get();
}

bool UArchive::finishOpen()
{
    const QString error = waitForWriting();
    m_later.clear();
    if (error.isEmpty())
        return true;
    // Leave no half-extracted panel behind.
    m_pExtraction.reset();
    return failOpen(error);
}

void UArchive::setArchiveName(const QString &path)
{
    // Only a dot in the file name starts an extension; "my.folder/show" has none.
    const int dot = path.lastIndexOf(QLatin1Char('.'));
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    m_archiveName = (dot < 0 || dot < slash ? path : path.left(dot)) + QLatin1String(".cpz");
}

QString UArchive::addMember(const QString &path, const QString &folder)
{
    if (path.isEmpty() || path.contains(QLatin1String("../")) || m_header.containsPath(path))
        return path;
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    const QString fileName = slash < 0 ? path : path.mid(slash);
    const QString name = folder.isEmpty() ? fileName : QLatin1Char('/') + folder + fileName;
    m_header.append(path, name);
    return path;
}

bool UArchive::failWrite(const QString &reason)
{
    m_errorString = QCoreApplication::translate("UArchive", "Cannot write file %1: %2")
                        .arg(m_archiveName, reason);
    return false;
}

bool UArchive::write()
{
    const QByteArray bytes = build();
    return !bytes.isEmpty() && commit(bytes);
}

QByteArray UArchive::build()
{
    m_errorString.clear();
    if (m_archiveName.isEmpty()) {
        m_errorString = QCoreApplication::translate("UArchive", "No archive file name is set.");
        return QByteArray();
    }
    const QList<UArchiveHeaderRecord *> &records = m_header.records();
    quint64 headerSize = 8;
    for (const UArchiveHeaderRecord *record : records)
        headerSize += 12 + 2 * quint64(record->name.length());
    if (headerSize > 0x7FFFFFFFu) {
        failWrite(QCoreApplication::translate("UArchive", "the member names are too long"));
        return QByteArray();
    }

    QByteArray bytes(int(headerSize), '\0');
    for (UArchiveHeaderRecord *record : records) {
        const qint64 offset = bytes.size();
        QString localPath = record->path;
        const QUrl url(record->path);
        if (url.isLocalFile())
            localPath = url.toLocalFile();
        QByteArray packed;
        QFile source(localPath);
        // A missing member is stored empty; only regular files are read, so a
        // device or pipe cannot stall the save.
        if (QFileInfo(localPath).isFile() && source.open(QIODevice::ReadOnly)) {
            const qint64 sourceSize = source.size();
            if (sourceSize > qint64(MaxMemberSize)) {
                failWrite(QCoreApplication::translate("UArchive", "%1 is larger than 256 MiB")
                              .arg(localPath));
                return QByteArray();
            }
            const QByteArray content = source.read(sourceSize);
            if (content.size() != sourceSize) {
                failWrite(QCoreApplication::translate("UArchive", "cannot read %1: %2")
                              .arg(localPath, source.errorString()));
                return QByteArray();
            }
            packed = qCompress(content);
        }
        if (quint64(offset) + quint64(packed.size()) > 0x7FFFFFFFu) {
            failWrite(QCoreApplication::translate("UArchive", "the archive would exceed 2 GiB"));
            return QByteArray();
        }
        bytes.append(packed);
        record->offset = quint32(offset);
        record->size = quint32(packed.size());
        record->nameLength = quint32(record->name.length());
    }

    char *field = bytes.data();
    qToLittleEndian<quint32>(FormatWord, field);
    qToBigEndian<quint32>(quint32(records.count()), field + 4);
    field += 8;
    for (const UArchiveHeaderRecord *record : records) {
        qToBigEndian<quint32>(record->nameLength, field);
        field += 4;
        for (const QChar c : record->name) {
            qToLittleEndian<quint16>(c.unicode(), field);
            field += 2;
        }
        qToBigEndian<quint32>(record->offset, field);
        qToBigEndian<quint32>(record->size, field + 4);
        field += 8;
    }
    return bytes;
}

bool UArchive::commit(const QByteArray &bytes)
{
    // The old archive stays in place until the new one is complete.
    QSaveFile file(m_archiveName);
    if (!file.open(QIODevice::WriteOnly))
        return failWrite(file.errorString());
    if (file.write(bytes) != bytes.size())
        return failWrite(file.errorString());
    if (!file.commit())
        return failWrite(file.errorString());
    return true;
}

bool UArchive::readBack(const QByteArray &bytes, const QString &suffix, QByteArray *content,
                        QString *reason)
{
    QBuffer buffer;
    buffer.setData(bytes);
    if (!buffer.open(QIODevice::ReadOnly))
        return false;
    QVector<StoredMember> members;
    if (!readMembers(buffer, members, reason))
        return false;
    for (const StoredMember &member : qAsConst(members)) {
        if (!member.name.endsWith(suffix))
            continue;
        QBuffer out(content);
        out.open(QIODevice::WriteOnly);
        return inflateMember(buffer, member, &out, reason) == InflateResult::Ok;
    }
    *reason = QCoreApplication::translate("UArchive", "it holds no member ending in %1").arg(suffix);
    return false;
}

bool UArchive::writeAndCleanUp()
{
    if (!write())
        return false;
    const int at = m_archiveName.lastIndexOf(QLatin1String(".cpz"));
    if (at < 0)
        return false;
    return QFile::remove(m_archiveName.left(at) + QLatin1String(".cpf"));
}

bool UArchive::failOpen(const QString &message)
{
    m_errorString = message;
    m_openFailed = true;
    clearHeader();
    return false;
}

bool UArchive::open(const QString &path, bool background)
{
    waitForWriting();
    m_later.clear();
    m_openFailed = false;
    m_errorString.clear();
    // Members of an earlier archive must not answer for a plain panel file,
    // and its folder goes with them.
    clearHeader();
    m_pExtraction.reset();
    m_header.setExtractionFolder(QString());
    if (!isArchive(path))
        return false;
    m_archiveName = path;
    QFile archiveFile(path);
    if (!archiveFile.open(QIODevice::ReadOnly))
        return failOpen(QCoreApplication::translate("UArchive", "Cannot read file %1: %2")
                            .arg(path, archiveFile.errorString()));
    // An archive of a common size is read at once rather than a chunk at a
    // time for every member, twice.
    QBuffer memory;
    QIODevice &file = archiveFile.size() <= MaxKeptBytes ? static_cast<QIODevice &>(memory)
                                                         : static_cast<QIODevice &>(archiveFile);
    if (&file == &memory) {
        memory.setData(archiveFile.readAll());
        if (memory.size() != archiveFile.size())
            return failOpen(QCoreApplication::translate("UArchive", "Cannot read file %1: %2")
                                .arg(path, archiveFile.errorString()));
        memory.open(QIODevice::ReadOnly);
    }

    // Everything is checked before the extraction folder is touched, so a bad
    // archive leaves the disk as it was.
    QVector<StoredMember> members;
    QString reason;
    if (!readMembers(file, members, &reason))
        return failOpen(damaged(path, reason));
    QStringList relativePaths;
    relativePaths.reserve(members.count());
    for (const StoredMember &member : members) {
        const QString relative = relativeMemberPath(member.name);
        if (relative.isEmpty())
            return failOpen(damaged(path, QCoreApplication::translate(
                                              "UArchive", "the member name \"%1\" is not allowed")
                                              .arg(member.name)));
        relativePaths.append(relative);
    }
    // The check inflates every member; what it inflated is kept for the
    // extraction, up to a bound, rather than inflated a second time.
    QVector<QByteArray> inflated(members.count());
    QVector<bool> kept(members.count(), false);
    qint64 keptBytes = 0;
    for (int index = 0; index < members.count(); ++index) {
        const StoredMember &member = members.at(index);
        // The inflated size a member declares bounds what it may produce.
        char prefix[4];
        const qint64 declared =
            member.size >= 4 && file.seek(member.offset) && file.read(prefix, 4) == 4
                ? qint64(qFromBigEndian<quint32>(prefix))
                : -1;
        // A member that declares more than its data can hold is refused below;
        // nothing is set aside for it.
        const bool keep = declared >= 0 && keptBytes + declared <= MaxKeptBytes &&
                          quint64(declared) <= quint64(member.size) * MaxInflateRatio + 64;
        QBuffer buffer(&inflated[index]);
        if (keep) {
            inflated[index].reserve(int(declared));
            buffer.open(QIODevice::WriteOnly);
        }
        if (inflateMember(file, member, keep ? &buffer : nullptr, &reason) != InflateResult::Ok)
            return failOpen(damaged(path, reason));
        kept[index] = keep;
        keptBytes += inflated.at(index).size();
    }

    QSettings settings(QStringLiteral("Orvane"), QStringLiteral("Zindral Remote builder 2.0"));
    const QString setting = settings.value(QStringLiteral("Path/Archive")).toString();
    const QString folder = extractionFolderFor(setting);
    if (folder.isEmpty())
        return failOpen(QCoreApplication::translate(
            "UArchive", "There is no folder to extract the archive into."));
    if (!makeExtractionFolder(folder, setting.isEmpty(), !background))
        return false;
    const QString ownFolder = m_pExtraction->path();
    m_header.setExtractionFolder(ownFolder);

    // Two members may share a name; the first one's bytes stay, since lookups
    // and image redirection answer the first.
    QSet<QString> extracted;
    QSet<QString> folders;
    QVector<QPair<QString, QByteArray>> later;
    // The marker goes first, so a folder holding anything holds it.
    if (background)
        later.append({m_pExtraction->filePath(QLatin1String(MarkerName)), QByteArray(MarkerText)});
    for (int index = 0; index < members.count(); ++index) {
        const StoredMember &member = members.at(index);
        UArchiveHeaderRecord *record =
            m_header.append(ownFolder + QLatin1Char('/') + relativePaths.at(index), member.name);
        record->offset = member.offset;
        record->size = member.size;
        record->nameLength = member.nameLength;
        if (extracted.contains(record->path))
            continue;
        extracted.insert(record->path);

        if (background && kept.at(index) && !readWhileOpening(member.name)) {
            later.append({record->path, inflated.at(index)});
            inflated[index].clear();
            continue;
        }
        const QString error =
            kept.at(index) ? writeMember(record->path, inflated.at(index), folders)
                           : extractMember(file, path, member, record->path, folders);
        inflated[index].clear();
        if (!error.isEmpty()) {
            // Leave no half-extracted panel behind.
            m_pExtraction.reset();
            return failOpen(error);
        }
    }
    if (later.isEmpty())
        return true;
    // Writing the members is file system work the caller's reading of the
    // panel need not wait for: it reads them from memory; finishOpen() waits.
    m_later = later;
    auto writeLater = [later, folders]() mutable {
        for (const auto &member : qAsConst(later)) {
            const QString error = writeMember(member.first, member.second, folders);
            if (!error.isEmpty())
                return error;
        }
        return QString();
    };
    try {
        m_writing = std::async(std::launch::async, writeLater);
    } catch (const std::system_error &) {
        // No thread to be had: written here and now.
        std::promise<QString> written;
        written.set_value(writeLater());
        m_writing = written.get_future();
    }
    return true;
}

bool UArchive::pendingContent(const QString &memberPath, QByteArray *content) const
{
    for (const auto &member : m_later) {
        if (member.first == memberPath) {
            *content = member.second;
            return true;
        }
    }
    return false;
}

QString UArchive::findMember(const QString &fragment) const
{
    for (const UArchiveHeaderRecord *record : m_header.records()) {
        if (record->path.contains(fragment))
            return record->path;
    }
    return QString();
}

bool UArchive::redirectImagePath(QString &path) const
{
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash < 0)
        return false;
    const QString fileName = path.mid(slash + 1);
    if (fileName.isEmpty())
        return false;
    for (const UArchiveHeaderRecord *record : m_header.records()) {
        const int nameSlash = record->name.lastIndexOf(QLatin1Char('/'));
        if (nameSlash < 0 || record->name.mid(nameSlash + 1) != fileName)
            continue;
        path = QUrl::fromLocalFile(record->path).toString();
        return true;
    }
    return false;
}

void UArchive::clearHeader()
{
    m_header.clear();
}

bool UArchive::isArchive(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    char start[4];
    if (file.read(start, 4) != 4)
        return false;
    const quint32 word = qFromLittleEndian<quint32>(start);
    return (word & 0x3C000000u) < 0x3C000000u && (word & 0x3Cu) < 0x3Cu;
}

QString UArchive::extractionFolderFor(const QString &settingValue)
{
    if (settingValue.isEmpty()) {
        // A folder of our own, never the working folder: each open archive
        // makes a folder of its own inside it.
        const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
        return cache.isEmpty() ? QString() : cache + QLatin1String("/Archive");
    }
    QString folder = settingValue;
    folder.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder + QLatin1String("Archive");
}

void UArchive::removeStaleFolders(const QString &base)
{
    // Only where a process's life can be asked about: elsewhere a folder of
    // a live program might go.
    if (!QFileInfo(QStringLiteral("/proc/self")).exists())
        return;
    const QRegularExpression ours(QStringLiteral("^(\\d+)-[A-Za-z0-9]{6}$"));
    const QFileInfoList entries = QDir(base).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : entries) {
        const QRegularExpressionMatch match = ours.match(entry.fileName());
        if (!match.hasMatch() || entry.isSymLink())
            continue;
        const QString pid = match.captured(1);
        if (pid.toLongLong() == QCoreApplication::applicationPid() ||
            QFileInfo::exists(QStringLiteral("/proc/") + pid))
            continue;
        if (!QFileInfo::exists(entry.filePath() + QLatin1Char('/') + QLatin1String(MarkerName)))
            continue;
        QDir(entry.filePath()).removeRecursively();
    }
}

bool UArchive::makeExtractionFolder(const QString &base, bool createParents, bool marked)
{
    m_pExtraction.reset();
    const QFileInfo info(base);
    if ((info.exists() || info.isSymLink()) && !info.isDir())
        return failOpen(QCoreApplication::translate(
                            "UArchive", "%1 is in the way of the archive folder and was left untouched.")
                            .arg(base));
    if (!info.isDir()) {
        const bool made = createParents ? QDir().mkpath(base) : QDir().mkdir(base);
        if (!made)
            return failOpen(QCoreApplication::translate("UArchive", "Cannot create the folder %1.")
                                .arg(base));
    }
    // Once per folder and process: what ended runs left stays gone, and
    // every further open is spared the scan.
    if (firstOpenUnder(base))
        removeStaleFolders(base);
    // Named after the process, so a later run can tell whose folders it finds.
    auto folder = std::make_unique<QTemporaryDir>(
        base + QLatin1Char('/') + QString::number(QCoreApplication::applicationPid()) +
        QLatin1String("-XXXXXX"));
    if (!folder->isValid())
        return failOpen(QCoreApplication::translate("UArchive", "Cannot create a folder in %1: %2")
                            .arg(base, folder->errorString()));
    const QString markerPath = folder->filePath(QLatin1String(MarkerName));
    QFile marker(markerPath);
    if (marked && (!marker.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
                   marker.write(MarkerText) < 0 || !marker.flush()))
        return failOpen(QCoreApplication::translate("UArchive", "Cannot write file %1: %2")
                            .arg(markerPath, marker.errorString()));
    m_pExtraction = std::move(folder);
    return true;
}
