#include "common/TestDir.h"
#include "common/TestSupport.h"

#include "document/CCanvas.h"
#include "document/CComposite.h"
#include "document/CControlHost.h"
#include "document/CDocument.h"
#include "document/CIdSource.h"
#include "document/USettings.h"
#include "document/io/UArchive.h"
#include "document/io/XmlWriter.h"

#include <QFile>
#include <QGuiApplication>
#include <QTest>
#include <QUrl>

namespace {

// What an application showing the document would be told.
class RecordingHost : public CControlHost
{
public:
    double pixelScale() const override { return scale; }
    CItemFactory *itemFactory() const override { return nullptr; }
    void selectionChanged(bool selected, bool ccp) override { changes << qMakePair(selected, ccp); }
    const CCanvas *canvas() const override { return nullptr; }
    QString resolveImagePath(const QString &path) const override { return path; }

    double scale = 1.0;
    QList<QPair<bool, bool>> changes;
};

CComposite *makeNode(const QString &kind, const QString &name)
{
    auto *node = new CComposite();
    node->assignKind(kind);
    node->setName(name);
    return node;
}

CControl *makeControl(const QString &name, const QString &type = QStringLiteral("Label"))
{
    auto *control = new CControl();
    control->setTag(QStringLiteral("Control"));
    control->setName(name);
    control->setType(type);
    return control;
}

QString written(CControl *node)
{
    return TestSupport::writtenXml([&](XmlWriter &writer) { node->write(&writer); });
}

QString clipboardText(const QString &controls)
{
    return QStringLiteral("<?xml version=\"1.0\"?>\n<ZDX>\n<Controls>\n%1</Controls>\n</ZDX>\n")
        .arg(controls);
}

} // namespace

// The document tree on its own: no canvas, no items, only the data the
// document owns.
class TestDocument : public QObject
{
    Q_OBJECT

private slots:
    void pathsAcrossAllLevels()
    {
        CComposite root;
        root.setType(QStringLiteral("Scenes"));
        CComposite *first = makeNode(QStringLiteral("Scene"), QStringLiteral("COLLECTION1"));
        CComposite *second = makeNode(QStringLiteral("Scene"), QStringLiteral("COLLECTION2"));
        root.addChild(first);
        root.addChild(second);
        CComposite *panel = makeNode(QStringLiteral("Panel"), QStringLiteral("Panel"));
        first->addChild(makeNode(QStringLiteral("Panel"), QStringLiteral("Other")));
        second->addChild(makeNode(QStringLiteral("Panel"), QStringLiteral("Home")));
        second->addChild(panel);
        CControl *volume = makeControl(QStringLiteral("Volume"), QStringLiteral("Slider"));
        panel->addChild(makeControl(QStringLiteral("Mute")));
        panel->addChild(volume);

        QCOMPARE(root.pathName(), QStringLiteral(".."));
        QCOMPARE(root.path(volume), QStringLiteral("..\\COLLECTION2\\Panel\\Volume"));
        QCOMPARE(root.path(second), QStringLiteral("..\\COLLECTION2"));
        CControl stray;
        QCOMPARE(root.path(&stray), QString());

        QString path = root.path(volume);
        QVERIFY(root.selectPath(path));
        QCOMPARE(path, QString());
        QCOMPARE(root.current(QStringLiteral("Scenes")), second);
        QCOMPARE(root.current(QStringLiteral("Panels")), panel);
        QCOMPARE(root.current(QStringLiteral("Controls")), volume);

        QString missing = QStringLiteral("..\\COLLECTION2\\Nowhere");
        QVERIFY(!root.selectPath(missing));
        QString foreign = QStringLiteral("Elsewhere\\COLLECTION2");
        QVERIFY(!root.selectPath(foreign));
    }

    void makeCurrentAndLookups()
    {
        CComposite root;
        root.setType(QStringLiteral("Scenes"));
        CComposite *first = makeNode(QStringLiteral("Scene"), QStringLiteral("A"));
        CComposite *second = makeNode(QStringLiteral("Scene"), QStringLiteral("B"));
        root.addChild(first);
        root.addChild(second);
        CComposite *panel = makeNode(QStringLiteral("Panel"), QStringLiteral("P"));
        second->addChild(panel);
        CControl *control = makeControl(QStringLiteral("C"));
        panel->addChild(control);

        QVERIFY(root.makeCurrent(QStringLiteral("Scenes"), QStringLiteral("B")));
        QCOMPARE(root.currentIndex(), 1);
        QVERIFY(!root.makeCurrent(QStringLiteral("Scenes"), QStringLiteral("Z")));
        QVERIFY(root.makeCurrent(QStringLiteral("Panels"), QStringLiteral("P")));
        QCOMPARE(root.findById(control->id()), control);
        QVERIFY(!root.findById(0));
        QVERIFY(root.contains(first));
        QVERIFY(!root.contains(control));
        // A node's own name is free for itself, another sibling's is not.
        QVERIFY(control->isNameFree(QStringLiteral("C"), nullptr));
        QVERIFY(control->isNameFree(QStringLiteral("D"), nullptr));
        CControl *other = makeControl(QStringLiteral("D"));
        panel->addChild(other);
        QVERIFY(!control->isNameFree(QStringLiteral("D"), nullptr));
        QVERIFY(other->isNameFree(QStringLiteral("D"), nullptr));
        CControl orphan;
        QVERIFY(!orphan.isNameFree(QStringLiteral("anything"), nullptr));
    }

    void panelKind_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<int>("controls");
        QTest::addColumn<bool>("dropSite");
        QTest::addColumn<int>("kind");
        QTest::newRow("one control derives custom") << "" << 1 << false << 3;
        QTest::newRow("two controls derive complete") << "" << 2 << false << 1;
        QTest::newRow("no control derives complete") << "" << 0 << false << 1;
        QTest::newRow("drop site derives template") << "" << 2 << true << 2;
        QTest::newRow("word complete") << "complete" << 1 << false << 1;
        QTest::newRow("word template") << "template" << 1 << false << 2;
        QTest::newRow("word custom") << "custom" << 2 << false << 3;
        QTest::newRow("unknown word keeps kind") << "fancy" << 1 << false << 0;
    }

    void panelKind()
    {
        QFETCH(QString, word);
        QFETCH(int, controls);
        QFETCH(bool, dropSite);
        QFETCH(int, kind);
        std::unique_ptr<CComposite> panel(makeNode(QStringLiteral("Panel"), QStringLiteral("P")));
        for (int i = 0; i < controls; ++i) {
            CControl *control = makeControl(QStringLiteral("C%1").arg(i));
            // Known from the document's data alone: no item needs to be shown.
            control->appendItemRecord(
                CItemRecord(dropSite && i == 0 ? QStringLiteral("dropsite") : QStringLiteral("label")));
            panel->addChild(control);
        }
        panel->setPanelKind(word);
        QCOMPARE(panel->panelKind(), kind);

        // Nodes that are not panels never get a kind.
        CComposite collection;
        collection.assignKind(QStringLiteral("Scene"));
        collection.setPanelKind(QStringLiteral("custom"));
        QCOMPARE(collection.panelKind(), 0);
    }

    void removeChildHandsBackOwnership()
    {
        std::unique_ptr<CComposite> panel(makeNode(QStringLiteral("Panel"), QStringLiteral("P")));
        CControl *a = makeControl(QStringLiteral("a"));
        CControl *b = makeControl(QStringLiteral("b"));
        CControl *c = makeControl(QStringLiteral("c"));
        panel->addChild(a);
        panel->addChild(b);
        panel->addChild(c);
        panel->setCurrentIndex(2);
        std::unique_ptr<CControl> taken = panel->removeChild(b, false);
        QCOMPARE(taken.get(), b);
        QCOMPARE(b->parent(), nullptr);
        QCOMPARE(panel->currentIndex(), 0);
        QCOMPARE(panel->childCount(), 2);
        // No longer there: nothing to hand back.
        QVERIFY(!panel->removeChild(b, false));
        QVERIFY(!panel->removeChild(c, true));
        QCOMPARE(panel->childCount(), 1);
        QCOMPARE(panel->childAt(0), a);
        QVERIFY(!panel->childAt(1));
        QVERIFY(!panel->childAt(-1));
    }

    void swapAndReorder()
    {
        std::unique_ptr<CComposite> panel(makeNode(QStringLiteral("Panel"), QStringLiteral("P")));
        QList<CControl *> controls;
        for (int i = 0; i < 4; ++i) {
            controls << makeControl(QString::number(i));
            panel->addChild(controls.last());
        }
        QVERIFY(!panel->swapChild(controls[3], 1));
        QVERIFY(!panel->swapChild(controls[0], -1));
        QCOMPARE(panel->indexOf(controls[3]), 3);
        QVERIFY(panel->swapChild(controls[1], 1));
        QCOMPARE(panel->indexOf(controls[1]), 2);
        QCOMPARE(panel->currentIndex(), 2);
        CControl stranger;
        QVERIFY(!panel->swapChild(&stranger, 1));

        panel->reorderChildren({{controls[3], 0}, {controls[0], 3}});
        QCOMPARE(panel->childAt(0), controls[3]);
        QCOMPARE(panel->childAt(3), controls[0]);
    }

    void writeTree()
    {
        CComposite root;
        root.setType(QStringLiteral("Scenes"));
        QCOMPARE(written(&root), QStringLiteral("<Scenes>\n</Scenes>\n"));
        CComposite *collection = makeNode(QStringLiteral("Scene"), QStringLiteral("A&B"));
        root.addChild(collection);
        CComposite *panel = makeNode(QStringLiteral("Panel"), QStringLiteral("Home"));
        panel->setPanelKindValue(CComposite::Custom);
        collection->addChild(panel);
        CControl *control = makeControl(QStringLiteral("Say \"hi\""));
        control->setId(42);
        panel->addChild(control);
        const QString expected = QStringLiteral(
            "<Scenes>\n"
            "\t<Scene name=\"A&#38;B\">\n"
            "\t\t<Panels>\n"
            "\t\t\t<Panel name=\"Home\" type=\"custom\">\n"
            "\t\t\t\t<Controls>\n"
            "\t\t\t\t\t<Control name=\"Say &#34;hi&#34;\" type=\"Label\">\n"
            "\t\t\t\t\t\t<id>42</id>\n"
            "\t\t\t\t\t\t<Property name=\"widget\">\n"
            "\t\t\t\t\t\t</Property>\n"
            "\t\t\t\t\t\t<Property name=\"attributes\">\n"
            "\t\t\t\t\t\t</Property>\n"
            "\t\t\t\t\t</Control>\n"
            "\t\t\t\t</Controls>\n"
            "\t\t\t</Panel>\n"
            "\t\t</Panels>\n"
            "\t</Scene>\n"
            "</Scenes>\n");
        QCOMPARE(written(&root), expected);
    }

    // Item values belong to the document: an item of a type nothing can
    // show, empty values and repeated names all come back as they were read.
    void itemValuesAreKeptAsRead()
    {
        const QString items = QStringLiteral(
            "\t\t\t\t<gizmo>\n"
            "\t\t\t\t\t<x>1.50</x>\n"
            "\t\t\t\t\t<spin>fast &#38; loud</spin>\n"
            "\t\t\t\t\t<note></note>\n"
            "\t\t\t\t</gizmo>\n"
            "\t\t\t\t<blank>\n"
            "\t\t\t\t</blank>\n"
            "\t\t\t\t<label>\n"
            "\t\t\t\t\t<text>Hall</text>\n"
            "\t\t\t\t\t<face>bold</face>\n"
            "\t\t\t\t\t<face>underline</face>\n"
            "\t\t\t\t</label>\n");
        const QString control = QStringLiteral(
            "\t\t<Control name=\"g\" type=\"Gizmo\">\n"
            "\t\t\t<id>77</id>\n"
            "\t\t\t<Property name=\"widget\">\n%1\t\t\t</Property>\n"
            "\t\t\t<Property name=\"attributes\">\n\t\t\t</Property>\n"
            "\t\t</Control>\n")
                                    .arg(items);
        CComposite panel;
        QVERIFY(panel.loadString(clipboardText(control), CLoadContext()));
        QCOMPARE(panel.childCount(), 1);
        CControl *read = panel.childAt(0);
        QCOMPARE(read->itemRecords().count(), 3);
        QCOMPARE(read->itemRecords().at(0).type(), QStringLiteral("gizmo"));
        QCOMPARE(read->itemRecords().at(0).value(QStringLiteral("spin")), QStringLiteral("fast & loud"));
        QVERIFY(read->items().isEmpty());
        const QString out = written(read);
        QVERIFY2(out == control.mid(2).replace(QStringLiteral("\n\t\t"), QStringLiteral("\n")),
                 qPrintable(out));
    }

    void idsComeFromTheDocument()
    {
        CComposite root;
        CIdSource &ids = root.idSource();
        const quint32 start = ids.current();
        CControl *first = makeControl(QStringLiteral("a"));
        CControl *second = makeControl(QStringLiteral("b"));
        root.addChild(first);
        root.addChild(second);
        QCOMPARE(first->id(), start + 1);
        QCOMPARE(second->id(), start + 2);
        // An id read from a file moves the counter past it, an older one not.
        CControl *loaded = makeControl(QStringLiteral("c"));
        root.addChild(loaded);
        loaded->setId(start + 500);
        loaded->setId(5);
        CControl *next = makeControl(QStringLiteral("d"));
        root.addChild(next);
        QCOMPARE(next->id(), start + 501);

        // A panel read on its own joins without repeating the document's ids.
        auto *panel = makeNode(QStringLiteral("Panel"), QStringLiteral("P"));
        QVERIFY(panel->loadString(clipboardText(QStringLiteral(
                                      "<Control name=\"x\" type=\"Label\">\n<id>%1</id>\n"
                                      "<Property name=\"widget\">\n</Property>\n</Control>\n")
                                                    .arg(start + 900)),
                                  CLoadContext()));
        root.addChild(panel);
        CControl *after = makeControl(QStringLiteral("e"));
        root.addChild(after);
        QCOMPARE(panel->id(), start + 901);
        QCOMPARE(after->id(), start + 902);
    }

    // Two documents in one process keep their own ids, archives and images.
    void twoDocumentsDoNotDisturbEachOther()
    {
        TestDir dir;
        const QString picture = dir.filePath(QStringLiteral("logo.png"));
        {
            QFile file(picture);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write("picture") == 7);
        }
        const auto saveWithImage = [&](const QString &name, const QString &imagePath) {
            CCanvas canvas;
            CDocument document;
            document.setCanvas(&canvas);
            if (!document.newFromTemplate(QStringLiteral(ZRB_SOURCE_DIR "/templates/Blank Panel.tpl")))
                return false;
            CControl *image = makeControl(QStringLiteral("Logo"), QStringLiteral("Image"));
            CItemRecord record(QStringLiteral("image"));
            record.append(QStringLiteral("path"), imagePath, CItemRecord::imageFolder());
            image->appendItemRecord(record);
            document.root()->current(QStringLiteral("Panels"))->addChild(image);
            return document.save(dir.filePath(name));
        };
        QVERIFY(saveWithImage(QStringLiteral("a.cpz"), picture));
        QVERIFY(saveWithImage(QStringLiteral("b.cpz"), picture));

        CCanvas canvas;
        CDocument first;
        CDocument second;
        first.setCanvas(&canvas);
        second.setCanvas(&canvas);
        QVERIFY2(first.open(dir.filePath(QStringLiteral("a.cpz"))), qPrintable(first.lastError()));
        QVERIFY2(second.open(dir.filePath(QStringLiteral("b.cpz"))), qPrintable(second.lastError()));
        const auto imagePathOf = [](CDocument &document) {
            CControl *panel = document.root()->current(QStringLiteral("Panels"));
            CControl *logo = static_cast<CComposite *>(panel)->childAt(2);
            return QUrl(logo->itemRecords().at(0).value(QStringLiteral("path"))).toLocalFile();
        };
        const QString firstImage = imagePathOf(first);
        const QString secondImage = imagePathOf(second);
        QVERIFY2(firstImage != secondImage && QFile::exists(firstImage) && QFile::exists(secondImage),
                 qPrintable(firstImage + QLatin1Char(' ') + secondImage));
        QVERIFY(first.archive().findMember(QStringLiteral(".cpf")) !=
                second.archive().findMember(QStringLiteral(".cpf")));

        // Closing one leaves the other's files alone; each keeps its own ids.
        const quint32 secondNext = second.root()->idSource().current();
        CControl *extra = makeControl(QStringLiteral("x"));
        first.root()->current(QStringLiteral("Panels"))->addChild(extra);
        QCOMPARE(second.root()->idSource().current(), secondNext);
        first.clear();
        {
            CDocument gone;
            gone.setCanvas(&canvas);
            QVERIFY(gone.open(dir.filePath(QStringLiteral("a.cpz"))));
        }
        QVERIFY(QFile::exists(secondImage));
        QVERIFY(QFile::exists(firstImage));
    }

    void selectionTellsTheHost_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("ccp");
        QTest::newRow("complete") << int(CComposite::Complete) << true;
        QTest::newRow("template") << int(CComposite::Template) << false;
    }

    void selectionTellsTheHost()
    {
        QFETCH(int, kind);
        QFETCH(bool, ccp);
        RecordingHost host;
        std::unique_ptr<CComposite> panel(makeNode(QStringLiteral("Panel"), QStringLiteral("P")));
        panel->setPanelKindValue(kind);
        CControl *control = makeControl(QStringLiteral("x"), QStringLiteral("Button"));
        panel->addChild(control);
        panel->addChild(makeControl(QStringLiteral("y")));
        panel->setModel(&host);
        control->setSelected(1);
        QCOMPARE(host.changes, (QList<QPair<bool, bool>>{{true, ccp}}));
        QList<CControl *> selected;
        QVERIFY(panel->collectSelected(selected));
        QCOMPARE(selected, QList<CControl *>{control});
        control->setSelected(0);
        QCOMPARE(host.changes.last(), qMakePair(false, false));
        selected.clear();
        QVERIFY(!panel->collectSelected(selected));
        QVERIFY(selected.isEmpty());
    }

    void defaultSizeFollowsTheHostsScale()
    {
        RecordingHost host;
        host.scale = 2.0;
        USettings().setValue(QStringLiteral("Layout/Button"), QStringLiteral("120x40"));
        std::unique_ptr<CControl> button(makeControl(QStringLiteral("b"), QStringLiteral("Button")));
        button->setModel(&host);
        QRectF rect(5, 5, 10, 10);
        button->defaultSize(rect);
        QCOMPARE(rect, QRectF(5, 5, 240, 80));

        USettings().setValue(QStringLiteral("Layout/Button"), QStringLiteral("120 by 40"));
        QRectF unchanged(5, 5, 10, 10);
        button->defaultSize(unchanged);
        QCOMPARE(unchanged, QRectF(5, 5, 10, 10));
    }
};

ZRB_MODEL_TEST_MAIN(TestDocument)
#include "tst_document.moc"
