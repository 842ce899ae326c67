#include "common/TestSupport.h"
#include "common/TestDir.h"

#include <QGuiApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// Runs the real zrbtool executable and checks its output and exit status.
class TestZrbTool : public QObject
{
    Q_OBJECT

private:
    struct Result {
        int status = -1;
        QByteArray out;
        QByteArray err;
    };

    static Result run(const QStringList &arguments)
    {
        QProcess process;
        process.start(QStringLiteral(ZRBTOOL_PATH), arguments);
        Result result;
        if (!process.waitForFinished(120000)) {
            process.kill();
            process.waitForFinished();
            return result;
        }
        result.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        result.out = process.readAllStandardOutput();
        result.err = process.readAllStandardError();
        return result;
    }

    static QString blankTemplate()
    {
        return QStringLiteral(ZRB_SOURCE_DIR "/templates/Blank Panel.tpl");
    }

    // Lines of standard error that are the tool's own (Qt may add its own
    // environment notes).
    static QStringList toolLines(const QByteArray &err)
    {
        QStringList lines;
        for (const QString &line : QString::fromUtf8(err).split(QLatin1Char('\n'))) {
            if (line.startsWith(QLatin1String("zrbtool:")))
                lines << line;
        }
        return lines;
    }

private slots:
    void usage_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::newRow("help") << QStringList{"--help"} << 0;
        QTest::newRow("command help") << QStringList{"info", "--help"} << 0;
        QTest::newRow("version") << QStringList{"--version"} << 0;
        QTest::newRow("nothing") << QStringList{} << 2;
        QTest::newRow("unknown command") << QStringList{"explode"} << 2;
        QTest::newRow("info without file") << QStringList{"info"} << 2;
        QTest::newRow("info with two files") << QStringList{"info", "a", "b"} << 2;
        QTest::newRow("unknown option") << QStringList{"info", "--xml", "a"} << 2;
        QTest::newRow("convert with one file") << QStringList{"convert", "a"} << 2;
        QTest::newRow("design without file") << QStringList{"design", "--json"} << 2;
    }

    void usage()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        const Result result = run(arguments);
        QCOMPARE(result.status, status);
        if (status == 0)
            QVERIFY(!result.out.isEmpty());
        else
            QCOMPARE(toolLines(result.err).count(), 1);
        if (arguments == QStringList{"--version"})
            QCOMPARE(result.out, QByteArray("zrbtool " ZRB_VERSION "\n"));
    }

    void unreadableFilesFailWithOneLine_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("missing") << QByteArray();
        QTest::newRow("not xml") << QByteArray("\x10\x00\x00\x00\xff\xff\xff\xff", 8);
        QTest::newRow("broken xml") << QByteArray("<?xml version=\"1.0\"?><ZDX><Controls></ZDX>");
    }

    void unreadableFilesFailWithOneLine()
    {
        QFETCH(QByteArray, bytes);
        TestDir dir;
        const QString path = dir.path() + QStringLiteral("/input.cpf");
        if (!bytes.isEmpty()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        }
        for (const QStringList &arguments :
             {QStringList{"info", path}, QStringList{"convert", path, dir.path() + "/out.cpz"}}) {
            const Result result = run(arguments);
            QCOMPARE(result.status, 1);
            const QStringList lines = toolLines(result.err);
            QCOMPARE(lines.count(), 1);
            QVERIFY2(lines.first().contains(path), qPrintable(lines.first()));
            QVERIFY(result.out.isEmpty());
        }
        QVERIFY(!QFile::exists(dir.path() + "/out.cpz"));
    }

    void infoJsonDescribesTheDocument()
    {
        const Result result = run({"info", "--json", blankTemplate()});
        QCOMPARE(result.status, 0);
        QJsonParseError error;
        const QJsonObject report = QJsonDocument::fromJson(result.out, &error).object();
        QCOMPARE(error.error, QJsonParseError::NoError);
        for (const char *key : {"canvas", "project", "connections", "collections"})
            QVERIFY2(report.contains(QLatin1String(key)), key);
        QCOMPARE(report.value("project").toObject().value("Facility").toObject().value("name").toString(),
                 QStringLiteral("SITE NAME"));
        QVERIFY(report.value("project").toObject().contains("BusinessManeger"));
        const QJsonArray collections = report.value("collections").toArray();
        QCOMPARE(collections.count(), 1);
        const QJsonArray controls = collections[0].toObject().value("panels").toArray()[0]
                                        .toObject().value("controls").toArray();
        QCOMPARE(controls.count(), 2);
        QCOMPARE(controls[1].toObject().value("name").toString(), QStringLiteral("Title"));
        QVERIFY(controls[1].toObject().value("attributes").isNull());
        for (const char *key : {"name", "type", "id", "block", "connection", "attributes", "items"})
            QVERIFY2(controls[0].toObject().contains(QLatin1String(key)), key);
        // Every value of every item, as the file holds it.
        const QJsonArray items = controls[1].toObject().value("items").toArray();
        QCOMPARE(items.count(), 1);
        const QJsonObject label = items[0].toObject();
        QCOMPARE(label.value("type").toString(), QStringLiteral("label"));
        QCOMPARE(label.value("width").toDouble(), 260.0);
        const QJsonObject values = label.value("values").toObject();
        QCOMPARE(values.value("text").toString(), QStringLiteral("Home"));
        QCOMPARE(values.value("align").toString(), QStringLiteral("center"));
        QCOMPARE(values.value("x").toString(), QStringLiteral("20"));
    }

    void convertRoundTrips()
    {
        TestDir dir;
        const QString first = dir.path() + QStringLiteral("/first.cpz");
        const QString second = dir.path() + QStringLiteral("/second.cpz");
        QCOMPARE(run({"convert", blankTemplate(), first}).status, 0);
        QVERIFY(QFile::exists(first));
        QVERIFY(!QFile::exists(dir.path() + QStringLiteral("/first.cpf")));
        QCOMPARE(run({"convert", first, second}).status, 0);
        const Result a = run({"info", "--json", first});
        const Result b = run({"info", "--json", second});
        QCOMPARE(a.status, 0);
        QCOMPARE(b.status, 0);
        QCOMPARE(a.out, b.out);
    }
};

ZRB_MODEL_TEST_MAIN(TestZrbTool)
#include "tst_zrbtool.moc"
