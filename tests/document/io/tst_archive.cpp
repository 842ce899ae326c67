#include "common/TestSupport.h"
#include "common/TestDir.h"

#include "document/io/UArchive.h"
#include "document/io/UArchiveHeaderRecord.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QGuiApplication>
#include <QRandomGenerator>
#include <QSettings>
#include <QUrl>
#include <QtEndian>
#include <QtTest>

#include <memory>

namespace {

using Members = QList<QPair<QString, QByteArray>>;

QByteArray be32(quint32 value)
{
    char bytes[4];
    qToBigEndian<quint32>(value, bytes);
    return QByteArray(bytes, 4);
}

QByteArray utf16(const QString &text, bool bigEndian)
{
    QByteArray bytes;
    for (const QChar c : text) {
        const char high = char(c.unicode() >> 8);
        const char low = char(c.unicode() & 0xFF);
        bytes.append(bigEndian ? high : low).append(bigEndian ? low : high);
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
        header += be32(quint32(member.first.length())) + utf16(member.first, false);
        header += be32(headerSize + quint32(data.size())) + be32(quint32(member.second.size()));
        data += member.second;
    }
    return header + data;
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

// Points the setting at a folder "out" of tmp; answers the base folder the
// archives extract under.
QString useOutFolder(const TestDir &tmp)
{
    QDir(tmp.path()).mkpath(QStringLiteral("out"));
    setArchiveSetting(tmp.path() + QStringLiteral("/out"));
    return tmp.path() + QStringLiteral("/out/Archive");
}

QStringList memberNames(const UArchive &archive)
{
    QStringList names;
    for (const UArchiveHeaderRecord *record : archive.header().records())
        names << record->name;
    return names;
}

} // namespace

class TestArchive : public QObject
{
    Q_OBJECT

private slots:
    void init() { setArchiveSetting(QString()); }

    void writtenLayoutIsByteExact_data()
    {
        QTest::addColumn<Members>("files"); // file name and content
        QTest::addColumn<QStringList>("folders");
        QTest::addColumn<quint32>("headerSize");

        QTest::newRow("empty") << Members() << QStringList() << quint32(8);
        QTest::newRow("one member")
            << Members{{QStringLiteral("abcdefgh"), QByteArray("panel content ").repeated(50)}}
            << QStringList{QString()} << quint32(8 + 12 + 2 * 9);
        QTest::newRow("panel and design")
            << Members{{QStringLiteral("panel.cpf"), QByteArray("<ZDX>panel</ZDX>\n").repeated(20)},
                       {QStringLiteral("design.zdp"),
                        QByteArray("<Project version=\"4.2\"/>\n").repeated(30)}}
            << QStringList{QString(), QStringLiteral("project")}
            << quint32(8 + (12 + 2 * 10) + (12 + 2 * 19));
    }

    void writtenLayoutIsByteExact()
    {
        QFETCH(Members, files);
        QFETCH(QStringList, folders);
        QFETCH(quint32, headerSize);
        TestDir tmp;
        QVERIFY(tmp.isValid());
        UArchive archive;
        archive.setArchiveName(tmp.filePath(QStringLiteral("panel.cpf")));
        QCOMPARE(archive.archiveName(), tmp.filePath(QStringLiteral("panel.cpz")));
        Members expected;
        for (int i = 0; i < files.count(); ++i) {
            const QString source = tmp.filePath(files.at(i).first);
            QVERIFY(writeFile(source, files.at(i).second));
            QCOMPARE(archive.addMember(source, folders.at(i)), source);
            const QString folder =
                folders.at(i).isEmpty() ? QString() : QLatin1Char('/') + folders.at(i);
            expected << qMakePair(folder + QLatin1Char('/') + files.at(i).first,
                                  qCompress(files.at(i).second));
        }
        QCOMPARE(archive.header().headerSize(), headerSize);
        QVERIFY2(archive.write(), qPrintable(archive.errorString()));

        const QByteArray actual = readFile(archive.archiveName());
        const QByteArray bytes = buildArchive(expected);
        QCOMPARE(actual.left(int(headerSize)).toHex(' '), bytes.left(int(headerSize)).toHex(' '));
        QCOMPARE(actual, bytes);
        // The first member's data starts right after the header.
        if (!files.isEmpty())
            QCOMPARE(actual.mid(12 + 2 * expected.first().first.length(), 4), be32(headerSize));
    }

    void roundTripRestoresEveryMember()
    {
        TestDir tmp;
        QVERIFY(tmp.isValid());
        QVERIFY(QDir(tmp.path()).mkpath(QStringLiteral("src/images")));
        const QString base = useOutFolder(tmp);

        // Random bytes do not compress, so the data runs over several inflate chunks.
        QByteArray noise(300 * 1024, Qt::Uninitialized);
        QRandomGenerator generator(42);
        for (char &c : noise)
            c = char(generator.bounded(256));
        const QString src = tmp.path() + QStringLiteral("/src/");
        const QByteArray panel = QByteArray("\xFE\xFF") +
                                 utf16(QStringLiteral("<?xml version=\"1.0\"?>\n<ZDX/>\n"), true);
        // Path, folder and content; a null content leaves the file missing.
        const QList<std::tuple<QString, QString, QByteArray>> sources = {
            {src + QStringLiteral("panel.cpf"), QString(), panel},
            {src + QStringLiteral("design.zdp"), QStringLiteral("project"),
             QByteArray("<Project/>\n").repeated(1000)},
            {src + QStringLiteral("images/noise.png"), QStringLiteral("image"), noise},
            {src + QStringLiteral("images/empty.png"), QStringLiteral("image"), QByteArray("")},
            {QUrl::fromLocalFile(src + QStringLiteral("images/url.png")).toString(),
             QStringLiteral("image"), QByteArray("url image")},
            {src + QStringLiteral("images/missing.png"), QStringLiteral("image"), QByteArray()}};

        UArchive written;
        written.setArchiveName(src + QStringLiteral("panel.cpf"));
        for (const auto &[path, folder, content] : sources) {
            const QUrl url(path);
            if (!content.isNull())
                QVERIFY(writeFile(url.isLocalFile() ? url.toLocalFile() : path, content));
            written.addMember(path, folder);
        }
        QVERIFY2(written.write(), qPrintable(written.errorString()));

        UArchive archive;
        QVERIFY2(archive.open(src + QStringLiteral("panel.cpz")),
                 qPrintable(archive.errorString()));
        QVERIFY(!archive.lastOpenFailed());
        const QString folder = archive.header().extractionFolder();
        QVERIFY2(folder.startsWith(
                     QStringLiteral("%1/%2-").arg(base).arg(QCoreApplication::applicationPid())),
                 qPrintable(folder));
        QCOMPARE(memberNames(archive), memberNames(written));
        for (int i = 0; i < sources.count(); ++i) {
            const QString path = archive.header().records().at(i)->path;
            QCOMPARE(path, folder + memberNames(written).at(i));
            QVERIFY2(readFile(path) == std::get<2>(sources.at(i)),
                     qPrintable(QStringLiteral("extracted %1 differs from its source").arg(path)));
        }
    }

    void addMemberRules_data()
    {
        QTest::addColumn<QStringList>("paths");
        QTest::addColumn<QStringList>("folders");
        QTest::addColumn<QStringList>("names");

        QTest::newRow("empty path") << QStringList{""} << QStringList{""} << QStringList{};
        QTest::newRow("parent reference")
            << QStringList{"/a/../b/pic.png"} << QStringList{"image"} << QStringList{};
        QTest::newRow("same path twice")
            << QStringList{"/a/pic.png", "/a/pic.png"} << QStringList{"image", "image"}
            << QStringList{"/image/pic.png"};
        QTest::newRow("same name in two folders")
            << QStringList{"/a/pic.png", "/b/pic.png"} << QStringList{"image", "image"}
            << QStringList{"/image/pic.png", "/image/pic.png"};
        QTest::newRow("panel, design and image")
            << QStringList{"/p/x.cpf", "/d/y.zdp", "file:///i/z.png"}
            << QStringList{"", "project", "image"}
            << QStringList{"/x.cpf", "/project/y.zdp", "/image/z.png"};
    }

    void addMemberRules()
    {
        QFETCH(QStringList, paths);
        QFETCH(QStringList, folders);
        QFETCH(QStringList, names);
        UArchive archive;
        for (int i = 0; i < paths.count(); ++i)
            QCOMPARE(archive.addMember(paths.at(i), folders.at(i)), paths.at(i));
        QCOMPARE(memberNames(archive), names);
    }

    void xmlTest_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("isArchive");

        const QString xml =
            QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n<ZDX>\n</ZDX>\n");
        QTest::newRow("UTF-8") << xml.toUtf8() << false;
        QTest::newRow("UTF-8 with mark") << QByteArray("\xEF\xBB\xBF") + xml.toUtf8() << false;
        QTest::newRow("UTF-16 LE with mark") << QByteArray("\xFF\xFE") + utf16(xml, false) << false;
        QTest::newRow("UTF-16 BE with mark") << QByteArray("\xFE\xFF") + utf16(xml, true) << false;
        QTest::newRow("too short") << QByteArray("\x10\x00", 2) << false;
        QTest::newRow("archive") << buildArchive({{QStringLiteral("/a.cpf"), qCompress("x")}})
                                 << true;
    }

    void xmlTest()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, isArchive);
        TestDir tmp;
        QVERIFY(tmp.isValid());
        useOutFolder(tmp);
        const QString path = tmp.filePath(QStringLiteral("file.cpz"));
        QVERIFY(writeFile(path, bytes));

        QCOMPARE(UArchive::isArchive(path), isArchive);
        UArchive archive;
        QCOMPARE(archive.open(path), isArchive);
        // A plain panel file is not a failed archive: the caller reads it as XML.
        QVERIFY2(!archive.lastOpenFailed(), qPrintable(archive.errorString()));
        QCOMPARE(UArchive::isArchive(tmp.filePath(QStringLiteral("missing.cpz"))), false);
    }

    void lookups_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<bool>("redirect");  // an image path, else a fragment to find
        QTest::addColumn<QString>("member"); // empty: no match expected

        QTest::newRow("find panel") << ".cpf" << false << "/panel.cpf";
        QTest::newRow("find first design") << ".zdp" << false << "/project/d.zdp";
        QTest::newRow("find in other case") << ".CPF" << false << "";
        QTest::newRow("find nothing") << ".gif" << false << "";
        QTest::newRow("windows path") << "C:/Users/me/pic.png" << true << "/image/pic.png";
        QTest::newRow("file url") << "file:///home/me/logo.jpg" << true << "/image/logo.jpg";
        QTest::newRow("no slash") << "pic.png" << true << "";
        QTest::newRow("other case") << "/x/PIC.png" << true << "";
        QTest::newRow("unknown") << "/x/other.png" << true << "";
        QTest::newRow("folder only") << "/x/image/" << true << "";
    }

    void lookups()
    {
        QFETCH(bool, redirect);
        QFETCH(QString, query);
        QFETCH(QString, member);
        TestDir tmp;
        QVERIFY(tmp.isValid());
        useOutFolder(tmp);
        Members members;
        for (const char *name : {"/panel.cpf", "/project/d.zdp", "/image/pic.png",
                                 "/image/logo.jpg", "/project/e.zdp"})
            members << qMakePair(QString::fromLatin1(name), qCompress(name));
        // Lookups answer the first of two members of one name, so its bytes
        // must be the ones on disk.
        members << qMakePair(QStringLiteral("/image/pic.png"), qCompress("second"));
        const QString path = tmp.filePath(QStringLiteral("x.cpz"));
        QVERIFY(writeFile(path, buildArchive(members)));
        UArchive archive;
        QVERIFY2(archive.open(path), qPrintable(archive.errorString()));
        QCOMPARE(archive.archiveName(), path);
        const QString folder = archive.header().extractionFolder();

        QString answer = redirect ? query : archive.findMember(query);
        if (redirect)
            QCOMPARE(archive.redirectImagePath(answer), !member.isEmpty());
        if (member.isEmpty()) {
            QCOMPARE(answer, redirect ? query : QString());
        } else {
            const QString file = folder + member;
            QCOMPARE(answer, redirect ? QUrl::fromLocalFile(file).toString() : file);
            QCOMPARE(readFile(file), member.toLatin1());
        }

        // A cleared header answers nothing; the files stay until the archive goes.
        archive.clearHeader();
        answer = query;
        QVERIFY(redirect ? !archive.redirectImagePath(answer)
                         : archive.findMember(query).isEmpty());
        QCOMPARE(archive.header().extractionFolder(), folder);
        QVERIFY(QFile::exists(folder + QStringLiteral("/panel.cpf")));
    }

    void hostileArchiveIsRefused_data()
    {
        QTest::addColumn<QByteArray>("bytes");

        const QByteArray packed = qCompress(QByteArray("image bytes ").repeated(100));
        const Members valid = {{QStringLiteral("/first.txt"), qCompress("first")},
                               {QStringLiteral("/image/pic.png"), packed}};
        // Offset and size fields of the first record ("/first.txt", 10 code units).
        const int firstOffset = 8 + 4 + 20;
        const int firstSize = firstOffset + 4;
        const QByteArray validBytes = buildArchive(valid);
        const auto patched = [&validBytes](int position, quint32 value) {
            return QByteArray(validBytes).replace(position, 4, be32(value));
        };
        const quint32 end = quint32(validBytes.size());
        QTest::newRow("count beyond file") << patched(4, 100000);
        QTest::newRow("count of four billion") << patched(4, 0xFFFFFFFF);
        QTest::newRow("name length beyond file") << patched(8, 0x7FFFFFFF);
        QTest::newRow("offset beyond file") << patched(firstOffset, end + 10);
        QTest::newRow("size beyond file") << patched(firstSize, end);
        QTest::newRow("size of four GiB") << patched(firstSize, 0xFFFFFFFF);
        QTest::newRow("header cut short") << buildArchive(valid).left(20);
        QTest::newRow("only the format word") << QByteArray::fromHex("10000000");

        QByteArray huge = qCompress("small");
        huge.replace(0, 4, be32(0xFFFFFF00));
        // Data that inflates far past its stated length, as a decompression bomb does.
        QByteArray bomb = qCompress(QByteArray(4 * 1024 * 1024, 'a'));
        bomb.replace(0, 4, be32(1000));
        QByteArray shortClaim = packed;
        shortClaim.replace(0, 4, be32(2000));
        const Members badData = {
            {QStringLiteral("huge claimed size"), huge},
            {QStringLiteral("inflates past its claim"), bomb},
            {QStringLiteral("inflates short of its claim"), shortClaim},
            {QStringLiteral("corrupt zlib data"), be32(100) + QByteArray(60, '\x55')},
            {QStringLiteral("truncated zlib data"), packed.left(packed.size() / 2)},
            {QStringLiteral("three data bytes"), "abc"}};
        for (const auto &row : badData) {
            QTest::newRow(qPrintable(row.first))
                << buildArchive({valid.first(), {QStringLiteral("/d"), row.second}});
        }

        // Names that could reach outside the extraction folder or clash with its marker.
        const QStringList badNames =
            QStringLiteral("/../escape.txt|/image/../../escape.txt|..|//tmp/escape.txt|"
                           "/C:/escape.txt|c:escape.txt|/image\\escape.txt|\\..\\escape.txt||/|"
                           "/image/|/./escape.txt|/.zrb-archive|/esc\nape.txt")
                .split(QLatin1Char('|'));
        for (const QString &name : badNames) {
            const QByteArray row =
                QStringLiteral("name \"%1\"").arg(name).toUtf8().replace('\n', "\\n");
            QTest::newRow(row.constData())
                << buildArchive({valid.first(), {name, qCompress("evil")}});
        }
    }

    void hostileArchiveIsRefused()
    {
        QFETCH(QByteArray, bytes);
        TestDir tmp;
        QVERIFY(tmp.isValid());
        useOutFolder(tmp);

        // The open document's archive: a refused one must leave its files alone.
        UArchive current;
        QVERIFY(writeFile(tmp.filePath(QStringLiteral("good.cpz")),
                          buildArchive({{QStringLiteral("/image/old.png"), qCompress("old")}})));
        QVERIFY2(current.open(tmp.filePath(QStringLiteral("good.cpz"))),
                 qPrintable(current.errorString()));
        const QString path = tmp.filePath(QStringLiteral("hostile.cpz"));
        QVERIFY(writeFile(path, bytes));
        const QStringList before = snapshot(tmp.path());

        UArchive archive;
        QVERIFY(!archive.open(path));
        QVERIFY2(archive.lastOpenFailed(),
                 "a damaged archive must not be read as a plain panel file");
        QVERIFY2(archive.errorString().contains(path), qPrintable(archive.errorString()));
        QCOMPARE(archive.header().count(), 0);
        QCOMPARE(snapshot(tmp.path()), before);
    }

    void defaultFolderIsInTheCache()
    {
        TestDir tmp;
        QVERIFY(tmp.isValid());
        QVERIFY(QDir(tmp.path()).mkpath(QStringLiteral("work")));
        const QByteArray oldCache = qgetenv("XDG_CACHE_HOME");
        const QString oldCurrent = QDir::currentPath();
        qputenv("XDG_CACHE_HOME", QFile::encodeName(tmp.filePath(QStringLiteral("cache"))));
        QVERIFY(QDir::setCurrent(tmp.filePath(QStringLiteral("work"))));

        const QString path = tmp.filePath(QStringLiteral("x.cpz"));
        QVERIFY(writeFile(path, buildArchive({{QStringLiteral("/panel.cpf"), qCompress("p")}})));
        UArchive archive;
        const bool opened = archive.open(path);
        const QString folder = archive.header().extractionFolder();
        const QString member = archive.findMember(QStringLiteral(".cpf"));
        const QStringList workEntries = QDir().entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        QDir::setCurrent(oldCurrent);
        qputenv("XDG_CACHE_HOME", oldCache);

        QVERIFY2(opened, qPrintable(archive.errorString()));
        QCOMPARE(QFileInfo(folder).path(),
                 tmp.filePath(QStringLiteral("cache/Orvane/Zindral Remote builder 2.0/Archive")));
        QCOMPARE(member, folder + QStringLiteral("/panel.cpf"));
        QCOMPARE(readFile(member), QByteArray("p"));
        QCOMPARE(workEntries, QStringList());
    }

    void extractionFolderFromSetting_data()
    {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<QString>("folder");

        QTest::newRow("plain") << QString("/data/panels") << QString("/data/panels/Archive");
        QTest::newRow("trailing slash") << QString("/data/") << QString("/data/Archive");
        QTest::newRow("backslashes") << QString("D:\\Panels\\x") << QString("D:/Panels/x/Archive");
    }

    void extractionFolderFromSetting()
    {
        QFETCH(QString, setting);
        QFETCH(QString, folder);
        QCOMPARE(UArchive::extractionFolderFor(setting), folder);
    }

    // Two documents open at once each extract into a folder of their own, and
    // closing one takes its folder and nothing else; folders left by ended
    // runs are cleared away.
    void eachArchiveOwnsItsFolder()
    {
        TestDir tmp;
        QVERIFY(tmp.isValid());
        const QString base = useOutFolder(tmp);
        QVERIFY(QDir().mkpath(base + QStringLiteral("/user")));
        QVERIFY(writeFile(base + QStringLiteral("/user/precious.txt"), "precious"));
        QVERIFY(writeFile(base + QStringLiteral("/notes.txt"), "notes"));
        // Named like ours, but unmarked or of a running process (init): kept.
        for (const char *folder : {"999999999-Abc123", "1-Abc123"}) {
            QVERIFY(QDir(base).mkdir(QLatin1String(folder)));
            if (*folder == '1')
                QVERIFY(writeFile(base + QStringLiteral("/1-Abc123/.zrb-archive"), "m"));
        }
        const QStringList before = snapshot(base);
        // A marked folder of a process that has ended goes at the next open.
        if (QFileInfo::exists(QStringLiteral("/proc/self"))) {
            QVERIFY(QDir(base).mkpath(QStringLiteral("999999999-Xyz789/image")));
            QVERIFY(writeFile(base + QStringLiteral("/999999999-Xyz789/.zrb-archive"), "m"));
        }

        std::unique_ptr<UArchive> archives[2];
        QString folders[2];
        for (int i = 0; i < 2; ++i) {
            const QString path = tmp.filePath(QStringLiteral("%1.cpz").arg(i));
            const QByteArray content = QByteArray::number(i).repeated(i + 1);
            QVERIFY(writeFile(path,
                              buildArchive({{QStringLiteral("/panel.cpf"), qCompress(content)}})));
            archives[i] = std::make_unique<UArchive>();
            QVERIFY2(archives[i]->open(path), qPrintable(archives[i]->errorString()));
            folders[i] = archives[i]->header().extractionFolder();
            QCOMPARE(QFileInfo(folders[i]).path(), base);
            QVERIFY(QFile::exists(folders[i] + QStringLiteral("/.zrb-archive")));
        }
        QVERIFY2(folders[0] != folders[1], qPrintable(folders[0]));
        QCOMPARE(readFile(archives[0]->findMember(QStringLiteral(".cpf"))), QByteArray("0"));
        QCOMPARE(readFile(archives[1]->findMember(QStringLiteral(".cpf"))), QByteArray("11"));

        archives[1].reset();
        QVERIFY2(!QFileInfo::exists(folders[1]), qPrintable(folders[1]));
        QCOMPARE(readFile(archives[0]->findMember(QStringLiteral(".cpf"))), QByteArray("0"));
        archives[0].reset();
        QCOMPARE(snapshot(base), before);
    }

    // Pictures may still be being written when open() returns; one that
    // cannot be written fails the open all the same and takes the folder with
    // it, while the panel file is there at once.
    void picturesWrittenLater_data()
    {
        QTest::addColumn<bool>("later");
        QTest::addColumn<bool>("blocked");
        for (const bool later : {false, true}) {
            for (const bool blocked : {false, true})
                QTest::addRow("%s%s", later ? "later" : "at once",
                              blocked ? ", a file where a folder goes" : "")
                    << later << blocked;
        }
    }

    void picturesWrittenLater()
    {
        QFETCH(bool, later);
        QFETCH(bool, blocked);
        TestDir tmp;
        QVERIFY(tmp.isValid());
        const QString base = useOutFolder(tmp);
        Members members = {{QStringLiteral("/panel.cpf"), qCompress("p")},
                           {QStringLiteral("/image/a.png"), qCompress("a")},
                           {QStringLiteral("/image/b.png"), qCompress("b")}};
        if (blocked)
            members.insert(1, {QStringLiteral("/image"), qCompress("in the way")});
        const QString path = tmp.filePath(QStringLiteral("x.cpz"));
        QVERIFY(writeFile(path, buildArchive(members)));

        UArchive archive;
        const bool opened = archive.open(path, later);
        QCOMPARE(opened, later || !blocked);
        // The panel file can be read at once, from memory while it is written.
        if (opened) {
            const QString member = archive.findMember(QStringLiteral(".cpf"));
            QByteArray panel;
            QCOMPARE(archive.pendingContent(member, &panel), later);
            QCOMPARE(later ? panel : readFile(member), QByteArray("p"));
        }
        const QString folder = archive.header().extractionFolder();
        const bool finished = opened && archive.finishOpen();
        QCOMPARE(finished, !blocked);
        if (blocked) {
            QVERIFY(archive.lastOpenFailed());
            QVERIFY2(archive.errorString().contains(QStringLiteral("/image")),
                     qPrintable(archive.errorString()));
            QCOMPARE(archive.header().count(), 0);
            QCOMPARE(snapshot(base), QStringList());
            return;
        }
        QVERIFY(QFile::exists(folder + QStringLiteral("/.zrb-archive")));
        QCOMPARE(readFile(folder + QStringLiteral("/panel.cpf")), QByteArray("p"));
        QCOMPARE(readFile(folder + QStringLiteral("/image/a.png")), QByteArray("a"));
        QCOMPARE(readFile(folder + QStringLiteral("/image/b.png")), QByteArray("b"));
    }

    void unusableBaseFolderIsRefused_data()
    {
        QTest::addColumn<QString>("setting"); // below tmp
        QTest::addColumn<bool>("fileInTheWay");

        QTest::newRow("file in the way") << QStringLiteral("out") << true;
        QTest::newRow("setting names a missing folder") << QStringLiteral("gone/out") << false;
    }

    void unusableBaseFolderIsRefused()
    {
        QFETCH(QString, setting);
        QFETCH(bool, fileInTheWay);
        TestDir tmp;
        QVERIFY(tmp.isValid());
        setArchiveSetting(tmp.filePath(setting));
        const QString base = tmp.filePath(setting + QStringLiteral("/Archive"));
        const QString path = tmp.filePath(QStringLiteral("x.cpz"));
        QVERIFY(writeFile(path, buildArchive({{QStringLiteral("/panel.cpf"), qCompress("p")}})));
        if (fileInTheWay) {
            QVERIFY(QDir(tmp.path()).mkdir(setting));
            QVERIFY(writeFile(base, "precious"));
        }
        const QStringList before = snapshot(tmp.path());

        UArchive archive;
        QVERIFY(!archive.open(path));
        QVERIFY(archive.lastOpenFailed());
        QVERIFY2(archive.errorString().contains(base), qPrintable(archive.errorString()));
        QCOMPARE(snapshot(tmp.path()), before);
    }

    void writeReplacesOrKeepsPreviousArchive_data()
    {
        QTest::addColumn<QString>("failure"); // empty: the write succeeds

        for (const char *failure : {"", "folder missing", "folder read-only", "member too large"})
            QTest::newRow(*failure ? failure : "written") << QString::fromLatin1(failure);
    }

    // A save writes the archive and removes the panel file beside it; a failed
    // one keeps both the panel file and the archive saved before.
    void writeReplacesOrKeepsPreviousArchive()
    {
        QFETCH(QString, failure);
        TestDir tmp;
        QVERIFY(tmp.isValid());
        const bool missing = failure == QLatin1String("folder missing");
        const QString folder =
            tmp.filePath(missing ? QStringLiteral("missing") : QStringLiteral("target"));
        const QString target = folder + QStringLiteral("/panel.cpz");
        const QByteArray previous = buildArchive({{QStringLiteral("/old.cpf"), qCompress("old")}});
        if (!missing) {
            QVERIFY(QDir(tmp.path()).mkpath(QStringLiteral("target")));
            QVERIFY(writeFile(target, previous));
        }
        const QString panel = missing ? tmp.filePath(QStringLiteral("panel.cpf"))
                                      : folder + QStringLiteral("/panel.cpf");
        QVERIFY(writeFile(panel, "<ZDX/>"));
        if (failure == QLatin1String("folder read-only")) {
            QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
            QFile probe(folder + QStringLiteral("/probe"));
            if (probe.open(QIODevice::WriteOnly)) {
                probe.remove();
                QFile::setPermissions(folder,
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
                QSKIP("permissions do not bind this user (running as root)");
            }
        } else if (failure == QLatin1String("member too large")) {
            // Sparse: costs no disk, and the size check refuses it before reading.
            QFile big(tmp.filePath(QStringLiteral("big.png")));
            QVERIFY(big.open(QIODevice::WriteOnly));
            QVERIFY(big.resize(300LL * 1024 * 1024));
        }

        UArchive archive;
        archive.setArchiveName(target);
        archive.addMember(panel, QString());
        archive.addMember(tmp.filePath(QStringLiteral("big.png")), QStringLiteral("image"));
        const bool written = archive.writeAndCleanUp();
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        QCOMPARE(written, failure.isEmpty());
        QCOMPARE(QFile::exists(panel), !written);
        if (written) {
            // A member whose file is missing is stored empty.
            QCOMPARE(readFile(target),
                     buildArchive({{QStringLiteral("/panel.cpf"), qCompress("<ZDX/>")},
                                   {QStringLiteral("/image/big.png"), QByteArray()}}));
            return;
        }
        const QString prefix = QStringLiteral("Cannot write file %1: ").arg(target);
        QVERIFY2(archive.errorString().startsWith(prefix) &&
                     archive.errorString().length() > prefix.length(),
                 qPrintable(archive.errorString()));
        if (missing) {
            QVERIFY(!QFile::exists(target));
        } else {
            QCOMPARE(readFile(target), previous);
            QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                     (QStringList{QStringLiteral("panel.cpf"), QStringLiteral("panel.cpz")}));
        }
    }
};

ZRB_MODEL_TEST_MAIN(TestArchive)
#include "tst_archive.moc"
