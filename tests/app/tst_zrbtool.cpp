#include "common/TestSupport.h"
#include "common/TestDir.h"

#include "document/CCanvas.h"
#include "document/CComposite.h"
#include "document/CDocument.h"
#include "document/CItemRecord.h"

#include <QDir>
#include <QGuiApplication>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QSet>
#include <QTest>
#include <QTransform>

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

    static QString example()
    {
        return QStringLiteral(ZRB_SOURCE_DIR "/examples/conference-room.cpz");
    }

    // Where the canvas draws a panel: its bounds fill the height between the
    // tool bar and the status bar (8.5 % and 8 % of the picture), centred
    // across.
    static QTransform canvasTransform(const QRectF &bounds, const QSize &picture)
    {
        const double s = picture.height() * (1.0 - 0.085 - 0.08) / bounds.height();
        return QTransform(s, 0, 0, s, (picture.width() - s * bounds.width()) / 2.0 - s * bounds.x(),
                          picture.height() * 0.085);
    }

    // How many colours the pixels whose centres lie in the area have.
    static int colours(const QImage &picture, const QRectF &area)
    {
        QSet<QRgb> seen;
        for (int y = qCeil(area.top() - 0.5); y + 0.5 < area.bottom(); ++y) {
            for (int x = qCeil(area.left() - 0.5); x + 0.5 < area.right(); ++x) {
                if (picture.rect().contains(x, y))
                    seen.insert(picture.pixel(x, y));
            }
        }
        return seen.size();
    }

    static QRectF boundsOf(const CComposite *panel)
    {
        for (const CControl *control : panel->children()) {
            for (const CItemRecord &record : control->itemRecords()) {
                if (record.type() == QLatin1String("bounds"))
                    return record.geometry();
            }
        }
        return QRectF();
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
             {QStringList{"info", path}, QStringList{"convert", path, dir.path() + "/out.cpz"},
              QStringList{"render", "-o", dir.path(), path}}) {
            const Result result = run(arguments);
            QCOMPARE(result.status, 1);
            const QStringList lines = toolLines(result.err);
            QCOMPARE(lines.count(), 1);
            QVERIFY2(lines.first().contains(path), qPrintable(lines.first()));
            QVERIFY(result.out.isEmpty());
        }
        QVERIFY(!QFile::exists(dir.path() + "/out.cpz"));
    }

    void renderDrawsEveryControl_data()
    {
        QTest::addColumn<double>("factor");
        QTest::newRow("canvas size") << 1.0;
        QTest::newRow("doubled") << 2.0;
    }

    // Every panel of the example becomes one picture, named after its
    // collection and panel, at the canvas's size; each control of every type
    // is drawn where the file puts it.
    void renderDrawsEveryControl()
    {
        QFETCH(double, factor);
        TestDir dir;
        const Result result =
            run({"render", "-o", dir.path(), "--scale", QString::number(factor), example()});
        QCOMPARE(result.status, 0);
        CCanvas canvas;
        CDocument document;
        document.setCanvas(&canvas);
        QVERIFY2(document.open(example()), qPrintable(document.lastError()));
        canvas.setDpiOverride(96.0f);
        canvas.computePixelSize();
        const QSize size(int(canvas.width() * factor), int(canvas.height() * factor));

        QStringList pictures;
        QSet<QString> types;
        for (CControl *node : document.root()->children()) {
            const auto *collection = dynamic_cast<CComposite *>(node);
            QVERIFY(collection);
            for (CControl *page : collection->children()) {
                const auto *panel = dynamic_cast<CComposite *>(page);
                QVERIFY(panel);
                const QString name =
                    QString(collection->name() + '-' + panel->name()).replace(' ', '_');
                pictures << QDir(dir.path()).filePath(name + QStringLiteral(".png"));
                const QImage picture(pictures.last());
                QCOMPARE(picture.size(), size);
                const QTransform map = canvasTransform(boundsOf(panel), size);
                for (const CControl *control : panel->children()) {
                    for (const CItemRecord &record : control->itemRecords()) {
                        // The bounds are the panel's invisible outline.
                        if (record.type() == QLatin1String("bounds"))
                            continue;
                        types << record.type();
                        const QRectF area = map.mapRect(record.geometry());
                        QVERIFY2(colours(picture, area) > 1,
                                 qPrintable(QStringLiteral("%1: the %2 of %3 at %4,%5 %6x%7 is "
                                                           "all one colour")
                                                .arg(name, record.type(), control->name())
                                                .arg(area.x())
                                                .arg(area.y())
                                                .arg(area.width())
                                                .arg(area.height())));
                    }
                }
            }
        }
        QCOMPARE(QString::fromUtf8(result.out).split('\n', Qt::SkipEmptyParts), pictures);
        QCOMPARE(types, (QSet<QString>{"button", "cmdbutton", "slider", "droplist", "dialer",
                                       "textedit", "region", "panellink", "textlink", "dropsite",
                                       "label", "image", "frame"}));
    }

    // The software renderer draws no custom geometry: regions paint their
    // fill (convex, triangulated, or none when the outline crosses itself)
    // and outline themselves.
    void renderDrawsRegions()
    {
        TestDir dir;
        const QString region = QStringLiteral(
            "<Control name=\"%1\" type=\"Region\"><Property name=\"widget\"><region>"
            "<x>%2</x><y>%3</y><width>80</width><height>80</height>"
            "<fieldcolor>#ffff0000</fieldcolor><bordercolor>#ff0000ff</bordercolor>"
            "<borderwidth>2</borderwidth><polygon>%4</polygon></region></Property></Control>\n");
        const QString text =
            QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ZDX><Controls>\n"
                           "<Control name=\"Bounds\" type=\"Frame\"><Property name=\"widget\">"
                           "<bounds><x>0</x><y>0</y><width>300</width><height>340</height>"
                           "</bounds></Property></Control>\n") +
            region.arg("L", "110", "40", "0,0 80,0 80,40 40,40 40,80 0,80") +
            region.arg("Bow-tie", "110", "200", "0,0 80,80 80,0 0,80") +
            QStringLiteral("</Controls></ZDX>\n");
        const QString path = dir.filePath(QStringLiteral("regions.cpf"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) > 0);
        file.close();
        const Result result = run({"render", "-o", dir.path(), path});
        QCOMPARE(result.status, 0);
        const QImage picture(QString::fromUtf8(result.out).trimmed());
        QVERIFY(!picture.isNull());
        const QTransform map = canvasTransform(QRectF(0, 0, 300, 340), picture.size());
        const auto at = [&](double x, double y) {
            return picture.pixel(map.map(QPointF(x, y)).toPoint());
        };
        const auto red = [](QRgb c) { return qRed(c) > 200 && qGreen(c) < 80 && qBlue(c) < 80; };
        // The outline, give or take two pixels.
        const auto outlined = [&](double x, double y) {
            const QPoint centre = map.map(QPointF(x, y)).toPoint();
            for (int d = 0; d < 25; ++d) {
                const QRgb c = picture.pixel(centre + QPoint(d % 5 - 2, d / 5 - 2));
                if (qBlue(c) > 200 && qRed(c) < 80)
                    return true;
            }
            return false;
        };
        QVERIFY(red(at(130, 100)) && red(at(170, 60)));
        QVERIFY(!red(at(170, 100)) && !outlined(170, 100));
        QVERIFY(outlined(150, 40) && outlined(110, 100) && outlined(170, 80));
        for (double f = 0.1; f < 1.0; f += 0.1) {
            QVERIFY2(!red(at(110 + 80 * f, 240)), qPrintable(QString::number(f)));
            QVERIFY2(outlined(110 + 80 * f, 200 + 80 * f), qPrintable(QString::number(f)));
        }
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

    void emulateServesUntilTerminated()
    {
        QProcess tool;
        tool.start(QStringLiteral(ZRBTOOL_PATH),
                   {QStringLiteral("emulate"), QStringLiteral("--base-port"), QStringLiteral("0"),
                    QStringLiteral("--verbose"),
                    QStringLiteral(ZRB_SOURCE_DIR "/examples/conference-room.zdp")});
        QByteArray out;
        QTRY_VERIFY_WITH_TIMEOUT((out += tool.readAllStandardOutput()).contains("Emulating"),
                                 60000);
        // "Room A: 192.168.10.20:10055 -> 127.0.0.1:PORT (N parameters)"
        const QRegularExpressionMatch served =
            QRegularExpression(QStringLiteral("Room A: 192.168.10.20:10055 -> 127.0.0.1:(\\d+)"))
                .match(QString::fromUtf8(out));
        QVERIFY2(served.hasMatch(), out.constData());
        QTcpSocket dsp;
        dsp.connectToHost(QHostAddress(QHostAddress::LocalHost), served.captured(1).toUShort());
        QVERIFY(dsp.waitForConnected(10000));
        dsp.write("GA \"Program Level\">1\r");
        QByteArray answer;
        QTRY_VERIFY_WITH_TIMEOUT((answer += dsp.readAll()).endsWith('\r'), 10000);
        QCOMPARE(answer, QByteArray("GA \"Program Level\">1=-60.0\r"));
        QTRY_VERIFY_WITH_TIMEOUT(
            (out += tool.readAllStandardOutput()).contains("Room A: GA \"Program Level\">1"), 10000);

        tool.terminate(); // SIGTERM ends it cleanly
        QVERIFY(tool.waitForFinished(30000));
        QCOMPARE(tool.exitStatus(), QProcess::NormalExit);
        QCOMPARE(tool.exitCode(), 0);
        QVERIFY((out + tool.readAllStandardOutput()).endsWith("Stopped.\n"));
    }
};

ZRB_MODEL_TEST_MAIN(TestZrbTool)
#include "tst_zrbtool.moc"
