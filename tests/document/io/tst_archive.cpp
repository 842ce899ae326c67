#include "common/TestSupport.h"
#include "common/TestDir.h"

#include "document/io/UArchive.h"
#include "document/io/UArchiveHeaderRecord.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRandomGenerator>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <QtEndian>
#include <QtTest>

namespace {

using Members = QList<QPair<QString, QByteArray>>;

QByteArray be32(quint32 value)
{
    char bytes[4];
    qToBigEndian<quint32>(value, bytes);
    return QByteArray(bytes, 4);
}

QByteArray utf16le(const QString &text)
{
    QByteArray bytes;
    for (const QChar c : text) {
        bytes.append(char(c.unicode() & 0xFF));
        bytes.append(char(c.unicode() >> 8));
    }
    return bytes;
}

QByteArray utf16be(const QString &text)
{
    QByteArray bytes;
    for (const QChar c : text) {
        bytes.append(char(c.unicode() >> 8));
        bytes.append(char(c.unicode() & 0xFF));
    }
    return bytes;
}

// An archive laid out by hand: names and already compressed data as given.
QByteArray buildArchive(const Members &members)
{
    quint32 headerSize = 8;
    for (const auto &member : members)
        headerSize += 12 + 2 * quint32(member.first.length());
    QByteArray header = QByteArray::fromHex("10000000") + be32(quint32(members.count()));
    QByteArray data;
    for (const auto &member : members) {
        header += be32(quint32(member.first.length())) + utf16le(member.first);
        header += be32(headerSize + quint32(data.size())) + be32(quint32(member.second.size()));
        data += member.second;
    }
    return header + data;
}

void patch(QByteArray &bytes, int position, quint32 value)
{
    bytes.replace(position, 4, be32(value));
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// Every entry below root with its size, to prove an operation changed nothing.
QStringList snapshot(const QString &root)
{
    QStringList entries;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        entries << QDir(root).relativeFilePath(info.filePath()) +
                       (info.isDir() ? QStringLiteral("/")
                                     : QStringLiteral(" %1").arg(info.size()));
    }
    entries.sort();
    return entries;
}

void setArchiveSetting(const QString &value)
{
    QSettings settings(QStringLiteral("Orvane"), QStringLiteral("Zindral Remote builder 2.0"));
    settings.setValue(QStringLiteral("Path/Archive"), value);
    settings.sync();
}

QStringList memberNames()
{
    QStringList names;
    for (const UArchiveHeaderRecord *record : UArchive::instance()->header().records())
        names << record->name;
    return names;
}

} // namespace

class TestArchive : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanupTestCase();

    void emptyArchiveIsEightBytes();
    void oneMemberHeaderIsThirtyEightBytes();
    void twoMemberArchiveIsByteExact();
    void roundTripRestoresEveryMember();
    void addMemberRules_data();
    void addMemberRules();
    void sameNameMembersKeepTheFirst();
    void xmlTest_data();
    void xmlTest();
    void findMemberByFragment();
    void redirectImagePath_data();
    void redirectImagePath();
    void clearHeaderKeepsFolder();
    void writeAndCleanUp_data();
    void writeAndCleanUp();
    void hostileArchiveIsRefused_data();
    void hostileArchiveIsRefused();
    void defaultFolderIsInTheCache();
    void extractionFolderFromSetting_data();
    void extractionFolderFromSetting();
    void foreignFolderIsNotWiped_data();
    void foreignFolderIsNotWiped();
    void failedWriteKeepsPreviousArchive_data();
    void failedWriteKeepsPreviousArchive();

private:
    // Writes a valid archive of the given files (name → content) and answers its path.
    QString saveArchive(const QString &folder, const QList<QPair<QString, QByteArray>> &files,
                        const QString &memberFolder = QString());
};

void TestArchive::init()
{
    UArchive::instance()->clearHeader();
    setArchiveSetting(QString());
}

void TestArchive::cleanupTestCase()
{
    UArchive::release();
}

QString TestArchive::saveArchive(const QString &folder,
                                 const QList<QPair<QString, QByteArray>> &files,
                                 const QString &memberFolder)
{
    UArchive *archive = UArchive::instance();
    archive->clearHeader();
    archive->setArchiveName(folder + QStringLiteral("/saved.cpf"));
    for (const auto &file : files) {
        const QString path = folder + QLatin1Char('/') + file.first;
        if (!writeFile(path, file.second))
            return QString();
        archive->addMember(path, memberFolder);
    }
    const bool written = archive->write();
    archive->clearHeader();
    return written ? archive->archiveName() : QString();
}

void TestArchive::emptyArchiveIsEightBytes()
{
    TestDir tmp;
    QVERIFY(tmp.isValid());
    UArchive *archive = UArchive::instance();
    archive->setArchiveName(tmp.path() + QStringLiteral("/empty.cpf"));
    QCOMPARE(archive->archiveName(), tmp.path() + QStringLiteral("/empty.cpz"));
    QVERIFY2(archive->write(), qPrintable(archive->errorString()));
    QCOMPARE(readFile(archive->archiveName()).toHex(' '), QByteArray("10 00 00 00 00 00 00 00"));
}

void TestArchive::oneMemberHeaderIsThirtyEightBytes()
{
    TestDir tmp;
    QVERIFY(tmp.isValid());
    const QByteArray content = QByteArray("panel content ").repeated(50);
    const QString source = tmp.path() + QStringLiteral("/abcdefgh");
    QVERIFY(writeFile(source, content));
    UArchive *archive = UArchive::instance();
    archive->setArchiveName(tmp.path() + QStringLiteral("/one.cpf"));
    QCOMPARE(archive->addMember(source, QString()), source);
    QCOMPARE(memberNames(), QStringList{QStringLiteral("/abcdefgh")});
    QCOMPARE(archive->header().headerSize(), quint32(38));
    QVERIFY2(archive->write(), qPrintable(archive->errorString()));

    const QByteArray bytes = readFile(tmp.path() + QStringLiteral("/one.cpz"));
    const QByteArray packed = qCompress(content);
    QCOMPARE(bytes.size(), 38 + packed.size());
    QCOMPARE(bytes.mid(8, 4), be32(9));
    QCOMPARE(bytes.mid(12, 18), utf16le(QStringLiteral("/abcdefgh")));
    QCOMPARE(bytes.mid(30, 4), be32(38));
    QCOMPARE(bytes.mid(34, 4), be32(quint32(packed.size())));
    QCOMPARE(bytes.mid(38), packed);
}

void TestArchive::twoMemberArchiveIsByteExact()
{
    TestDir tmp;
    QVERIFY(tmp.isValid());
    const QByteArray panel = QByteArray("<ZDX>panel</ZDX>\n").repeated(20);
    const QByteArray design = QByteArray("<Project version=\"4.2\"/>\n").repeated(30);
    QVERIFY(writeFile(tmp.path() + QStringLiteral("/panel.cpf"), panel));
    QVERIFY(writeFile(tmp.path() + QStringLiteral("/design.zdp"), design));
    UArchive *archive = UArchive::instance();
    archive->setArchiveName(tmp.path() + QStringLiteral("/panel.cpf"));
    archive->addMember(tmp.path() + QStringLiteral("/panel.cpf"), QString());
    archive->addMember(tmp.path() + QStringLiteral("/design.zdp"), QStringLiteral("project"));
    QVERIFY2(archive->write(), qPrintable(archive->errorString()));

    const QByteArray panelPacked = qCompress(panel);
    const QByteArray designPacked = qCompress(design);
    const quint32 headerSize = 8 + (12 + 2 * 10) + (12 + 2 * 19);
    const QByteArray expected = QByteArray::fromHex("1000000000000002") + be32(10) +
                                utf16le(QStringLiteral("/panel.cpf")) + be32(headerSize) +
                                be32(quint32(panelPacked.size())) + be32(19) +
                                utf16le(QStringLiteral("/project/design.zdp")) +
                                be32(headerSize + quint32(panelPacked.size())) +
                                be32(quint32(designPacked.size())) + panelPacked + designPacked;
    const QByteArray actual = readFile(tmp.path() + QStringLiteral("/panel.cpz"));
    QCOMPARE(actual.left(int(headerSize)).toHex(' '), expected.left(int(headerSize)).toHex(' '));
    QCOMPARE(actual, expected);
}

void TestArchive::roundTripRestoresEveryMember()
{
    TestDir tmp;
    QVERIFY(tmp.isValid());
    QVERIFY(QDir(tmp.path()).mkpath(QStringLiteral("src/images")));
    QVERIFY(QDir(tmp.path()).mkpath(QStringLiteral("out")));
    setArchiveSetting(tmp.path() + QStringLiteral("/out"));

    // Random bytes do not compress, so the data runs over several inflate chunks.
    QByteArray noise(300 * 1024, Qt::Uninitialized);
    QRandomGenerator generator(42);
    for (char &c : noise)
        c = char(generator.bounded(256));
    const QString src = tmp.path() + QStringLiteral("/src/");
    const QList<QPair<QString, QString>> members = {
        {src + QStringLiteral("panel.cpf"), QString()},
        {src + QStringLiteral("design.zdp"), QStringLiteral("project")},
        {src + QStringLiteral("images/noise.png"), QStringLiteral("image")},
        {src + QStringLiteral("images/empty.png"), QStringLiteral("image")},
        {QUrl::fromLocalFile(src + QStringLiteral("images/url.png")).toString(),
         QStringLiteral("image")},
        {src + QStringLiteral("images/missing.png"), QStringLiteral("image")},
    };
    const QList<QByteArray> contents = {
        utf16be(QStringLiteral("<?xml version=\"1.0\"?>\n<ZDX/>\n")).prepend("\xFE\xFF"),
        QByteArray("<Project/>\n").repeated(1000),
        noise,
        QByteArray(),
        QByteArray("url image"),
        QByteArray()};
    const QStringList expectedNames = {
        QStringLiteral("/panel.cpf"),       QStringLiteral("/project/design.zdp"),
        QStringLiteral("/image/noise.png"), QStringLiteral("/image/empty.png"),
        QStringLiteral("/image/url.png"),   QStringLiteral("/image/missing.png")};

    UArchive *archive = UArchive::instance();
    archive->setArchiveName(src + QStringLiteral("panel.cpf"));
    for (int i = 0; i < members.count(); ++i) {
        if (!members.at(i).first.endsWith(QStringLiteral("missing.png"))) {
            const QString local = QUrl(members.at(i).first).isLocalFile()
                                      ? QUrl(members.at(i).first).toLocalFile()
                                      : members.at(i).first;
            QVERIFY(writeFile(local, contents.at(i)));
        }
        archive->addMember(members.at(i).first, members.at(i).second);
    }
    QCOMPARE(memberNames(), expectedNames);
    QVERIFY2(archive->write(), qPrintable(archive->errorString()));
    archive->clearHeader();

    QVERIFY2(archive->open(src + QStringLiteral("panel.cpz")), qPrintable(archive->errorString()));
    QVERIFY(!archive->lastOpenFailed());
    const QString folder = tmp.path() + QStringLiteral("/out/Archive");
    QCOMPARE(archive->header().extractionFolder(), folder);
    QCOMPARE(memberNames(), expectedNames);
    for (int i = 0; i < expectedNames.count(); ++i) {
        const UArchiveHeaderRecord *record = archive->header().records().at(i);
        QCOMPARE(record->path, folder + expectedNames.at(i));
        QVERIFY2(
            readFile(record->path) == contents.at(i),
            qPrintable(QStringLiteral("extracted %1 differs from its source").arg(record->path)));
    }
}

void TestArchive::addMemberRules_data()
{
    QTest::addColumn<QStringList>("paths");
    QTest::addColumn<QStringList>("folders");
    QTest::addColumn<QStringList>("names");

    QTest::newRow("empty path") << QStringList{QString()} << QStringList{QString()}
                                << QStringList{};
    QTest::newRow("parent reference") << QStringList{QStringLiteral("/a/../b/pic.png")}
                                      << QStringList{QStringLiteral("image")} << QStringList{};
    QTest::newRow("same path twice")
        << QStringList{QStringLiteral("/a/pic.png"), QStringLiteral("/a/pic.png")}
        << QStringList{QStringLiteral("image"), QStringLiteral("image")}
        << QStringList{QStringLiteral("/image/pic.png")};
    QTest::newRow("same name in two folders")
        << QStringList{QStringLiteral("/a/pic.png"), QStringLiteral("/b/pic.png")}
        << QStringList{QStringLiteral("image"), QStringLiteral("image")}
        << QStringList{QStringLiteral("/image/pic.png"), QStringLiteral("/image/pic.png")};
    QTest::newRow("panel, design and image")
        << QStringList{QStringLiteral("/p/x.cpf"), QStringLiteral("/d/y.zdp"),
                       QStringLiteral("file:///i/z.png")}
        << QStringList{QString(), QStringLiteral("project"), QStringLiteral("image")}
        << QStringList{QStringLiteral("/x.cpf"), QStringLiteral("/project/y.zdp"),
                       QStringLiteral("/image/z.png")};
}

void TestArchive::addMemberRules()
{
    QFETCH(QStringList, paths);
    QFETCH(QStringList, folders);
    QFETCH(QStringList, names);
    for (int i = 0; i < paths.count(); ++i)
        QCOMPARE(UArchive::instance()->addMember(paths.at(i), folders.at(i)), paths.at(i));
    QCOMPARE(memberNames(), names);
}

void TestArchive::sameNameMembersKeepTheFirst()
{
    TestDir tmp;
    QVERIFY(tmp.isValid());
    QVERIFY(QDir(tmp.path()).mkpath(QStringLiteral("a")));
    QVERIFY(QDir(tmp.path()).mkpath(QStringLiteral("b")));
    QVERIFY(QDir(tmp.path()).mkpath(QStringLiteral("out")));
    setArchiveSetting(tmp.path() + QStringLiteral("/out"));
    const QString path = saveArchive(
        tmp.path(),
        {{QStringLiteral("a/pic.png"), "first"}, {QStringLiteral("b/pic.png"), "second"}},
        QStringLiteral("image"));
    QVERIFY2(!path.isEmpty(), qPrintable(UArchive::instance()->errorString()));

    UArchive *archive = UArchive::instance();
    QVERIFY2(archive->open(path), qPrintable(archive->errorString()));
    QCOMPARE(archive->header().count(), 2);
    QString image = QStringLiteral("C:/somewhere/pic.png");
    QVERIFY(archive->redirectImagePath(image));
    // Lookups answer the first member, so its bytes must be the ones on disk.
    QCOMPARE(readFile(QUrl(image).toLocalFile()), QByteArray("first"));
}

void TestArchive::xmlTest_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("isArchive");

    const QString xml =
        QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n<ZDX>\n</ZDX>\n");
    QTest::newRow("UTF-8") << xml.toUtf8() << false;
    QTest::newRow("UTF-8 with mark") << QByteArray("\xEF\xBB\xBF") + xml.toUtf8() << false;
    QTest::newRow("UTF-16 LE with mark") << QByteArray("\xFF\xFE") + utf16le(xml) << false;
    QTest::newRow("UTF-16 BE with mark") << QByteArray("\xFE\xFF") + utf16be(xml) << false;
    QTest::newRow("too short") << QByteArray("\x10\x00", 2) << false;
    QTest::newRow("archive") << buildArchive({{QStringLiteral("/a.cpf"), qCompress("x")}}) << true;
}

void TestArchive::xmlTest()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, isArchive);
    TestDir tmp;
    QVERIFY(tmp.isValid());
    QVERIFY(QDir(tmp.path()).mkpath(QStringLiteral("out")));
    setArchiveSetting(tmp.path() + QStringLiteral("/out"));
    const QString path = tmp.path() + QStringLiteral("/file.cpz");
    QVERIFY(writeFile(path, bytes));

    QCOMPARE(UArchive::isArchive(path), isArchive);
    UArchive *archive = UArchive::instance();
    QCOMPARE(archive->open(path), isArchive);
    // A plain panel file is not a failed archive: the caller reads it as XML.
    QVERIFY2(!archive->lastOpenFailed(), qPrintable(archive->errorString()));
    QCOMPARE(UArchive::isArchive(tmp.path() + QStringLiteral("/missing.cpz")), false);
}

void TestArchive::findMemberByFragment()
{
    TestDir tmp;
    QVERIFY(tmp.isValid());
    QVERIFY(QDir(tmp.path()).mkpath(QStringLiteral("out")));
    setArchiveSetting(tmp.path() + QStringLiteral("/out"));
    const QString folder = tmp.path() + QStringLiteral("/out/Archive");
    const QByteArray archiveBytes =
        buildArchive({{QStringLiteral("/panel.cpf"), qCompress("p")},
                      {QStringLiteral("/project/d.zdp"), qCompress("d")},
                      {QStringLiteral("/project/e.zdp"), qCompress("e")}});
    QVERIFY(writeFile(tmp.path() + QStringLiteral("/x.cpz"), archiveBytes));
    UArchive *archive = UArchive::instance();
    QVERIFY2(archive->open(tmp.path() + QStringLiteral("/x.cpz")),
             qPrintable(archive->errorString()));
    QCOMPARE(archive->archiveName(), tmp.path() + QStringLiteral("/x.cpz"));

    QCOMPARE(archive->findMember(QStringLiteral(".cpf")), folder + QStringLiteral("/panel.cpf"));
    QCOMPARE(archive->findMember(QStringLiteral(".zdp")),
             folder + QStringLiteral("/project/d.zdp"));
    QCOMPARE(archive->findMember(QStringLiteral(".CPF")), QString());
    QCOMPARE(archive->findMember(QStringLiteral(".png")), QString());
    QCOMPARE(readFile(archive->findMember(QStringLiteral("e.zdp"))), QByteArray("e"));
}

void TestArchive::redirectImagePath_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("member"); // empty: no match expected

    QTest::newRow("windows path") << QStringLiteral("C:/Users/me/pic.png")
                                  << QStringLiteral("/image/pic.png");
    QTest::newRow("file url") << QStringLiteral("file:///home/me/logo.jpg")
                              << QStringLiteral("/image/logo.jpg");
    QTest::newRow("no slash") << QStringLiteral("pic.png") << QString();
    QTest::newRow("other case") << QStringLiteral("/x/PIC.png") << QString();
    QTest::newRow("unknown") << QStringLiteral("/x/other.png") << QString();
    QTest::newRow("folder only") << QStringLiteral("/x/image/") << QString();
}

void TestArchive::redirectImagePath()
{
    QFETCH(QString, path);
    QFETCH(QString, member);
    TestDir tmp;
    QVERIFY(tmp.isValid());
    QVERIFY(QDir(tmp.path()).mkpath(QStringLiteral("out")));
    setArchiveSetting(tmp.path() + QStringLiteral("/out"));
    const QByteArray archiveBytes =
        buildArchive({{QStringLiteral("/panel.cpf"), qCompress("p")},
                      {QStringLiteral("/image/pic.png"), qCompress("1")},
                      {QStringLiteral("/image/logo.jpg"), qCompress("2")}});
    QVERIFY(writeFile(tmp.path() + QStringLiteral("/x.cpz"), archiveBytes));
    UArchive *archive = UArchive::instance();
    QVERIFY2(archive->open(tmp.path() + QStringLiteral("/x.cpz")),
             qPrintable(archive->errorString()));

    QString redirected = path;
    QCOMPARE(archive->redirectImagePath(redirected), !member.isEmpty());
    const QString expected =
        member.isEmpty()
            ? path
            : QUrl::fromLocalFile(tmp.path() + QStringLiteral("/out/Archive") + member).toString();
    QCOMPARE(redirected, expected);
    if (!member.isEmpty())
        QVERIFY2(QFile::exists(QUrl(redirected).toLocalFile()), qPrintable(redirected));
}

void TestArchive::clearHeaderKeepsFolder()
{
    TestDir tmp;
    QVERIFY(tmp.isValid());
    QVERIFY(QDir(tmp.path()).mkpath(QStringLiteral("out")));
    setArchiveSetting(tmp.path() + QStringLiteral("/out"));
    QVERIFY(writeFile(tmp.path() + QStringLiteral("/x.cpz"),
                      buildArchive({{QStringLiteral("/image/pic.png"), qCompress("1")}})));
    UArchive *archive = UArchive::instance();
    QVERIFY2(archive->open(tmp.path() + QStringLiteral("/x.cpz")),
             qPrintable(archive->errorString()));
    QCOMPARE(archive->header().count(), 1);

    archive->clearHeader();
    QCOMPARE(archive->header().count(), 0);
    QCOMPARE(archive->header().extractionFolder(), tmp.path() + QStringLiteral("/out/Archive"));
    QString image = QStringLiteral("/x/pic.png");
    QVERIFY(!archive->redirectImagePath(image));
    QCOMPARE(archive->findMember(QStringLiteral("pic")), QString());
}

void TestArchive::writeAndCleanUp_data()
{
    QTest::addColumn<QString>("targetFolder");
    QTest::addColumn<bool>("succeeds");

    QTest::newRow("written") << QString() << true;
    QTest::newRow("target folder missing") << QStringLiteral("/missing") << false;
}

void TestArchive::writeAndCleanUp()
{
    QFETCH(QString, targetFolder);
    QFETCH(bool, succeeds);
    TestDir tmp;
    QVERIFY(tmp.isValid());
    const QString cpf = tmp.path() + QStringLiteral("/panel.cpf");
    QVERIFY(writeFile(cpf, "<ZDX/>"));
    UArchive *archive = UArchive::instance();
    archive->setArchiveName(tmp.path() + targetFolder + QStringLiteral("/panel.cpf"));
    archive->addMember(cpf, QString());

    QCOMPARE(archive->writeAndCleanUp(), succeeds);
    QCOMPARE(QFile::exists(cpf), !succeeds);
    QCOMPARE(QFile::exists(archive->archiveName()), succeeds);
    if (!succeeds)
        QVERIFY2(archive->errorString().startsWith(
                     QStringLiteral("Cannot write file %1: ").arg(archive->archiveName())),
                 qPrintable(archive->errorString()));
}

void TestArchive::hostileArchiveIsRefused_data()
{
    QTest::addColumn<QByteArray>("bytes");

    const QByteArray packed = qCompress(QByteArray("image bytes ").repeated(100));
    const Members valid = {{QStringLiteral("/first.txt"), qCompress("first")},
                           {QStringLiteral("/image/pic.png"), packed}};
    // Offset and size fields of the first record ("/first.txt", 10 code units).
    const int firstOffset = 8 + 4 + 20;
    const int firstSize = firstOffset + 4;

    QByteArray bytes = buildArchive(valid);
    patch(bytes, 4, 100000);
    QTest::newRow("count beyond file") << bytes;
    bytes = buildArchive(valid);
    patch(bytes, 4, 0xFFFFFFFF);
    QTest::newRow("count of four billion") << bytes;
    bytes = buildArchive(valid);
    patch(bytes, 8, 0x7FFFFFFF);
    QTest::newRow("name length beyond file") << bytes;
    bytes = buildArchive(valid);
    patch(bytes, firstOffset, quint32(bytes.size()) + 10);
    QTest::newRow("offset beyond file") << bytes;
    bytes = buildArchive(valid);
    patch(bytes, firstSize, quint32(bytes.size()));
    QTest::newRow("size beyond file") << bytes;
    bytes = buildArchive(valid);
    patch(bytes, firstSize, 0xFFFFFFFF);
    QTest::newRow("size of four GiB") << bytes;
    QTest::newRow("header cut short") << buildArchive(valid).left(20);
    QTest::newRow("only the format word") << QByteArray::fromHex("10000000");

    QByteArray huge = qCompress("small");
    huge.replace(0, 4, be32(0xFFFFFF00));
    QTest::newRow("huge claimed size")
        << buildArchive({valid.first(), {QStringLiteral("/h"), huge}});
    // Data that inflates far past its stated length, as a decompression bomb does.
    QByteArray bomb = qCompress(QByteArray(4 * 1024 * 1024, 'a'));
    bomb.replace(0, 4, be32(1000));
    QTest::newRow("inflates past its claim")
        << buildArchive({valid.first(), {QStringLiteral("/b"), bomb}});
    QByteArray shortClaim = packed;
    shortClaim.replace(0, 4, be32(2000));
    QTest::newRow("inflates short of its claim")
        << buildArchive({valid.first(), {QStringLiteral("/s"), shortClaim}});
    QTest::newRow("corrupt zlib data") << buildArchive(
        {valid.first(), {QStringLiteral("/c"), be32(100) + QByteArray(60, '\x55')}});
    QTest::newRow("truncated zlib data")
        << buildArchive({valid.first(), {QStringLiteral("/t"), packed.left(packed.size() / 2)}});
    QTest::newRow("three data bytes")
        << buildArchive({valid.first(), {QStringLiteral("/3"), "abc"}});

    const QStringList badNames = {QStringLiteral("/../escape.txt"),
                                  QStringLiteral("/image/../../escape.txt"),
                                  QStringLiteral(".."),
                                  QStringLiteral("//tmp/escape.txt"),
                                  QStringLiteral("/C:/escape.txt"),
                                  QStringLiteral("c:escape.txt"),
                                  QStringLiteral("/image\\escape.txt"),
                                  QStringLiteral("\\..\\escape.txt"),
                                  QString(),
                                  QStringLiteral("/"),
                                  QStringLiteral("/image/"),
                                  QStringLiteral("/./escape.txt"),
                                  QStringLiteral("/.zrb-archive"),
                                  QStringLiteral("/esc\nape.txt")};
    for (const QString &name : badNames) {
        const QByteArray row =
            QStringLiteral("name \"%1\"").arg(name).toUtf8().replace('\n', "\\n");
        QTest::newRow(row.constData()) << buildArchive({valid.first(), {name, qCompress("evil")}});
    }
}

void TestArchive::hostileArchiveIsRefused()
{
    QFETCH(QByteArray, bytes);
    TestDir tmp;
    QVERIFY(tmp.isValid());
    QVERIFY(QDir(tmp.path()).mkpath(QStringLiteral("out")));
    setArchiveSetting(tmp.path() + QStringLiteral("/out"));
    UArchive *archive = UArchive::instance();

    // A panel opened before: a refused archive must leave its files alone.
    QVERIFY(writeFile(tmp.path() + QStringLiteral("/good.cpz"),
                      buildArchive({{QStringLiteral("/image/old.png"), qCompress("old")}})));
    QVERIFY2(archive->open(tmp.path() + QStringLiteral("/good.cpz")),
             qPrintable(archive->errorString()));
    const QString path = tmp.path() + QStringLiteral("/hostile.cpz");
    QVERIFY(writeFile(path, bytes));
    const QStringList before = snapshot(tmp.path());

    QVERIFY(!archive->open(path));
    QVERIFY2(archive->lastOpenFailed(), "a damaged archive must not be read as a plain panel file");
    QVERIFY2(archive->errorString().contains(path), qPrintable(archive->errorString()));
    QCOMPARE(archive->header().count(), 0);
    QCOMPARE(snapshot(tmp.path()), before);
}

void TestArchive::defaultFolderIsInTheCache()
{
    TestDir tmp;
    QVERIFY(tmp.isValid());
    QVERIFY(QDir(tmp.path()).mkpath(QStringLiteral("work")));
    const QByteArray oldCache = qgetenv("XDG_CACHE_HOME");
    const QString oldCurrent = QDir::currentPath();
    qputenv("XDG_CACHE_HOME", QFile::encodeName(tmp.path() + QStringLiteral("/cache")));
    QVERIFY(QDir::setCurrent(tmp.path() + QStringLiteral("/work")));

    const QString path = tmp.path() + QStringLiteral("/x.cpz");
    QVERIFY(writeFile(path, buildArchive({{QStringLiteral("/panel.cpf"), qCompress("p")}})));
    UArchive *archive = UArchive::instance();
    const bool opened = archive->open(path);
    const QString folder = archive->header().extractionFolder();
    const QString member = archive->findMember(QStringLiteral(".cpf"));
    const QStringList workEntries = QDir().entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    QDir::setCurrent(oldCurrent);
    qputenv("XDG_CACHE_HOME", oldCache);

    QVERIFY2(opened, qPrintable(archive->errorString()));
    QCOMPARE(folder,
             tmp.path() + QStringLiteral("/cache/Orvane/Zindral Remote builder 2.0/Archive"));
    QCOMPARE(member, folder + QStringLiteral("/panel.cpf"));
    QCOMPARE(readFile(member), QByteArray("p"));
    QCOMPARE(workEntries, QStringList());
}

void TestArchive::extractionFolderFromSetting_data()
{
    QTest::addColumn<QString>("setting");
    QTest::addColumn<QString>("folder");

    QTest::newRow("plain") << QStringLiteral("/data/panels")
                           << QStringLiteral("/data/panels/Archive");
    QTest::newRow("trailing slash") << QStringLiteral("/data/") << QStringLiteral("/data/Archive");
    QTest::newRow("backslashes") << QStringLiteral("D:\\Panels\\x")
                                 << QStringLiteral("D:/Panels/x/Archive");
}

void TestArchive::extractionFolderFromSetting()
{
    QFETCH(QString, setting);
    QFETCH(QString, folder);
    QCOMPARE(UArchive::extractionFolderFor(setting), folder);
}

void TestArchive::foreignFolderIsNotWiped_data()
{
    QTest::addColumn<QString>("existing"); // what lies at the extraction folder's place
    QTest::addColumn<bool>("opens");

    QTest::newRow("user folder") << QStringLiteral("user folder") << false;
    QTest::newRow("user file") << QStringLiteral("user file") << false;
    QTest::newRow("empty folder") << QStringLiteral("empty folder") << true;
    QTest::newRow("earlier extraction") << QStringLiteral("earlier extraction") << true;
}

void TestArchive::foreignFolderIsNotWiped()
{
    QFETCH(QString, existing);
    QFETCH(bool, opens);
    TestDir tmp;
    QVERIFY(tmp.isValid());
    QVERIFY(QDir(tmp.path()).mkpath(QStringLiteral("out")));
    setArchiveSetting(tmp.path() + QStringLiteral("/out"));
    const QString folder = tmp.path() + QStringLiteral("/out/Archive");
    const QString archivePath = tmp.path() + QStringLiteral("/x.cpz");
    QVERIFY(writeFile(archivePath, buildArchive({{QStringLiteral("/panel.cpf"), qCompress("p")}})));
    UArchive *archive = UArchive::instance();

    if (existing == QLatin1String("user file")) {
        QVERIFY(writeFile(folder, "precious"));
    } else if (existing == QLatin1String("earlier extraction")) {
        QVERIFY(writeFile(tmp.path() + QStringLiteral("/old.cpz"),
                          buildArchive({{QStringLiteral("/stale.cpf"), qCompress("s")}})));
        QVERIFY2(archive->open(tmp.path() + QStringLiteral("/old.cpz")),
                 qPrintable(archive->errorString()));
        QVERIFY(QFile::exists(folder + QStringLiteral("/stale.cpf")));
    } else {
        QVERIFY(QDir().mkpath(folder + QStringLiteral("/sub")));
        if (existing == QLatin1String("user folder"))
            QVERIFY(writeFile(folder + QStringLiteral("/sub/precious.txt"), "precious"));
        else
            QVERIFY(QDir(folder).rmdir(QStringLiteral("sub")));
    }
    const QStringList before = snapshot(tmp.path());

    QCOMPARE(archive->open(archivePath), opens);
    QCOMPARE(archive->lastOpenFailed(), !opens);
    if (opens) {
        QCOMPARE(readFile(folder + QStringLiteral("/panel.cpf")), QByteArray("p"));
        QVERIFY2(!QFile::exists(folder + QStringLiteral("/stale.cpf")),
                 "the earlier extraction was kept");
        // The next open may empty it again: the folder is now marked as ours.
        QVERIFY2(archive->open(archivePath), qPrintable(archive->errorString()));
    } else {
        QVERIFY2(archive->errorString().contains(folder), qPrintable(archive->errorString()));
        QCOMPARE(snapshot(tmp.path()), before);
    }
}

void TestArchive::failedWriteKeepsPreviousArchive_data()
{
    QTest::addColumn<QString>("failure");

    QTest::newRow("folder missing") << QStringLiteral("folder missing");
    QTest::newRow("folder read-only") << QStringLiteral("folder read-only");
    QTest::newRow("member too large") << QStringLiteral("member too large");
}

void TestArchive::failedWriteKeepsPreviousArchive()
{
    QFETCH(QString, failure);
    TestDir tmp;
    QVERIFY(tmp.isValid());
    const QString target = failure == QLatin1String("folder missing")
                               ? tmp.path() + QStringLiteral("/missing/panel.cpz")
                               : tmp.path() + QStringLiteral("/target/panel.cpz");
    const QByteArray previous = buildArchive({{QStringLiteral("/old.cpf"), qCompress("old")}});
    if (failure != QLatin1String("folder missing")) {
        QVERIFY(QDir(tmp.path()).mkpath(QStringLiteral("target")));
        QVERIFY(writeFile(target, previous));
    }
    const QString member = tmp.path() + QStringLiteral("/new.cpf");
    QVERIFY(writeFile(member, "<ZDX/>"));
    const QString targetFolder = QFileInfo(target).path();
    if (failure == QLatin1String("folder read-only")) {
        QVERIFY(QFile::setPermissions(targetFolder, QFile::ReadOwner | QFile::ExeOwner));
        QFile probe(targetFolder + QStringLiteral("/probe"));
        if (probe.open(QIODevice::WriteOnly)) {
            probe.close();
            probe.remove();
            QFile::setPermissions(targetFolder,
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            QSKIP("permissions do not bind this user (running as root)");
        }
    } else if (failure == QLatin1String("member too large")) {
        // Sparse: costs no disk, and the size check refuses it before reading.
        QFile big(tmp.path() + QStringLiteral("/big.png"));
        QVERIFY(big.open(QIODevice::WriteOnly));
        QVERIFY(big.resize(300LL * 1024 * 1024));
    }

    UArchive *archive = UArchive::instance();
    archive->setArchiveName(target);
    archive->addMember(member, QString());
    archive->addMember(tmp.path() + QStringLiteral("/big.png"), QStringLiteral("image"));
    const bool written = archive->write();
    QFile::setPermissions(targetFolder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QVERIFY2(!written, "the write was reported as a success");
    QVERIFY2(
        archive->errorString().startsWith(QStringLiteral("Cannot write file %1: ").arg(target)),
        qPrintable(archive->errorString()));
    QVERIFY2(archive->errorString().length() >
                 QStringLiteral("Cannot write file %1: ").arg(target).length(),
             "the reason is missing");
    if (failure == QLatin1String("folder missing")) {
        QVERIFY(!QFile::exists(target));
    } else {
        QCOMPARE(readFile(target), previous);
        QCOMPARE(
            QDir(targetFolder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList{QStringLiteral("panel.cpz")});
    }
    QVERIFY(QFile::exists(member));
}

ZRB_TEST_MAIN(TestArchive)
#include "tst_archive.moc"
