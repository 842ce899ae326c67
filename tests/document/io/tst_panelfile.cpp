#include "common/TestDir.h"
#include "common/TestSupport.h"

#include "document/CDocument.h"
#include "document/MProject.h"
#include "document/UDocumentReport.h"
#include "design/HBlock.h"
#include "design/HChassis.h"
#include "design/HNode.h"
#include "design/HRoot.h"
#include "document/CCanvas.h"
#include "document/CCanvasRecord.h"
#include "document/CComposite.h"
#include "document/CItemRecord.h"
#include "document/io/UArchive.h"
#include "document/io/XmlWriter.h"

#include <QGuiApplication>
#include <QBuffer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QXmlStreamAttributes>
#include <QDir>
#include <QDirIterator>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCodec>

// Panel files: the exact bytes the writer produces, what the reader builds
// from every input form, and the records carried in the file.
class TestPanelFile : public QObject
{
    Q_OBJECT

private:
    // A document on its own, as zrbtool has it: no canvas is shown.
    struct Fixture {
        Fixture()
        {
            canvas.setDpiOverride(96.0f);
            document.setCanvas(&canvas);
        }
        CComposite *currentPanel() const
        {
            return dynamic_cast<CComposite *>(document.root()->current(QStringLiteral("Panels")));
        }
        CCanvas canvas;
        CDocument document;
    };

    static CLoadContext filtered(const QString &name)
    {
        CLoadContext context;
        context.nameFilter = name;
        return context;
    }

    static CLoadContext boundTo(HRoot *hardware)
    {
        CLoadContext context;
        context.hardware = hardware;
        return context;
    }

    static QByteArray readAll(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    static bool writeFile(const QString &path, const QByteArray &bytes)
    {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    }

    static QString documentText(CDocument &document)
    {
        return TestSupport::writtenXml([&](XmlWriter &writer) { document.writeDocument(&writer); });
    }

    static QString controlsText(const QString &controls, const QString &encoding = "UTF-8")
    {
        return QStringLiteral("<?xml version=\"1.0\" encoding=\"%1\"?>\n<ZDX>\n\t<Controls>\n%2\t</Controls>\n</ZDX>\n")
            .arg(encoding, controls);
    }

    static QString control(const QString &name, const QString &attributes = QString())
    {
        return QStringLiteral("\t\t<Control name=\"%1\" type=\"Button\">\n"
                              "\t\t\t<id>%2</id>\n"
                              "\t\t\t<Property name=\"widget\">\n\t\t\t</Property>\n"
                              "\t\t\t<Property name=\"attributes\">\n%3\t\t\t</Property>\n"
                              "\t\t</Control>\n")
            .arg(name)
            .arg(qHash(name) % 100000 + 1)
            .arg(attributes);
    }

    // A document with two collections, attributes of both kinds, a project
    // and a canvas that differ from their defaults.
    static void fillDocument(Fixture &f)
    {
        QVERIFY(f.document.newFromTemplate(QStringLiteral(ZRB_SOURCE_DIR "/templates/Blank Panel.tpl")));
        CComposite *panel = f.currentPanel();
        auto *level = new CControl();
        level->setTag(QStringLiteral("Control"));
        level->setName(QStringLiteral("Level <1> & \"main\""));
        level->setType(QStringLiteral("Slider"));
        CAttributes &range = level->attributes();
        range.setValue(QStringLiteral("range"), QStringLiteral("index1"), QStringLiteral("3"));
        range.setValue(QStringLiteral("range"), QStringLiteral("minimum"), QStringLiteral("-60"));
        range.setValue(QStringLiteral("range"), QStringLiteral("maximum"), QStringLiteral("12"));
        range.setValue(QStringLiteral("range"), QStringLiteral("minLimit"), QStringLiteral("-60"));
        range.setValue(QStringLiteral("range"), QStringLiteral("maxLimit"), QStringLiteral("12"));
        range.setValue(QStringLiteral("range"), QStringLiteral("step"), QStringLiteral("0.5"));
        range.setValue(QStringLiteral("range"), QStringLiteral("units"), QStringLiteral("dB"));
        range.setValue(QStringLiteral("range"), QStringLiteral("format"), QStringLiteral("nn.n"));
        range.setValue(QStringLiteral("range"), QStringLiteral("transform"), QStringLiteral("strV"));
        range.setValue(QStringLiteral("range"), QStringLiteral("struct"), QStringLiteral("7"));
        range.setValue(QStringLiteral("range"), QStringLiteral("channelLabel"), QStringLiteral("Stage left"));
        panel->addChild(level);
        auto *mute = new CControl();
        mute->setTag(QStringLiteral("Control"));
        mute->setName(QStringLiteral("Mute"));
        mute->setType(QStringLiteral("Button"));
        CAttributes &list = mute->attributes();
        list.setValue(QStringLiteral("list"), QStringLiteral("index1"), QStringLiteral("4"));
        list.setValue(QStringLiteral("list"), QStringLiteral("index2"), QStringLiteral("2"));
        list.setValue(QStringLiteral("list"), QStringLiteral("set"), QStringLiteral("F,O,T"));
        list.setValue(QStringLiteral("list"), QStringLiteral("format"), QStringLiteral("s"));
        list.setValue(QStringLiteral("list"), QStringLiteral("transform"), QStringLiteral("chrL"));
        list.setValue(QStringLiteral("list"), QStringLiteral("enableEdit"), QStringLiteral("0"));
        panel->addChild(mute);
        auto *second = new CComposite();
        second->assignKind(QStringLiteral("Scene"));
        second->setName(QStringLiteral("COLLECTION2"));
        f.document.root()->addChild(second);
        auto *page = new CComposite();
        second->addChild(page);
        page->assignKind(QStringLiteral("Panel"));
        page->setName(QStringLiteral("Lobby"));
        page->setPanelKindValue(CComposite::Template);

        f.document.project()->setValue(QStringLiteral("Facility"), QStringLiteral("name"), QStringLiteral("Hotel <Grand>"));
        f.document.project()->setValue(QStringLiteral("BusinessManeger"), QStringLiteral("email"), QStringLiteral("boss@example.org"));
        f.document.project()->setValue(QStringLiteral("Customer"), QStringLiteral("address"), QStringLiteral("1 Main St"));
        f.document.project()->setValue(QStringLiteral("Comments"), QStringLiteral("comment6"), QStringLiteral("last"));
        f.canvas.setDevice(QStringLiteral("Apple iPad mini"));
        f.canvas.setSkin(QStringLiteral("Dark"));
        f.canvas.setAccent(QStringLiteral("Red"));
        f.canvas.setSize(7.755f);
        f.canvas.setAspect(1.307f);
        f.canvas.setOrientation(0);
        f.canvas.setText(QStringLiteral("Header & more"));
        f.canvas.setHorizcenter(true);
    }

private slots:
    void writerForms()
    {
        QByteArray bytes;
        {
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            XmlWriter writer;
            QVERIFY(!writer.writeStartElement(QStringLiteral("before-device")));
            writer.setDevice(&buffer);
            QVERIFY(writer.writeDeclaration());
            QVERIFY(!writer.writeStartElement(QString()));
            writer.writeStartElement(QStringLiteral("A"));
            writer.writeStartElement(QStringLiteral("B"), QStringLiteral("x&y"));
            writer.writeStartElement(QStringLiteral("C"), QStringLiteral("n\"q"), QStringLiteral("t<>"));
            writer.writeTextElement(QStringLiteral("s"), QStringLiteral("a&b<c>d\"e"));
            writer.writeTextElement(QStringLiteral("i"), qint32(-7));
            writer.writeTextElement(QStringLiteral("u"), quint32(4000000000u));
            writer.writeTextElement(QStringLiteral("f1"), -40.0f);
            writer.writeTextElement(QStringLiteral("f2"), 0.5f);
            writer.writeTextElement(QStringLiteral("f3"), 1234567.0f);
            writer.writeTextElement(QStringLiteral("f4"), 0.0000125);
            writer.writeTextElement(QStringLiteral("f5"), 1.7777778f);
            writer.writeEndElement(QStringLiteral("C"));
            writer.writeEndElement(QStringLiteral("B"));
            writer.writeEndElement(QStringLiteral("A"));
        }
        const QString expected = QStringLiteral(
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<A>\n"
            "\t<B name=\"x&#38;y\">\n"
            "\t\t<C name=\"n&#34;q\" type=\"t&#60;&#62;\">\n"
            "\t\t\t<s>a&#38;b&#60;c&#62;d\"e</s>\n"
            "\t\t\t<i>-7</i>\n"
            "\t\t\t<u>4000000000</u>\n"
            "\t\t\t<f1>-40</f1>\n"
            "\t\t\t<f2>0.5</f2>\n"
            "\t\t\t<f3>1.23457e+06</f3>\n"
            "\t\t\t<f4>1.25e-05</f4>\n"
            "\t\t\t<f5>1.77778</f5>\n"
            "\t\t</C>\n"
            "\t</B>\n"
            "</A>\n");
        QCOMPARE(QString::fromUtf8(bytes), expected);
    }

    void utf16DeclarationAndClipboardBuffer()
    {
        QByteArray bytes;
        {
            XmlWriter writer;
            writer.setByteArray(&bytes);
            writer.setEncodingMode(XmlWriter::Utf16);
            writer.writeDeclaration();
            writer.writeStartElement(QStringLiteral("ZDX"));
            writer.writeTextElement(QStringLiteral("t"), QStringLiteral("\u00e9"));
            writer.writeEndElement(QStringLiteral("ZDX"));
            writer.flush();
        }
        QCOMPARE(bytes.left(2), QByteArray("\xFE\xFF", 2));
        const QString text = QTextCodec::codecForName("UTF-16BE")->toUnicode(bytes.mid(2));
        QCOMPARE(text, QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n<ZDX>\n\t<t>\u00e9</t>\n</ZDX>\n"));
    }

    void savedFileIsUtf16WithTheFiveBlocks()
    {
        TestDir dir;
        Fixture f;
        fillDocument(f);
        const QString expectedText = documentText(f.document);
        QVERIFY(f.document.save(dir.path() + QStringLiteral("/show.cpz")));
        QVERIFY(!QFile::exists(dir.path() + QStringLiteral("/show.cpf")));
        QVERIFY(QFile::exists(dir.path() + QStringLiteral("/show.cpz")));
        QCOMPARE(f.document.path(), dir.path() + QStringLiteral("/show.cpz"));
        QCOMPARE(f.document.root()->name(), QStringLiteral("show.cpz"));

        UArchive archive;
        QVERIFY(archive.open(dir.path() + QStringLiteral("/show.cpz")));
        const QString member = archive.findMember(QStringLiteral(".cpf"));
        QVERIFY(member.endsWith(QStringLiteral("/show.cpf")));
        const QByteArray bytes = readAll(member);
        QCOMPARE(bytes.left(2), QByteArray("\xFE\xFF", 2));
        const QString text = QTextCodec::codecForName("UTF-16BE")->toUnicode(bytes.mid(2));
        QCOMPARE(text, QString(expectedText).replace(QStringLiteral("encoding=\"UTF-8\""),
                                                   QStringLiteral("encoding=\"UTF-16\"")));
        QVERIFY(!text.contains(QLatin1Char('\r')));
        // Blocks in their order.
        const int version = text.indexOf(QStringLiteral("\n\t<Version>"));
        const int connections = text.indexOf(QStringLiteral("\n\t<Connections>"));
        const int canvas = text.indexOf(QStringLiteral("\n\t<Canvas>"));
        const int project = text.indexOf(QStringLiteral("\n\t<Project>"));
        const int scenes = text.indexOf(QStringLiteral("\n\t<Scenes>"));
        QVERIFY(version > 0 && version < connections && connections < canvas && canvas < project &&
                project < scenes);
        QVERIFY(text.contains(QStringLiteral("\t\t<appVersion>" ZRB_VERSION "</appVersion>\n\t\t<fileVersion>2.0</fileVersion>\n")));
        QVERIFY(text.contains(QStringLiteral("<Control name=\"Level &#60;1&#62; &#38; &#34;main&#34;\" type=\"Slider\">")));
        QVERIFY(text.contains(QStringLiteral("\t\t\t<BusinessManeger>\n")));
    }

    void roundTripKeepsEverything()
    {
        TestDir dir;
        QJsonObject before;
        QString beforeText;
        {
            Fixture f;
            fillDocument(f);
            before = UDocumentReport::toJson(&f.document);
            beforeText = documentText(f.document);
            QVERIFY(f.document.save(dir.path() + QStringLiteral("/trip.cpz")));
        }
        Fixture g;
        QVERIFY2(g.document.open(dir.path() + QStringLiteral("/trip.cpz")), qPrintable(g.document.lastError()));
        const QJsonObject after = UDocumentReport::toJson(&g.document);
        QCOMPARE(QJsonDocument(after).toJson(), QJsonDocument(before).toJson());
        QCOMPARE(documentText(g.document), beforeText);
        QCOMPARE(g.document.root()->name(), QStringLiteral("trip.cpf"));
        // New controls never repeat an id the document holds.
        CControl *fresh = new CControl();
        g.currentPanel()->addChild(fresh);
        QCOMPARE(g.document.root()->findById(fresh->id()), fresh);
        QVERIFY(fresh->id() > g.document.root()->findById(
                                 before.value("collections").toArray()[0].toObject()
                                     .value("panels").toArray()[0].toObject()
                                     .value("controls").toArray()[2].toObject()
                                     .value("id").toVariant().toUInt())->id());
    }

    // Where a save goes: only the archive named after the target exists
    // afterwards (beside what was there before), and it reads back; a save
    // that cannot be made changes nothing on disk.
    void saveTargets_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("written");
        QTest::addColumn<QStringList>("untouched");
        QTest::newRow("no extension") << "show" << "show.cpz" << QStringList{};
        QTest::newRow("cpz") << "show.cpz" << "show.cpz" << QStringList{"show.cpf"};
        QTest::newRow("cpf beside nothing") << "show.cpf" << "show.cpz" << QStringList{"show.cpf"};
        QTest::newRow("dot in a folder name") << "my.folder/show" << "my.folder/show.cpz"
                                              << QStringList{"my.cpz"};
        QTest::newRow("relative with dots") << "sub/../up.cpz" << "up.cpz" << QStringList{};
        QTest::newRow("a folder in the way") << "box.cpz" << "" << QStringList{"box.cpz/inside.txt"};
        QTest::newRow("read-only folder") << "locked/show.cpz" << "" << QStringList{};
        QTest::newRow("missing folder") << "nowhere/show.cpz" << "" << QStringList{};
    }

    void saveTargets()
    {
        QFETCH(QString, target);
        QFETCH(QString, written);
        QFETCH(QStringList, untouched);
        TestDir dir;
        QDir root(dir.path());
        for (const char *folder : {"my.folder", "sub", "box.cpz", "locked"})
            QVERIFY(root.mkdir(QLatin1String(folder)));
        QVERIFY(writeFile(dir.filePath(QStringLiteral("show.cpf")), "<ZDX/>\n"));
        QVERIFY(writeFile(dir.filePath(QStringLiteral("my.cpz")), "old"));
        QVERIFY(writeFile(dir.filePath(QStringLiteral("box.cpz/inside.txt")), "keep"));
        QFile::setPermissions(dir.filePath(QStringLiteral("locked")),
                              QFile::ReadOwner | QFile::ExeOwner);
        if (target.startsWith(QLatin1String("locked")) &&
            QFileInfo(dir.filePath(QStringLiteral("locked"))).isWritable())
            QSKIP("This user may write into any folder.");
        const auto before = [&]() {
            QStringList files;
            QDirIterator it(dir.path(), QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot,
                            QDirIterator::Subdirectories);
            while (it.hasNext()) {
                const QString path = it.next();
                files << root.relativeFilePath(path) + QLatin1Char(' ') +
                             QString::number(QFileInfo(path).size());
            }
            files.sort();
            return files;
        };
        const QStringList filesBefore = before();

        Fixture f;
        fillDocument(f);
        const QString relativeBase = QDir::currentPath();
        QDir::setCurrent(dir.path());
        const bool saved = f.document.save(target);
        QDir::setCurrent(relativeBase);
        QFile::setPermissions(dir.filePath(QStringLiteral("locked")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QStringList filesAfter = before();
        if (written.isEmpty()) {
            QVERIFY(!saved);
            QVERIFY2(f.document.lastError().contains(QFileInfo(target).fileName()),
                     qPrintable(f.document.lastError()));
            QCOMPARE(filesAfter, filesBefore);
            return;
        }
        QVERIFY2(saved, qPrintable(f.document.lastError()));
        QCOMPARE(f.document.path(), QFileInfo(dir.filePath(written)).absoluteFilePath());
        QStringList added = filesAfter;
        for (const QString &line : filesBefore)
            added.removeOne(line);
        QVERIFY2(added.count() == 1, qPrintable(added.join(QLatin1Char(','))));
        QVERIFY2(added.first().startsWith(written + QLatin1Char(' ')), qPrintable(added.first()));
        for (const QString &path : untouched)
            QVERIFY2(filesAfter.contains(path + QLatin1Char(' ') +
                                         QString::number(QFileInfo(dir.filePath(path)).size())),
                     qPrintable(path));
        Fixture g;
        QVERIFY2(g.document.open(dir.filePath(written)), qPrintable(g.document.lastError()));
        QCOMPARE(g.document.root()->childCount(), 2);
    }

    // Saving over the file the document came from replaces it whole or not
    // at all; the panel file the archive holds never lies beside it.
    void saveOverTheInputItself()
    {
        TestDir dir;
        const QString path = dir.filePath(QStringLiteral("show.cpz"));
        Fixture f;
        fillDocument(f);
        QVERIFY(f.document.save(path));
        Fixture g;
        QVERIFY(g.document.open(path));
        QVERIFY2(g.document.save(path), qPrintable(g.document.lastError()));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"show.cpz"});
        Fixture h;
        QVERIFY2(h.document.open(path), qPrintable(h.document.lastError()));
        QCOMPARE(documentText(h.document), documentText(g.document));
    }

    // A name holding characters XML cannot carry still saves to a file that
    // opens again.
    void charactersXmlCannotHoldAreNeverWritten()
    {
        TestDir dir;
        Fixture f;
        fillDocument(f);
        f.currentPanel()->childAt(0)->setName(QStringLiteral("A\uFFFEB\uFFFF\u0001C"));
        QVERIFY2(f.document.save(dir.filePath(QStringLiteral("odd.cpz"))),
                 qPrintable(f.document.lastError()));
        Fixture g;
        QVERIFY2(g.document.open(dir.filePath(QStringLiteral("odd.cpz"))),
                 qPrintable(g.document.lastError()));
        QCOMPARE(g.currentPanel()->childAt(0)->name(), QStringLiteral("A\uFFFDB\uFFFD\uFFFDC"));
    }

    void everyEncodingReadsAlike_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QString utf8Text = controlsText(control(QStringLiteral("Gr\u00fc\u00dfe")));
        const QString utf16Text = controlsText(control(QStringLiteral("Gr\u00fc\u00dfe")), "UTF-16");
        QTest::newRow("utf-8") << utf8Text.toUtf8();
        QTest::newRow("utf-8 with mark") << QByteArray("\xEF\xBB\xBF") + utf8Text.toUtf8();
        // Encoders without header: the mark is written once, by hand.
        QByteArray le("\xFF\xFE", 2);
        le += QScopedPointer<QTextEncoder>(QTextCodec::codecForName("UTF-16LE")->makeEncoder(
                                                QTextCodec::IgnoreHeader))
                  ->fromUnicode(utf16Text);
        QTest::newRow("utf-16 le") << le;
        QByteArray be("\xFE\xFF", 2);
        be += QScopedPointer<QTextEncoder>(QTextCodec::codecForName("UTF-16BE")->makeEncoder(
                                                QTextCodec::IgnoreHeader))
                  ->fromUnicode(utf16Text);
        QTest::newRow("utf-16 be") << be;
    }

    void everyEncodingReadsAlike()
    {
        QFETCH(QByteArray, bytes);
        TestDir dir;
        const QString path = dir.path() + QStringLiteral("/t.tpl");
        QVERIFY(writeFile(path, bytes));
        QVERIFY(!UArchive::isArchive(path));
        CComposite panel;
        QString error;
        QVERIFY2(panel.loadFile(path, CLoadContext(), &error),
                 qPrintable(error));
        QCOMPARE(panel.childCount(), 1);
        QCOMPARE(panel.childAt(0)->name(), QStringLiteral("Gr\u00fc\u00dfe"));
        QCOMPARE(panel.childAt(0)->tag(), QStringLiteral("Control"));
    }

    void clipboardTextAnswersSingleChild()
    {
        CComposite panel;
        CControl *one = panel.loadText(controlsText(control(QStringLiteral("One"))), nullptr);
        QVERIFY(one);
        QCOMPARE(one->name(), QStringLiteral("One"));
        CControl *none = panel.loadText(controlsText(control(QStringLiteral("Two")) +
                                                     control(QStringLiteral("Three"))),
                                        nullptr);
        QVERIFY(!none);
        QCOMPARE(panel.childCount(), 3);
    }

    void builtInTemplateFormAndNameFilter()
    {
        const QString text = QStringLiteral(
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ZDX>\n<Parameters>\n</Parameters>\n<Controls>\n%1%2</Controls>\n</ZDX>\n")
                                 .arg(control(QStringLiteral("Level")), control(QStringLiteral("Mute")));
        CComposite panel;
        QVERIFY(panel.loadString(text, filtered(QStringLiteral("Mute"))));
        QCOMPARE(panel.childCount(), 1);
        QCOMPARE(panel.childAt(0)->name(), QStringLiteral("Mute"));
    }

    void attributesAndWhitespace()
    {
        const QString attributes = QStringLiteral(
            "\t\t\t\t<range>\n"
            "\t\t\t\t\t<minimum>0</minimum>\n"
            "\t\t\t\t\t<units>\n   milli   volts \n</units>\n"
            "\t\t\t\t\t<format>0.00</format>\n"
            "\t\t\t\t</range>\n"
            "\t\t\t\t<list>\n\t\t\t\t\t<index1>2</index1>\n\t\t\t\t</list>\n");
        CComposite panel;
        CControl *read = panel.loadText(controlsText(control(QStringLiteral("A"), attributes)), nullptr);
        QVERIFY(read);
        QCOMPARE(read->attributes().kind(), QStringLiteral("range"));
        QCOMPARE(read->attributes().minLimit(), -40.0f);
        QCOMPARE(read->attributes().units(), QStringLiteral("milli volts"));
        QCOMPARE(read->attributes().decimals(), 2);
        QCOMPARE(read->attributes().index1(), 2);

        CControl *empty = panel.loadText(controlsText(control(QStringLiteral("B"))), nullptr);
        QVERIFY(empty);
        QCOMPARE(empty->attributes().kind(), QString());
        QCOMPARE(empty->attributes().minLimit(), -40.0f);
    }

    void itemValueText_data()
    {
        QTest::addColumn<QString>("written");
        QTest::addColumn<QString>("read");
        QTest::newRow("one line, as written") << "0,0 40,0 40,30 "
                                              << "0,0 40,0 40,30 ";
        QTest::newRow("inner blanks kept") << "A  b"
                                           << "A  b";
        QTest::newRow("over lines") << "\n\t0,0 40,0\n\t\t40,30\n\t"
                                    << "0,0 40,0 40,30";
        QTest::newRow("blanks only") << "   "
                                     << "";
    }

    // An item value on one line keeps every blank, so a file converts
    // unchanged; a value laid out over lines reaches the item as one line.
    void itemValueText()
    {
        QFETCH(QString, written);
        QFETCH(QString, read);
        CComposite panel;
        CControl *control = panel.loadText(
            controlsText(QStringLiteral("<Control name=\"R\" type=\"Region\"><Property "
                                        "name=\"widget\"><region><polygon>%1</polygon></region>"
                                        "</Property></Control>\n")
                             .arg(written)),
            nullptr);
        QVERIFY(control && control->itemRecords().count() == 1);
        QCOMPARE(control->itemRecords().first().value(QStringLiteral("polygon")), read);
    }

    void misplacedElementsAreIgnored()
    {
        const QString text = QStringLiteral(
            "<?xml version=\"1.0\"?>\n<ZDX>\n<Scenes>\n<Scene name=\"S\">\n"
            "<Panel name=\"outside Panels\"/>\n<Panels>\n<Panel name=\"P\" type=\"custom\">\n"
            "<Control name=\"outside Controls\" type=\"Label\"/>\n<Controls>\n%1</Controls>\n"
            "</Panel>\n</Panels>\n</Scene>\n</Scenes>\n</ZDX>\n").arg(control(QStringLiteral("In")));
        CComposite root;
        QVERIFY(root.loadString(text, CLoadContext()));
        QCOMPARE(root.type(), QStringLiteral("Scenes"));
        QCOMPARE(root.childCount(), 1);
        auto *scene = dynamic_cast<CComposite *>(root.childAt(0));
        QVERIFY(scene);
        QCOMPARE(scene->childCount(), 1);
        auto *panel = dynamic_cast<CComposite *>(scene->childAt(0));
        QCOMPARE(panel->name(), QStringLiteral("P"));
        QCOMPARE(panel->panelKind(), int(CComposite::Custom));
        QCOMPARE(panel->childCount(), 1);
        QCOMPARE(panel->childAt(0)->name(), QStringLiteral("In"));
    }

    void panelKindIsDerivedWhenTheFileGivesNone()
    {
        const QString text = QStringLiteral(
            "<?xml version=\"1.0\"?>\n<ZDX>\n<Scenes>\n<Scene name=\"S\">\n<Panels>\n"
            "<Panel name=\"one\" type=\"\">\n<Controls>\n%1</Controls>\n</Panel>\n"
            "<Panel name=\"two\" type=\"\">\n<Controls>\n%1%2</Controls>\n</Panel>\n"
            "</Panels>\n</Scene>\n</Scenes>\n</ZDX>\n")
                                 .arg(control(QStringLiteral("a")), control(QStringLiteral("b")));
        CComposite root;
        QVERIFY(root.loadString(text, CLoadContext()));
        auto *scene = dynamic_cast<CComposite *>(root.childAt(0));
        QCOMPARE(dynamic_cast<CComposite *>(scene->childAt(0))->panelKind(), int(CComposite::Custom));
        QCOMPARE(dynamic_cast<CComposite *>(scene->childAt(1))->panelKind(), int(CComposite::Complete));
    }

    void connectionsOncePerAddressAndBlocksBound()
    {
        Fixture f;
        QVERIFY(f.document.newFromTemplate(QStringLiteral(ZRB_SOURCE_DIR "/templates/Blank Panel.tpl")));
        HRoot *hardware = f.document.hardware();
        auto *first = new HChassis();
        first->setLabel(QStringLiteral("Proc A"));
        first->setIpAddress(QStringLiteral("10.0.0.5"));
        auto *second = new HChassis();
        second->setLabel(QStringLiteral("Proc B"));
        second->setIpAddress(QStringLiteral("10.0.0.5"));
        hardware->addChild(first);
        hardware->addChild(second);
        auto *gainA = new HBlock();
        gainA->setLabel(QStringLiteral("Gain A"));
        first->addChild(gainA);
        auto *gainB = new HBlock();
        gainB->setLabel(QStringLiteral("Gain B"));
        second->addChild(gainB);
        for (HBlock *block : {gainA, gainB}) {
            auto *bound = new CControl();
            bound->setTag(QStringLiteral("Control"));
            bound->setName(block->label());
            bound->setType(QStringLiteral("Slider"));
            bound->setBlock(block);
            f.currentPanel()->addChild(bound);
        }
        const QString text = documentText(f.document);
        QCOMPARE(text.count(QStringLiteral("<Connection name=")), 1);
        QVERIFY(text.contains(QStringLiteral("<Connection name=\"Proc A\">")));
        QVERIFY(text.contains(QStringLiteral("<block>Gain B</block>\n")));
        QVERIFY(text.contains(QStringLiteral("<connection>Proc B</connection>\n")));

        // Reading it back into an empty design recreates the chassis and the
        // blocks the controls are bound to.
        Fixture g;
        CComposite root;
        QVERIFY(root.loadString(text, boundTo(g.document.hardware())));
        HRoot *rebuilt = g.document.hardware();
        QCOMPARE(rebuilt->childCount(), 1);
        auto *chassis = dynamic_cast<HChassis *>(rebuilt->childAt(0));
        QVERIFY(chassis);
        QCOMPARE(chassis->label(), QStringLiteral("Proc A"));
        QCOMPARE(chassis->ipAddress(), QStringLiteral("10.0.0.5"));
        HNode *block = chassis->findByProperty(QStringLiteral("label"), QStringLiteral("Gain A"));
        QVERIFY(block);
        QVERIFY(block->isMarked());
    }

    void canvasRecordInFile()
    {
        Fixture f;
        CCanvas &canvas = f.canvas;
        canvas.resetForReading();
        canvas.setValue(QStringLiteral("skin"), QStringLiteral("Dark"));
        canvas.setValue(QStringLiteral("accent"), QStringLiteral("Green"));
        canvas.setValue(QStringLiteral("device"), QStringLiteral("HTC One"));
        QCOMPARE(canvas.skin(), QStringLiteral("Light"));
        QCOMPARE(canvas.accent(), QStringLiteral("Blue"));
        canvas.setValue(QStringLiteral("skin"), QStringLiteral("dark"));
        QCOMPARE(canvas.skin(), QStringLiteral("Light"));
        canvas.setValue(QStringLiteral("skin"), QStringLiteral("Dark"));
        QCOMPARE(canvas.skin(), QStringLiteral("Dark"));
        canvas.setValue(QStringLiteral("size"), QStringLiteral("6"));
        canvas.setValue(QStringLiteral("aspect"), QStringLiteral("1.7777778"));
        canvas.setValue(QStringLiteral("orientation"), QStringLiteral("1"));
        canvas.endValue(QStringLiteral("orientation"));
        QCOMPARE(canvas.width(), 282);
        QCOMPARE(canvas.height(), 502);
        canvas.setValue(QStringLiteral("orientation"), QStringLiteral("0"));
        canvas.endValue(QStringLiteral("orientation"));
        QCOMPARE(canvas.width(), 502);
        QCOMPARE(canvas.height(), 282);
        canvas.setValue(QStringLiteral("orientation"), QStringLiteral("2"));
        canvas.endValue(QStringLiteral("orientation"));
        QCOMPARE(canvas.width(), 502);
        canvas.setValue(QStringLiteral("horizcenter"), QStringLiteral("3"));
        QVERIFY(canvas.horizcenter());
        canvas.setValue(QStringLiteral("topRow"), QStringLiteral("?"));
        QCOMPARE(canvas.topRow(), QStringLiteral("?"));

        CCanvas viewless;
        viewless.computePixelSize();
        QCOMPARE(viewless.width(), 0);
        QCOMPARE(viewless.height(), 0);
    }

    void deviceList()
    {
        const QList<CCanvasRecord> devices = CCanvasRecord::deviceList();
        QCOMPARE(devices.count(), 46);
        QCOMPARE(devices.first().name, QStringLiteral("User Defined"));
        QCOMPARE(devices.at(1).name, QStringLiteral("Amazon Kindle Fire HD 7"));
        QCOMPARE(devices.at(1).size, 6.77f);
        QCOMPARE(devices.at(1).aspect, 1.53f);
        QCOMPARE(devices.at(36).name, QStringLiteral("Samsung Galaxy Tab (8.9\")"));
        QCOMPARE(devices.at(44).name, QStringLiteral("Sony Xperia Z3"));
        QCOMPARE(devices.last().name, QString());
        QCOMPARE(devices.last().size, 0.0f);

        const QByteArray raw = readAll(QStringLiteral(":/data/Zindral/Devices.txt"));
        QVERIFY(raw.endsWith("1.575\r\n\r\n"));
        QCOMPARE(raw.count("\r\n"), 45);

        const CCanvasRecord tabbed = CCanvasRecord::fromLine(QStringLiteral("\t4.5\t1.6\n"));
        QCOMPARE(tabbed.name, QString());
        QCOMPARE(tabbed.size, 0.0f);
        QCOMPARE(tabbed.aspect, 0.0f);
        const CCanvasRecord spaced = CCanvasRecord::fromLine(QStringLiteral("Phone\t 4.5 \t1.6"));
        QCOMPARE(spaced.name, QStringLiteral("Phone"));
        QCOMPARE(spaced.size, 4.5f);
        QCOMPARE(spaced.aspect, 1.6f);
    }

    void projectRecord()
    {
        MProject project;
        QCOMPARE(project.facilityName(), QStringLiteral("SITE NAME"));
        QVERIFY(!project.setValue(QStringLiteral("Customer"), QStringLiteral("comment1"), QStringLiteral("x")));
        QVERIFY(!project.setValue(QStringLiteral("BusinessManager"), QStringLiteral("name"), QStringLiteral("x")));
        project.setValue(QStringLiteral("Facility"), QStringLiteral("name"), QStringLiteral("Arena"));
        QCOMPARE(project.informationText(),
                 QStringLiteral("Facility\nArena\n\nBusiness Manager\n\n\n\n\nEngineer\n\n\n\n\n"
                                "Customer\n\n\n\n\n\n"));
        project.setValue(QStringLiteral("Customer"), QStringLiteral("tel"), QStringLiteral("555"));
        QXmlStreamAttributes onlyName;
        onlyName.append(QStringLiteral("name"), QStringLiteral("ACME"));
        QVERIFY(project.setGroup(QStringLiteral("Customer"), onlyName));
        QCOMPARE(project.value(QStringLiteral("Customer"), QStringLiteral("name")), QStringLiteral("ACME"));
        QCOMPARE(project.value(QStringLiteral("Customer"), QStringLiteral("tel")), QString());
        project.reset();
        QCOMPARE(project.value(QStringLiteral("Customer"), QStringLiteral("name")), QString());
        QCOMPARE(project.facilityName(), QStringLiteral("SITE NAME"));
    }

    void fileWithoutProjectStartsFromAnEmptyProject()
    {
        Fixture f;
        // What the previous document held must not leak into this one.
        f.document.project()->setValue(QStringLiteral("Facility"), QStringLiteral("name"), QStringLiteral("Earlier"));
        TestDir dir;
        const QString path = dir.path() + QStringLiteral("/plain.cpf");
        QVERIFY(writeFile(path, controlsText(control(QStringLiteral("x"))).toUtf8()));
        QVERIFY2(f.document.open(path), qPrintable(f.document.lastError()));
        QCOMPARE(f.document.project()->facilityName(), QStringLiteral("SITE NAME"));
        // Bare controls become a document of one collection and one panel.
        QCOMPARE(f.document.root()->childCount(), 1);
        QVERIFY(f.currentPanel());
        QCOMPARE(f.currentPanel()->childCount(), 1);
    }

    void brokenFileIsReportedWithLineAndColumn()
    {
        TestDir dir;
        const QString path = dir.path() + QStringLiteral("/broken.cpf");
        QVERIFY(writeFile(path, QByteArray("<?xml version=\"1.0\"?>\n<ZDX>\n<Scenes>\n<Scene name=\"S\">\n"
                                           "<Panels>\n</Scene>\n</ZDX>\n")));
        Fixture f;
        QVERIFY(!f.document.open(path));
        QVERIFY2(f.document.lastError().contains(QStringLiteral("line 6")), qPrintable(f.document.lastError()));
        QVERIFY2(f.document.lastError().contains(path), qPrintable(f.document.lastError()));
        QCOMPARE(f.document.root()->childCount(), 0);
        QVERIFY(f.document.path().isEmpty());
        QVERIFY(!f.currentPanel());
    }

    void hostileXml_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        QByteArray deep = "<?xml version=\"1.0\"?>\n";
        deep += "<ZDX>";
        for (int i = 0; i < 20000; ++i)
            deep += "<a>";
        for (int i = 0; i < 20000; ++i)
            deep += "</a>";
        deep += "</ZDX>";
        QTest::newRow("20000 levels") << deep << "nested too deeply";
        QByteArray laughs = "<?xml version=\"1.0\"?>\n<!DOCTYPE ZDX [\n<!ENTITY a \"aaaaaaaaaa\">\n"
                            "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">\n"
                            "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">\n]>\n"
                            "<ZDX><Controls><Control name=\"&c;\" type=\"Label\"/></Controls></ZDX>\n";
        QTest::newRow("entity expansion") << laughs << "Entity declarations";
        QByteArray external = "<?xml version=\"1.0\"?>\n<!DOCTYPE ZDX [\n<!ENTITY e SYSTEM \"/etc/passwd\">\n]>\n"
                              "<ZDX><Controls><Control name=\"&e;\" type=\"Label\"/></Controls></ZDX>\n";
        QTest::newRow("external entity") << external << "Entity declarations";
        const QByteArray head = "<?xml version=\"1.0\"?>\n<ZDX><Controls>";
        const QByteArray tail = "</Controls></ZDX>\n";
        static const char nulInName[] = "<Control name=\"a\0b\" type=\"Label\"/>";
        QTest::newRow("NUL in an attribute")
            << head + QByteArray(nulInName, sizeof(nulInName) - 1) + tail << "U+0000";
        QTest::newRow("reference to NUL") << head + "<Control name=\"a&#0;\" type=\"Label\"/>" + tail
                                          << "&#0;";
        QTest::newRow("lone surrogate") << head + "<Control name=\"&#xD800;\" type=\"Label\"/>" + tail
                                        << "&#xD800;";
        QTest::newRow("U+FFFE as text") << head + "<Control name=\"a\xEF\xBF\xBE\" type=\"Label\"/>" + tail
                                        << "U+FFFE";
        QTest::newRow("duplicate attribute")
            << head + "<Control name=\"a\" name=\"b\" type=\"Label\"/>" + tail << "given twice";
        QTest::newRow("unknown encoding")
            << QByteArray("<?xml version=\"1.0\" encoding=\"klingon-8\"?>\n<ZDX/>\n") << "klingon-8";
        QTest::newRow("name over 64 KiB")
            << head + "<Control name=\"" + QByteArray(70000, 'n') + "\" type=\"Label\"/>" + tail
            << "64 KiB";
        QTest::newRow("text over 64 KiB")
            << head + "<Control name=\"a\" type=\"Label\"><id>" + QByteArray(70000, '1') +
                   "</id></Control>" + tail
            << "64 KiB";
        QTest::newRow("design file") << QByteArray("<?xml version=\"1.0\"?>\n<Project version=\"4.3\"/>\n")
                                     << "design file";
        QTest::newRow("other xml") << QByteArray("<?xml version=\"1.0\"?>\n<html/>\n")
                                   << "not a control panel file";
    }

    void hostileXml()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        TestDir dir;
        const QString path = dir.path() + QStringLiteral("/hostile.cpf");
        QVERIFY(writeFile(path, bytes));
        Fixture f;
        QVERIFY(!f.document.open(path));
        QVERIFY2(f.document.lastError().contains(reason), qPrintable(f.document.lastError()));
        QCOMPARE(f.document.root()->childCount(), 0);
    }

    // A file holding every kind of item, one of a type nothing knows
    // among them, converts without a byte of it changing: the document keeps
    // the values as read, no canvas needed.
    void everyItemSurvivesConversion()
    {
        TestDir dir;
        const QString input = TestSupport::dataPath(QStringLiteral("panels/every-item.cpf"));
        Fixture f;
        QVERIFY2(f.document.open(input), qPrintable(f.document.lastError()));
        QVERIFY2(f.document.save(dir.filePath(QStringLiteral("every.cpz"))),
                 qPrintable(f.document.lastError()));
        UArchive archive;
        QVERIFY(archive.open(dir.filePath(QStringLiteral("every.cpz"))));
        const QByteArray saved = readAll(archive.findMember(QStringLiteral(".cpf")));
        const QString text = QTextCodec::codecForName("UTF-16BE")->toUnicode(saved.mid(2));
        const QString expected = QString::fromUtf8(readAll(input))
                                     .replace(QStringLiteral("encoding=\"UTF-8\""),
                                              QStringLiteral("encoding=\"UTF-16\""))
                                     .replace(QStringLiteral("<appVersion>2.0.3.8<"),
                                              QStringLiteral("<appVersion>" ZRB_VERSION "<"));
        QCOMPARE(text, expected);
    }

    // A document that fails to read another file stays exactly as it was.
    void failedOpenLeavesTheDocument()
    {
        TestDir dir;
        Fixture f;
        fillDocument(f);
        QVERIFY(f.document.save(dir.filePath(QStringLiteral("good.cpz"))));
        const QString before = documentText(f.document);
        const QString path = f.document.path();
        const QString broken = dir.filePath(QStringLiteral("broken.cpf"));
        QVERIFY(writeFile(broken, controlsText(control(QStringLiteral("x"))).toUtf8().left(120)));
        QVERIFY(!f.document.open(broken));
        QCOMPARE(documentText(f.document), before);
        QCOMPARE(f.document.path(), path);
        QVERIFY(!f.document.loadDesign(broken));
        QVERIFY(!f.document.loadDesign(QStringLiteral(ZRB_SOURCE_DIR "/examples/old-version.zdp")));
        QCOMPARE(documentText(f.document), before);
    }

    void designTravelsWithThePanel()
    {
        TestDir dir;
        const QString archivePath = dir.path() + QStringLiteral("/room.cpz");
        {
            Fixture f;
            QVERIFY(f.document.newFromTemplate(QStringLiteral(ZRB_SOURCE_DIR "/templates/Blank Panel.tpl")));
            QVERIFY(f.document.loadDesign(QStringLiteral(ZRB_SOURCE_DIR "/examples/conference-room.zdp")));
            HNode *gain = f.document.hardware()->findByProperty(QStringLiteral("label"),
                                                                 QStringLiteral("Program Level"));
            QVERIFY(gain);
            CControl *level = f.currentPanel()->loadNodeControl(f.document.hardware(), gain,
                                                                QStringLiteral("Level"), QPointF(10, 40));
            QVERIFY(level);
            QCOMPARE(level->name(), QStringLiteral("Program Level"));
            QCOMPARE(level->attributes().transform(), QStringLiteral("strV"));
            QVERIFY2(f.document.save(archivePath), qPrintable(f.document.lastError()));
        }
        {
            UArchive archive;
            QVERIFY(archive.open(archivePath));
            QVERIFY(archive.findMember(QStringLiteral("/project/conference-room.zdp"))
                        .endsWith(QStringLiteral("/project/conference-room.zdp")));
        }

        Fixture g;
        QVERIFY2(g.document.open(archivePath), qPrintable(g.document.lastError()));
        QVERIFY(g.document.designPath().endsWith(QStringLiteral("/project/conference-room.zdp")));
        CControl *reopened = nullptr;
        for (CControl *child : g.currentPanel()->children()) {
            if (child->name() == QLatin1String("Program Level"))
                reopened = child;
        }
        QVERIFY(reopened);
        QVERIFY(reopened->block());
        QCOMPARE(reopened->block()->label(), QStringLiteral("Program Level"));
        QCOMPARE(reopened->block()->chassisLabel(), QStringLiteral("Room A"));
        // Bound to the node of the imported design, not to a stand-in.
        QVERIFY(reopened->block()->parent());
        QVERIFY(reopened->block()->isMarked());
        QVERIFY(reopened->transform());
    }

    void damagedArchiveIsNotReadAsXml()
    {
        TestDir dir;
        const QString path = dir.path() + QStringLiteral("/damaged.cpz");
        QVERIFY(writeFile(path, QByteArray("\x10\x00\x00\x00\x7f\xff\xff\xff garbage", 17)));
        Fixture f;
        QVERIFY(!f.document.open(path));
        QVERIFY2(f.document.lastError().contains(path), qPrintable(f.document.lastError()));
    }
};

ZRB_MODEL_TEST_MAIN(TestPanelFile)
#include "tst_panelfile.moc"
