#include "common/EditorTestSupport.h"
#include "common/TestDir.h"

#include "app/MModel.h"
#include "controls/WDelegate.h"
#include "controls/WImage.h"
#include "controls/WLabel.h"
#include "controls/WWidgetFactory.h"
#include "document/CCanvas.h"
#include "document/CComposite.h"
#include "document/CDocument.h"
#include "document/CItemRecord.h"
#include "document/io/UArchive.h"
#include "document/io/XmlWriter.h"
#include "views/VQmlFrame.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QPointer>
#include <QQmlAbstractUrlInterceptor>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QTest>
#include <QTextCodec>
#include <QUrl>

#include <memory>

namespace {

const QString Box = QStringLiteral("<x>0</x><y>0</y><width>50</width><height>20</height>");

// Hands the engine another file for one URL, so a component fails to load for real.
class RedirectingInterceptor : public QQmlAbstractUrlInterceptor
{
public:
    RedirectingInterceptor(const QUrl &from, const QUrl &to) : m_from(from), m_to(to) {}
    QUrl intercept(const QUrl &url, DataType) override { return url == m_from ? m_to : url; }

private:
    QUrl m_from;
    QUrl m_to;
};

WWidget *widget(CControl *control)
{
    CItem *item = control ? control->items().value(0) : nullptr;
    return item ? qobject_cast<WWidget *>(item->itemObject()) : nullptr;
}

QString written(CItem *item)
{
    return TestSupport::writtenXml([&](XmlWriter &writer) { item->writeXml(&writer); });
}

// A control holding the given item elements, in the form a panel file has it.
QString control(const QString &type, const QString &items, const QString &name = "c")
{
    return QStringLiteral("<Control name=\"%1\" type=\"%2\">\n<id>7</id>\n"
                          "<Property name=\"widget\">\n%3\n</Property>\n"
                          "<Property name=\"attributes\">\n</Property>\n</Control>\n")
        .arg(name, type, items);
}

// A control of one item; the control's type follows the item's.
QString oneItem(const QString &item, const QString &values)
{
    const QString type = item == QLatin1String("bounds") ? QStringLiteral("Frame")
                                                         : item.left(1).toUpper() + item.mid(1);
    return control(type, QStringLiteral("<%1>\n%2\n</%1>").arg(item, values));
}

bool savePicture(const QString &path, const QSize &size)
{
    QImage pixels(size, QImage::Format_ARGB32);
    pixels.fill(Qt::blue);
    return pixels.save(path);
}

} // namespace

// The native items inside real QML components, loaded through the factory
// in the engine of a canvas view that is never shown.
class TestItems : public QObject
{
    Q_OBJECT

private:
    CCanvas *m_pCanvas = nullptr;
    MModel *m_pModel = nullptr;
    VQmlFrame *m_pFrame = nullptr;
    QQuickItem *m_pContent = nullptr;
    QStringList m_warnings;

    WWidget *load(const QString &type)
    {
        return WDelegate::instance()->factory()->loadWidget(type);
    }

    // Controls read from a clipboard text into the current panel; answers
    // the control when there is one.
    CControl *read(const QString &controls)
    {
        const QString text =
            QStringLiteral("<?xml version=\"1.0\"?>\n<ZDX>\n<Controls>\n%1</Controls>\n</ZDX>\n");
        return m_pModel->currentPanel()->loadText(text.arg(controls), m_pModel->hardwareRoot());
    }

    WWidget *readItem(const QString &item, const QString &values)
    {
        return widget(read(oneItem(item, values)));
    }

private slots:
    void init()
    {
        m_warnings.clear();
        m_pCanvas = new CCanvas();
        m_pModel = new MModel();
        m_pModel->setCanvas(m_pCanvas);
        m_pFrame = new VQmlFrame();
        connect(m_pFrame->engine(), &QQmlEngine::warnings, this,
                [this](const QList<QQmlError> &list) {
                    for (const QQmlError &error : list)
                        m_warnings << error.toString();
                });
        m_pFrame->initialize(true);
        m_pModel->setQmlFrame(m_pFrame);
        m_pFrame->setModel(m_pModel);
        m_pContent = new QQuickItem();
        m_pModel->setCanvasItem(m_pContent);
        m_pModel->rebindFactory(m_pFrame->engine()->rootContext());
        m_pModel->initialize();
        QVERIFY(m_pModel->newDocument(QStringLiteral(ZRB_SOURCE_DIR "/templates/Blank Panel.tpl")));
    }

    void cleanup()
    {
        delete m_pFrame;
        delete m_pContent;
        delete m_pModel;
        delete m_pCanvas;
        QVERIFY2(m_warnings.isEmpty(), qPrintable(m_warnings.join(QLatin1Char('\n'))));
    }

    void factoryTypeNames_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("className"); // empty: the factory knows no such type
        QTest::newRow("label") << "label"
                               << "WLabel";
        QTest::newRow("image") << "image"
                               << "WImage";
        QTest::newRow("frame") << "frame"
                               << "WFrame";
        QTest::newRow("bounds") << "bounds"
                                << "WFrame";
        QTest::newRow("capital") << "Label"
                                 << "";
        QTest::newRow("unknown") << "gauge"
                                 << "";
        QTest::newRow("empty") << ""
                               << "";
    }

    void factoryTypeNames()
    {
        QFETCH(QString, type);
        QFETCH(QString, className);
        WWidget *item = load(type);
        QCOMPARE(item ? QString::fromLatin1(item->metaObject()->className()) : QString(),
                 className);
        if (!item)
            return;
        QCOMPARE(item->typeName(), type);
        QCOMPARE(item->root()->parentItem(), m_pContent);
        QCOMPARE(item->root()->isVisible(), false);
        delete item->root();
    }

    void fractionsInWrittenOrder()
    {
        WWidget *item = load(QStringLiteral("label"));
        QVERIFY(item);
        item->loadAttribute(QStringLiteral("xfract"), QStringLiteral("0.25"));
        QCOMPARE(item->widthfract(), 0.75);
        item->loadAttribute(QStringLiteral("widthfract"), QStringLiteral("0.5"));
        item->loadAttribute(QStringLiteral("yfract"), QStringLiteral("0.1"));
        item->loadAttribute(QStringLiteral("heightfract"), QStringLiteral("0.2"));
        QCOMPARE(item->xfract(), 0.25);
        QCOMPARE(item->widthfract(), 0.5);
        QCOMPARE(item->yfract(), 0.1);
        QCOMPARE(item->heightfract(), 0.2);
        item->setGeometry(100, 200, 40, 50);
        QCOMPARE(item->rootGeometry(), QRectF(110, 205, 20, 10));
        // Following a resize keeps the fractions; a pure move changes nothing.
        item->followResize(QRectF(100, 200, 40, 50), QRectF(100, 200, 80, 50));
        QCOMPARE(item->rootGeometry(), QRectF(120, 205, 40, 10));
        item->followResize(QRectF(100, 200, 80, 50), QRectF(300, 300, 80, 50));
        QCOMPARE(item->rootGeometry(), QRectF(120, 205, 40, 10));
        delete item->root();
    }

    void positionAttributes()
    {
        CControl *frame = read(oneItem(
            "frame", QStringLiteral("<x>10.9</x><y>20</y><width>100</width><height>40</height>")));
        WWidget *item = widget(frame);
        QVERIFY(item);
        QCOMPARE(item->attribute(0x4001).toInt(), 10);
        item->setAttribute(0x4001, 30);
        QCOMPARE(frame->bounds().x(), 30.0);
        QCOMPARE(frame->bounds().right(), 110.9);
        item->setAttribute(0x4004, 60);
        QCOMPARE(frame->bounds().height(), 60.0);
        QCOMPARE(item->attribute(0x9999).toString(), QString());
    }

    void selectionOverlayFollowsSelEnable()
    {
        CControl *label = read(oneItem("label", Box + QStringLiteral("<text>Hi</text>")));
        CControl *bounds = read(oneItem("bounds", Box));
        QVERIFY(widget(label) && widget(bounds));
        label->setEditMode(true);
        bounds->setEditMode(true);
        QVERIFY(widget(label)->selector());
        QVERIFY(!widget(bounds)->selector());
        label->setEditMode(false);
        QTRY_VERIFY(!widget(label)->selector());

        // A record with editing disabled gets no overlay either.
        label->attributes().setEnableEdit(false);
        label->setEditMode(true);
        QVERIFY(!widget(label)->selector());
    }

    void labelFaces_data()
    {
        QTest::addColumn<QString>("values");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("faces"); // as written; empty: none
        QTest::addColumn<QString>("reread");
        QTest::newRow("bold after text") << "<text>Hall</text><face>bold</face>"
                                         << "<b>Hall</b>"
                                         << "<face>bold</face>"
                                         << "<b>Hall</b>";
        // The face wraps nothing yet, but is remembered and written after the text.
        QTest::newRow("face before text") << "<face>bold</face><text>Hall</text>"
                                          << "Hall"
                                          << "<face>bold</face>"
                                          << "<b>Hall</b>";
        QTest::newRow("bold and underline")
            << "<text>Hall</text><face>bold</face><face>underline</face>"
            << "<u><b>Hall</b></u>"
            << "<face>bold</face>\n\t<face>underline</face>"
            << "<u><b>Hall</b></u>";
        QTest::newRow("italic") << "<text>Hall</text><face>italic</face>"
                                << "<i>Hall</i>"
                                << "<face>italic</face>"
                                << "<i>Hall</i>";
        QTest::newRow("unknown face") << "<text>Hall</text><face>shadow</face>"
                                      << "Hall"
                                      << ""
                                      << "Hall";
    }

    void labelFaces()
    {
        QFETCH(QString, values);
        QFETCH(QString, shown);
        QFETCH(QString, faces);
        QFETCH(QString, reread);
        WWidget *item = readItem("label", Box + values);
        QVERIFY(item);
        QCOMPARE(item->rootText(), shown);
        const QString xml = written(item);
        QVERIFY2(xml.contains(QStringLiteral("\t<text>Hall</text>\n")), qPrintable(xml));
        QVERIFY2(faces.isEmpty() ? !xml.contains(QStringLiteral("<face>")) : xml.contains(faces),
                 qPrintable(xml));

        // What was written reads back to the same face.
        WWidget *again = widget(read(QStringLiteral("<Control name=\"d\" type=\"Label\">\n"
                                                    "<Property name=\"widget\">\n%1</Property>\n"
                                                    "</Control>\n")
                                         .arg(xml)));
        QVERIFY(again);
        QCOMPARE(again->rootText(), reread);
    }

    void labelOptionalValues()
    {
        auto *plain = qobject_cast<WLabel *>(
            readItem("label", Box + QStringLiteral("<text>A &#60; b</text>")));
        QVERIFY(plain);
        QCOMPARE(plain->plainText(), QStringLiteral("A < b"));
        const QString xml = written(plain);
        for (const char *name :
             {"<rotation>", "<scale>", "<edit>", "<select>", "<autosize>", "<id>", "<link>"})
            QVERIFY2(!xml.contains(QLatin1String(name)), qPrintable(xml));

        const QString values =
            QStringLiteral("<align>right</align>\n\t<color>#ff112233</color>\n\t<rotation>90"
                           "</rotation>\n\t<scale>2</scale>\n\t<edit>true</edit>\n\t<select>false"
                           "</select>\n\t<autosize>true</autosize>\n");
        auto *label = qobject_cast<WLabel *>(
            readItem("label", Box + QStringLiteral("<text>A</text>") + values));
        QVERIFY(label);
        QCOMPARE(label->attribute(0x4100).toString(), QStringLiteral("Right"));
        QCOMPARE(label->attribute(0x4101).toString(), QStringLiteral("2.0"));
        QVERIFY2(written(label).contains(values), qPrintable(written(label)));
        label->setAttribute(0x4101, QStringLiteral("1.25"));
        QCOMPARE(label->attribute(0x4101).toString(), QStringLiteral("1.25"));
        label->setAttribute(0x4100, QStringLiteral("CENTER"));
        QCOMPARE(label->attribute(0x4100).toString(), QStringLiteral("Center"));
        label->setAttribute(0x4100, QStringLiteral("middle"));
        QCOMPARE(label->attribute(0x4100).toString(), QStringLiteral("Left"));
    }

    void labelTextsShowAsRichTextWould_data()
    {
        // Labels show plain text unless theirs needs rich text; either way
        // the text takes the room rich text gives it.
        QTest::addColumn<QString>("text"); // as read from the file
        QTest::addColumn<QString>("face"); // empty: none
        QTest::addColumn<bool>("rich");
        QTest::newRow("plain words") << "Zone 12 level"
                                     << "" << false;
        QTest::newRow("bold") << "Zone 12 level"
                              << "bold" << true;
        QTest::newRow("entity") << "Hall &#38; bar"
                                << "" << true;
        QTest::newRow("markup") << "a &#60;i&#62;b&#60;/i&#62; c"
                                << "" << true;
        QTest::newRow("one blank") << "a b"
                                   << "" << false;
    }

    void labelTextsShowAsRichTextWould()
    {
        QFETCH(QString, text);
        QFETCH(QString, face);
        QFETCH(bool, rich);
        const QString faces = face.isEmpty() ? QString() : "<face>" + face + "</face>";
        auto *label =
            qobject_cast<WLabel *>(readItem("label", Box + "<text>" + text + "</text>" + faces));
        QVERIFY(label);
        QCOMPARE(label->rootProperty("textFormat").toInt(),
                 int(rich ? Qt::RichText : Qt::PlainText));
        // The same text as rich text, in a plain text item.
        QQmlComponent component(m_pFrame->engine());
        component.setData("import QtQuick 2.2\nText {}\n", QUrl());
        std::unique_ptr<QObject> object(component.create());
        auto *reference = qobject_cast<QQuickItem *>(object.get());
        QVERIFY(reference);
        for (const char *name :
             {"font", "width", "height", "horizontalAlignment", "renderType", "text"})
            reference->setProperty(name, label->root()->property(name));
        reference->setProperty("textFormat", int(Qt::RichText));
        for (const char *size : {"implicitWidth", "implicitHeight", "lineCount"})
            QCOMPARE(label->root()->property(size), reference->property(size));
    }

    void frameValuesRoundTrip()
    {
        WWidget *item =
            readItem("frame", QStringLiteral(
                                  "<x>5</x><y>6</y><width>70</width><height>80</height><id>99</id>"
                                  "<shape>round</shape><shadow>raised</shadow><fieldcolor>"
                                  "#80102030</fieldcolor><bordercolor>#ff405060</bordercolor>"
                                  "<borderwidth>2.5</borderwidth><hasBorder>0</hasBorder>"));
        QVERIFY(item);
        QCOMPARE(item->itemId(), 0u); // frames take no id
        QCOMPARE(
            written(item),
            QStringLiteral("<frame>\n\t<x>5</x>\n\t<y>6</y>\n\t<width>70</width>\n"
                           "\t<height>80</height>\n\t<xfract>0</xfract>\n\t<yfract>0</yfract>\n"
                           "\t<widthfract>1</widthfract>\n\t<heightfract>1</heightfract>\n"
                           "\t<shape>box</shape>\n\t<shadow>plain</shadow>\n"
                           "\t<fieldcolor>#80102030</fieldcolor>\n"
                           "\t<bordercolor>#ff405060</bordercolor>\n"
                           "\t<borderwidth>2.5</borderwidth>\n\t<hasBorder>0</hasBorder>\n"
                           "</frame>\n"));
    }

    // A document opens with items for the panel it shows; another panel gets
    // its items when it is first shown, in the skin chosen meanwhile, and
    // panels never shown are saved with their values exactly as read.
    void panelsGetTheirItemsWhenShown()
    {
        TestDir dir;
        QString scenes;
        for (int c = 1; c <= 2; ++c) {
            QString panels;
            for (int p = 1; p <= 2; ++p)
                panels +=
                    QStringLiteral("<Panel name=\"P%1\" type=\"complete\"><Controls>%2"
                                   "</Controls></Panel>\n")
                        .arg(p)
                        .arg(oneItem("label", QStringLiteral("<x>1.25</x><y>2</y><width>60</width>"
                                                             "<height>20</height><text>C%1 P%2"
                                                             "</text>")
                                                  .arg(c)
                                                  .arg(p)) +
                                 oneItem("button", Box + "<onimage>../images/skins/Accent/Blue/"
                                                         "mute_on.png</onimage>"));
            scenes += QStringLiteral("<Scene name=\"C%1\"><Panels>%2</Panels></Scene>\n")
                          .arg(c)
                          .arg(panels);
        }
        const QString path = dir.filePath(QStringLiteral("four.cpf"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) &&
                file.write(("<?xml version=\"1.0\"?>\n<ZDX><Scenes>" + scenes + "</Scenes></ZDX>\n")
                               .toUtf8()) > 0);
        file.close();

        // The document it replaces leaves the canvas at once and goes soon after.
        QPointer<QQuickItem> old = widget(m_pModel->currentPanel()->childAt(0))->root();
        QVERIFY(old);
        QVERIFY2(m_pModel->open(path), qPrintable(m_pModel->lastError()));
        QVERIFY(!old || !old->parentItem());
        QTRY_VERIFY(!old);

        const auto label = [this](int c, int p) {
            auto *collection = static_cast<CComposite *>(m_pModel->documentRoot()->childAt(c));
            return static_cast<CComposite *>(collection->childAt(p))->childAt(0);
        };
        QCOMPARE(m_pModel->currentPanel(), label(0, 0)->parent());
        QVERIFY(widget(label(0, 0)));
        QCOMPARE(widget(label(0, 0))->rootText(), QStringLiteral("C1 P1"));
        for (const auto &[c, p] : {std::pair(0, 1), std::pair(1, 0), std::pair(1, 1)})
            QVERIFY2(label(c, p)->items().isEmpty() && label(c, p)->hasUnbuiltItems(),
                     qPrintable(QStringLiteral("C%1 P%2 has items").arg(c + 1).arg(p + 1)));

        // As read until the skin changes; then also what is built later.
        const auto onImage = [&label](int c, int p) {
            return widget(label(c, p)->parent()->childAt(1))->rootProperty("onImage").toString();
        };
        QCOMPARE(onImage(0, 0), QStringLiteral("../images/skins/Accent/Blue/mute_on.png"));
        m_pCanvas->setAccent(QStringLiteral("Red"));
        m_pModel->applySkin(m_pCanvas->skin(), m_pCanvas->accent());
        QCOMPARE(onImage(0, 0), QStringLiteral("../images/skins/Accent/Red/mute_on.png"));

        QVERIFY(m_pModel->setPage(1));
        QCOMPARE(onImage(0, 1), QStringLiteral("../images/skins/Accent/Red/mute_on.png"));
        QVERIFY(widget(label(0, 1)));
        QCOMPARE(widget(label(0, 1))->rootText(), QStringLiteral("C1 P2"));
        QCOMPARE(widget(label(0, 1))->rootGeometry(), widget(label(0, 0))->rootGeometry());

        // Saved: the shown panels write what their items hold, the others
        // what was read.
        QVERIFY2(m_pModel->save(dir.filePath(QStringLiteral("four.cpz"))),
                 qPrintable(m_pModel->lastError()));
        CCanvas canvas;
        CDocument saved;
        saved.setCanvas(&canvas);
        QVERIFY2(saved.open(dir.filePath(QStringLiteral("four.cpz"))),
                 qPrintable(saved.lastError()));
        auto *collection = static_cast<CComposite *>(saved.root()->childAt(1));
        const CItemRecord record =
            static_cast<CComposite *>(collection->childAt(1))->childAt(0)->itemRecords().value(0);
        QCOMPARE(record.value(QStringLiteral("x")), QStringLiteral("1.25"));
        QCOMPARE(record.value(QStringLiteral("text")), QStringLiteral("C2 P2"));
        QVERIFY2(!record.hasValue(QStringLiteral("xfract")), "written by a live item");
    }

    // A picture chosen from a file travels in the saved archive and is found
    // in its extracted copy when the archive is opened from another folder.
    void picturesTravelInsideTheArchive()
    {
        WWidget *item = readItem("image", Box);
        QVERIFY(item);
        QCOMPARE(item->rootProperty("path").toString(), QStringLiteral("../images/default.png"));
        QVERIFY(item->hasProperties());
        TestDir source;
        TestDir moved;
        const QString picture = source.filePath(QStringLiteral("logo.png"));
        QVERIFY(savePicture(picture, QSize(8, 2)));
        const QString url = QUrl::fromLocalFile(picture).toString();
        item->setAttribute(0x4400, picture);
        QCOMPARE(item->attribute(0x4400).toString(), url);
        // The picture sets the width-to-height ratio once it has loaded.
        QTRY_COMPARE(item->rootProperty("ratio").toDouble(), 4.0);
        item->setAttribute(0x4400, url);
        QCOMPARE(item->attribute(0x4400).toString(), url);

        QVERIFY2(m_pModel->save(source.filePath(QStringLiteral("show.cpz"))),
                 qPrintable(m_pModel->lastError()));
        QVERIFY(QFile::rename(source.filePath(QStringLiteral("show.cpz")),
                              moved.filePath(QStringLiteral("show.cpz"))));
        QVERIFY(QFile::remove(picture));
        QVERIFY2(m_pModel->open(moved.filePath(QStringLiteral("show.cpz"))),
                 qPrintable(m_pModel->lastError()));
        CComposite *panel = m_pModel->currentPanel();
        WWidget *reopened = widget(panel->childAt(panel->childCount() - 1));
        QVERIFY(reopened);
        const QUrl path(reopened->rootProperty("path").toString());
        QVERIFY2(path.isLocalFile() && path.path().endsWith(QStringLiteral("/image/logo.png")),
                 qPrintable(path.toString()));
        QCOMPARE(QImage(path.toLocalFile()).size(), QSize(8, 2));
    }

    // A file holding every item type as the program writes it, opened with
    // live items on the canvas, is written back unchanged: each item reads
    // all it writes.
    void everyItemRoundTripsThroughLiveItems()
    {
        const QString path = TestSupport::dataPath(QStringLiteral("panels/every-item.cpf"));
        QVERIFY2(m_pModel->open(path), qPrintable(m_pModel->lastError()));
        QStringList live;
        for (CControl *control : m_pModel->currentPanel()->children()) {
            for (const CItemRecord &record : control->itemRecords()) {
                if (record.live())
                    live << record.type();
                else
                    QCOMPARE(record.type(), QStringLiteral("gadget"));
            }
        }
        for (const char *type :
             {"bounds", "label", "slider", "textedit", "button", "image", "frame", "droplist",
              "textlink", "panellink", "region", "dialer", "cmdbutton", "dropsite"})
            QVERIFY2(live.contains(QLatin1String(type)), type);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString expected = QString::fromUtf8(file.readAll())
                                     .replace(QStringLiteral("<appVersion>2.0.3.8<"),
                                              QStringLiteral("<appVersion>" ZRB_VERSION "<"));
        const QString text =
            TestSupport::writtenXml([&](XmlWriter &writer) { m_pModel->writeDocument(&writer); });
        QCOMPARE(text.split(QLatin1Char('\n')), expected.split(QLatin1Char('\n')));
    }

    // Items the canvas cannot build keep their values in the document and are
    // saved as they were read; the items it built write what they show.
    void unbuiltItemsAreSavedAsRead()
    {
        TestDir dir;
        QFile broken(dir.filePath(QStringLiteral("Broken.qml")));
        QVERIFY(broken.open(QIODevice::WriteOnly) && broken.write("import QtQuick 2.15\nItem {"));
        broken.close();
        RedirectingInterceptor interceptor(QUrl(WWidgetFactory::fileFor(QStringLiteral("region"))),
                                           QUrl::fromLocalFile(broken.fileName()));
        m_pFrame->engine()->setUrlInterceptor(&interceptor);
        QTest::ignoreMessage(QtWarningMsg, "QQmlComponent: Component is not ready");
        const QString gauge =
            QStringLiteral("<gauge><x>1</x><needle>0.5</needle><note></note><x>2</x></gauge>");
        const QString region = QStringLiteral("<x>2</x><y>3</y><width>4</width><height>5</height>"
                                              "<shade>dark</shade>");
        const QString second = QStringLiteral("<label><x>1</x><text>Second</text></label>");
        read(control("Label", "<label>" + Box + "<text>Old</text></label>" + gauge + second,
                     "mixed") +
             control("Region", "<region>" + region + "</region>", "failed"));
        m_pFrame->engine()->setUrlInterceptor(nullptr);
        CComposite *panel = m_pModel->currentPanel();
        CControl *mixed = panel->childAt(panel->childCount() - 2);
        CControl *failed = panel->childAt(panel->childCount() - 1);
        QCOMPARE(mixed->itemRecords().count(), 3);
        QCOMPARE(mixed->items().count(), 2);
        QVERIFY(mixed->itemRecords().at(1).liveFailed());
        QCOMPARE(failed->itemRecords().count(), 1);
        QVERIFY2(failed->items().isEmpty(), "the broken component gave an item");
        mixed->items().first()->setTitle(QStringLiteral("New"));

        const QString path = dir.filePath(QStringLiteral("show.cpz"));
        QVERIFY2(m_pModel->save(path), qPrintable(m_pModel->lastError()));
        UArchive archive;
        QVERIFY2(archive.open(path), qPrintable(archive.errorString()));
        QFile file(archive.findMember(QStringLiteral(".cpf")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QString saved = QTextCodec::codecForUtfText(bytes)->toUnicode(bytes);
        saved.remove(QLatin1Char('\t')).remove(QLatin1Char('\n'));
        // The items in their order: the live label's values, the unknown item
        // as read, then the second label.
        const int start = saved.indexOf(QStringLiteral("<label>"), saved.indexOf("\"mixed\""));
        const QString items = saved.mid(start, saved.indexOf("</Property>", start) - start);
        QVERIFY2(items.startsWith(QStringLiteral("<label><x>0</x>")) &&
                     items.contains(QStringLiteral("<text>New</text>")) &&
                     items.contains(QStringLiteral("<xfract>0</xfract>")),
                 qPrintable(items));
        QVERIFY2(items.contains("</label>" + gauge + "<label><x>1</x>"), qPrintable(items));
        QVERIFY2(saved.contains(QStringLiteral("<region>%1</region>").arg(region)),
                 qPrintable(saved));
    }
};

ZRB_TEST_MAIN(TestItems)
#include "tst_items.moc"
