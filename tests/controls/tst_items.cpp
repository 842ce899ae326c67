#include "common/EditorTestSupport.h"
#include "common/TestDir.h"

#include "app/MModel.h"
#include "controls/WDelegate.h"
#include "controls/WImage.h"
#include "controls/WLabel.h"
#include "controls/WWidgetFactory.h"
#include "document/CCanvas.h"
#include "document/CComposite.h"
#include "document/io/UArchive.h"
#include "document/io/XmlWriter.h"
#include "views/VQmlFrame.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QQmlAbstractUrlInterceptor>
#include <QQmlEngine>
#include <QQuickItem>
#include <QTest>
#include <QTextCodec>
#include <QUrl>

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

WWidget *widget(CControl *control, int index = 0)
{
    const QList<CItem *> live = control ? control->items() : QList<CItem *>();
    return index < live.count() ? qobject_cast<WWidget *>(live.at(index)->itemObject()) : nullptr;
}

QString written(CItem *item)
{
    return TestSupport::writtenXml([&](XmlWriter &writer) { item->writeXml(&writer); });
}

// From the start tag of first to the end tag of last, after the control of
// that name, without the layout the writer added.
QString elements(const QString &xml, const QString &control, const QString &first,
                 const QString &last)
{
    const int from = xml.indexOf(QStringLiteral("name=\"%1\"").arg(control));
    const int start = xml.indexOf(QStringLiteral("<%1>").arg(first), qMax(from, 0));
    const QString end = QStringLiteral("</%1>").arg(last);
    const int stop = xml.indexOf(end, start);
    if (from < 0 || start < 0 || stop < 0)
        return QString();
    QString text = xml.mid(start, stop + end.length() - start);
    return text.remove(QLatin1Char('\t')).remove(QLatin1Char('\n'));
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

    // A control read from a clipboard text into the current panel.
    CControl *read(const QString &controls)
    {
        const QString text = QStringLiteral("<?xml version=\"1.0\"?>\n<ZDX>\n<Controls>\n%1"
                                            "</Controls>\n</ZDX>\n")
                                 .arg(controls);
        return m_pModel->currentPanel()->loadText(text, m_pModel->hardwareRoot());
    }

    static QString control(const QString &type, const QString &item, const QString &values,
                           const QString &name = QStringLiteral("c"))
    {
        return QStringLiteral("<Control name=\"%4\" type=\"%1\">\n<id>7</id>\n"
                              "<Property name=\"widget\">\n<%2>\n%3\n</%2>\n</Property>\n"
                              "<Property name=\"attributes\">\n</Property>\n</Control>\n")
            .arg(type, item, values, name);
    }

    CControl *readItem(const QString &type, const QString &item, const QString &values)
    {
        return read(control(type, item, values));
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
        QTest::addColumn<QString>("className");
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
        QCOMPARE(item != nullptr, !className.isEmpty());
        if (!item)
            return;
        QCOMPARE(QString::fromLatin1(item->metaObject()->className()), className);
        QCOMPARE(item->typeName(), type);
        QVERIFY(item->root());
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
        CControl *frame = readItem(QStringLiteral("Frame"), QStringLiteral("frame"),
                                   QStringLiteral("<x>10.9</x><y>20</y><width>100</width>"
                                                  "<height>40</height>"));
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
        CControl *label = readItem(QStringLiteral("Label"), QStringLiteral("label"),
                                   Box + QStringLiteral("<text>Hi</text>"));
        CControl *bounds = readItem(QStringLiteral("Frame"), QStringLiteral("bounds"),
                                    QStringLiteral("<x>0</x><y>0</y><width>300</width>"
                                                   "<height>340</height>"));
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
        QTest::addColumn<QString>("faces");
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
        auto *item = qobject_cast<WLabel *>(
            widget(readItem(QStringLiteral("Label"), QStringLiteral("label"), Box + values)));
        QVERIFY(item);
        QCOMPARE(item->rootText(), shown);
        const QString xml = written(item);
        QVERIFY2(xml.contains(QStringLiteral("\t<text>Hall</text>\n")), qPrintable(xml));
        QVERIFY2(faces.isEmpty() ? !xml.contains(QStringLiteral("<face>")) : xml.contains(faces),
                 qPrintable(xml));

        // What was written reads back to the same face.
        CControl *again = read(QStringLiteral("<Control name=\"d\" type=\"Label\">\n"
                                              "<Property name=\"widget\">\n%1</Property>\n"
                                              "</Control>\n")
                                   .arg(xml));
        QVERIFY(widget(again));
        QCOMPARE(widget(again)->rootText(), reread);
    }

    void labelOptionalValues()
    {
        CControl *plain = readItem(QStringLiteral("Label"), QStringLiteral("label"),
                                   Box + QStringLiteral("<text>A &#60; b</text>"));
        QVERIFY(widget(plain));
        QCOMPARE(qobject_cast<WLabel *>(widget(plain))->plainText(), QStringLiteral("A < b"));
        const QString xml = written(widget(plain));
        for (const char *name :
             {"<rotation>", "<scale>", "<edit>", "<select>", "<autosize>", "<id>", "<link>"})
            QVERIFY2(!xml.contains(QLatin1String(name)), qPrintable(xml));

        auto *label = qobject_cast<WLabel *>(widget(readItem(
            QStringLiteral("Label"), QStringLiteral("label"),
            Box + QStringLiteral("<text>A</text><align>Right</align><color>#ff112233</color>"
                                 "<rotation>90</rotation><scale>2</scale><edit>true</edit>"
                                 "<select>false</select><autosize>true</autosize>"))));
        QVERIFY(label);
        QCOMPARE(label->attribute(0x4100).toString(), QStringLiteral("Right"));
        QCOMPARE(label->attribute(0x4101).toString(), QStringLiteral("2.0"));
        const QString fullXml = written(label);
        QVERIFY2(fullXml.contains(QStringLiteral(
                     "<align>right</align>\n\t<color>#ff112233</color>\n\t<rotation>90</rotation>"
                     "\n\t<scale>2</scale>\n\t<edit>true</edit>\n\t<select>false</select>\n"
                     "\t<autosize>true</autosize>\n")),
                 qPrintable(fullXml));
        label->setAttribute(0x4101, QStringLiteral("1.25"));
        QCOMPARE(label->attribute(0x4101).toString(), QStringLiteral("1.25"));
        label->setAttribute(0x4100, QStringLiteral("CENTER"));
        QCOMPARE(label->attribute(0x4100).toString(), QStringLiteral("Center"));
        label->setAttribute(0x4100, QStringLiteral("middle"));
        QCOMPARE(label->attribute(0x4100).toString(), QStringLiteral("Left"));
    }

    void imageDefaultsAndValues()
    {
        WWidget *item = widget(readItem(QStringLiteral("Image"), QStringLiteral("image"), Box));
        QVERIFY(item);
        QCOMPARE(item->rootProperty("path").toString(), QStringLiteral("../images/default.png"));
        QVERIFY(item->hasProperties());
        TestDir dir;
        const QString picture = dir.path() + QStringLiteral("/picture.png");
        QImage pixels(8, 2, QImage::Format_ARGB32);
        pixels.fill(Qt::blue);
        QVERIFY(pixels.save(picture));
        const QString url = QUrl::fromLocalFile(picture).toString();
        item->setAttribute(0x4400, picture);
        QCOMPARE(item->attribute(0x4400).toString(), url);
        // The picture sets the width-to-height ratio once it has loaded.
        QTRY_COMPARE(item->rootProperty("ratio").toDouble(), 4.0);
        item->setAttribute(0x4400, url);
        QCOMPARE(item->attribute(0x4400).toString(), url);
        QCOMPARE(WImage::toFileUrl(QStringLiteral("relative.png")),
                 QUrl::fromLocalFile(QStringLiteral("relative.png")).toString());
    }

    void frameValuesRoundTrip()
    {
        CControl *frame = readItem(
            QStringLiteral("Frame"), QStringLiteral("frame"),
            QStringLiteral("<x>5</x><y>6</y><width>70</width><height>80</height><id>99</id>"
                           "<shape>round</shape><shadow>raised</shadow>"
                           "<fieldcolor>#80102030</fieldcolor><bordercolor>#ff405060</bordercolor>"
                           "<borderwidth>2.5</borderwidth><hasBorder>0</hasBorder>"));
        WWidget *item = widget(frame);
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

    void picturesTravelInsideTheArchive()
    {
        TestDir source;
        TestDir moved;
        const QString picture = source.path() + QStringLiteral("/logo.png");
        QImage pixels(4, 3, QImage::Format_ARGB32);
        pixels.fill(Qt::red);
        QVERIFY(pixels.save(picture));

        WWidget *item = widget(readItem(QStringLiteral("Image"), QStringLiteral("image"), Box));
        QVERIFY(item);
        item->setAttribute(0x4400, picture);
        const QString archive = source.path() + QStringLiteral("/show.cpz");
        QVERIFY2(m_pModel->save(archive), qPrintable(m_pModel->lastError()));
        QVERIFY(QFile::rename(archive, moved.path() + QStringLiteral("/show.cpz")));
        QVERIFY(QFile::remove(picture));

        QVERIFY2(m_pModel->open(moved.path() + QStringLiteral("/show.cpz")),
                 qPrintable(m_pModel->lastError()));
        CComposite *panel = m_pModel->currentPanel();
        WWidget *reopened = widget(panel->childAt(panel->childCount() - 1));
        QVERIFY(reopened);
        const QUrl path(reopened->rootProperty("path").toString());
        QVERIFY2(path.isLocalFile(), qPrintable(path.toString()));
        QVERIFY2(path.toLocalFile().endsWith(QStringLiteral("/image/logo.png")),
                 qPrintable(path.toString()));
        QCOMPARE(QImage(path.toLocalFile()).size(), QSize(4, 3));
    }

    // Items the canvas cannot build keep their values in the document and are
    // saved as they were read; items it built write what they show now.
    void unbuiltItemsAreSavedAsRead()
    {
        TestDir dir;
        const QString broken = dir.path() + QStringLiteral("/Broken.qml");
        QFile qml(broken);
        QVERIFY(qml.open(QIODevice::WriteOnly) && qml.write("import QtQuick 2.15\nItem {\n") > 0);
        qml.close();
        RedirectingInterceptor interceptor(QUrl(WWidgetFactory::fileFor(QStringLiteral("region"))),
                                           QUrl::fromLocalFile(broken));
        m_pFrame->engine()->setUrlInterceptor(&interceptor);

        const QString gauge =
            QStringLiteral("<gauge><x>1</x><needle>0.5</needle><note></note><x>2</x></gauge>");
        const QString regionValues = QStringLiteral("<x>2</x><y>3</y><width>40</width>"
                                                    "<height>50</height><shade>dark</shade>");
        CControl *mixed = read(QStringLiteral("<Control name=\"mixed\" type=\"Label\">\n"
                                              "<Property name=\"widget\">\n<label>%1"
                                              "<text>Old</text></label>\n%2\n</Property>\n"
                                              "</Control>\n")
                                   .arg(Box, gauge));
        CControl *failed = read(control(QStringLiteral("Region"), QStringLiteral("region"),
                                        regionValues, QStringLiteral("failed")));
        m_pFrame->engine()->setUrlInterceptor(nullptr);
        QVERIFY(mixed && failed);
        QCOMPARE(mixed->itemRecords().count(), 2);
        QCOMPARE(mixed->items().count(), 1);
        QVERIFY(mixed->itemRecords().at(1).liveFailed());
        QCOMPARE(failed->itemRecords().count(), 1);
        QVERIFY2(failed->items().isEmpty(), "the broken component gave an item");
        mixed->items().first()->setTitle(QStringLiteral("New"));

        const QString path = dir.path() + QStringLiteral("/show.cpz");
        QVERIFY2(m_pModel->save(path), qPrintable(m_pModel->lastError()));
        UArchive archive;
        QVERIFY2(archive.open(path), qPrintable(archive.errorString()));
        QFile panelFile(archive.findMember(QStringLiteral(".cpf")));
        QVERIFY(panelFile.open(QIODevice::ReadOnly));
        const QByteArray bytes = panelFile.readAll();
        const QString saved = QTextCodec::codecForUtfText(bytes)->toUnicode(bytes);

        const QString label = elements(saved, QStringLiteral("mixed"), QStringLiteral("label"),
                                       QStringLiteral("label"));
        QVERIFY2(label.contains(QStringLiteral("<text>New</text>")) &&
                     label.contains(QStringLiteral("<xfract>0</xfract>")),
                 qPrintable(saved));
        // The unknown item keeps its place after the label.
        QCOMPARE(elements(saved, QStringLiteral("mixed"), QStringLiteral("label"),
                          QStringLiteral("gauge")),
                 label + gauge);
        QCOMPARE(elements(saved, QStringLiteral("failed"), QStringLiteral("region"),
                          QStringLiteral("region")),
                 QStringLiteral("<region>%1</region>").arg(regionValues));
    }
};

ZRB_TEST_MAIN(TestItems)
#include "tst_items.moc"
