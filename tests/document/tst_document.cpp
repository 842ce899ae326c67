#include "common/TestControls.h"
#include "common/TestSupport.h"

#include "app/MModel.h"
#include "document/USettings.h"
#include "controls/WDelegate.h"
#include "controls/WWidget.h"
#include "document/CComposite.h"
#include "document/io/XmlWriter.h"

#include <QApplication>
#include <QBuffer>
#include <QQuickItem>
#include <QSignalSpy>
#include <QTest>
#include <QtMath>

// Builds documents whose controls carry real native items on plain Qt Quick
// roots, so geometry operations run without loading QML files.
class TestDocument : public QObject
{
    Q_OBJECT

private:
    QQuickItem *m_pCanvas = nullptr;

    CControl *makeControl(const QString &name, const QString &type, const QRectF &rect,
                          const QString &itemType = QString())
    {
        return TestControls::makeControl(m_pCanvas, name, type, rect, itemType);
    }

    static CComposite *makePanel(const QString &name)
    {
        auto *panel = new CComposite();
        panel->assignKind(QStringLiteral("Panel"));
        panel->setName(name);
        return panel;
    }

    static CComposite *makeCollection(const QString &name)
    {
        auto *collection = new CComposite();
        collection->assignKind(QStringLiteral("Scene"));
        collection->setName(name);
        return collection;
    }

    static QString written(CControl *node)
    {
        return TestSupport::writtenXml([&](XmlWriter &writer) { node->write(&writer); });
    }

private slots:
    void init() { m_pCanvas = new QQuickItem(); }

    void cleanup()
    {
        delete m_pCanvas;
        m_pCanvas = nullptr;
    }

    void pathsAcrossAllLevels()
    {
        CComposite root;
        root.setType(QStringLiteral("Scenes"));
        auto *first = makeCollection(QStringLiteral("COLLECTION1"));
        auto *second = makeCollection(QStringLiteral("COLLECTION2"));
        root.addChild(first);
        root.addChild(second);
        auto *home = makePanel(QStringLiteral("Home"));
        auto *panel = makePanel(QStringLiteral("Panel"));
        first->addChild(makePanel(QStringLiteral("Other")));
        second->addChild(home);
        second->addChild(panel);
        CControl *volume = makeControl(QStringLiteral("Volume"), QStringLiteral("Slider"),
                                       QRectF(0, 0, 10, 10));
        panel->addChild(makeControl(QStringLiteral("Mute"), QStringLiteral("Button"),
                                    QRectF(0, 0, 10, 10)));
        panel->addChild(volume);

        QCOMPARE(root.pathName(), QStringLiteral(".."));
        QCOMPARE(root.path(volume), QStringLiteral("..\\COLLECTION2\\Panel\\Volume"));
        QCOMPARE(root.path(panel), QStringLiteral("..\\COLLECTION2\\Panel"));
        QCOMPARE(root.path(second), QStringLiteral("..\\COLLECTION2"));
        CControl stray;
        QCOMPARE(root.path(&stray), QString());

        QString path = root.path(volume);
        QVERIFY(root.selectPath(path));
        QCOMPARE(path, QString());
        QCOMPARE(root.currentIndex(), 1);
        QCOMPARE(second->currentIndex(), 1);
        QCOMPARE(panel->currentIndex(), 1);
        QCOMPARE(root.current(QStringLiteral("Scenes")), second);
        QCOMPARE(root.current(QStringLiteral("Panels")), panel);
        QCOMPARE(root.current(QStringLiteral("Controls")), volume);
        // The target is shown, the rest of the document is not touched.
        QCOMPARE(volume->items().first()->root()->isVisible(), true);

        QString missing = QStringLiteral("..\\COLLECTION2\\Nowhere");
        QVERIFY(!root.selectPath(missing));
        QString foreign = QStringLiteral("Elsewhere\\COLLECTION2");
        QVERIFY(!root.selectPath(foreign));
    }

    void makeCurrentAndLookups()
    {
        CComposite root;
        root.setType(QStringLiteral("Scenes"));
        auto *first = makeCollection(QStringLiteral("A"));
        auto *second = makeCollection(QStringLiteral("B"));
        root.addChild(first);
        root.addChild(second);
        auto *panel = makePanel(QStringLiteral("P"));
        second->addChild(panel);
        CControl *control = makeControl(QStringLiteral("C"), QStringLiteral("Button"),
                                        QRectF(0, 0, 5, 5));
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
        QVERIFY(panel->isNameFree(QStringLiteral("C"), control));
        QVERIFY(control->isNameFree(QStringLiteral("D"), nullptr));
        auto *other = makeControl(QStringLiteral("D"), QStringLiteral("Label"), QRectF(0, 0, 5, 5));
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
        CComposite *panel = makePanel(QStringLiteral("P"));
        for (int i = 0; i < controls; ++i) {
            const bool site = dropSite && i == 0;
            panel->addChild(makeControl(QStringLiteral("C%1").arg(i), QStringLiteral("Label"),
                                        QRectF(0, 0, 5, 5),
                                        site ? QStringLiteral("dropsite") : QString()));
        }
        panel->setPanelKind(word);
        QCOMPARE(panel->panelKind(), kind);
        delete panel;

        // Nodes that are not panels never get a kind.
        CComposite collection;
        collection.assignKind(QStringLiteral("Scene"));
        collection.setPanelKind(QStringLiteral("custom"));
        QCOMPARE(collection.panelKind(), 0);
    }

    void removeChildResetsCurrentIndex()
    {
        CComposite *panel = makePanel(QStringLiteral("P"));
        CControl *a = makeControl(QStringLiteral("a"), QStringLiteral("Label"), QRectF(0, 0, 5, 5));
        CControl *b = makeControl(QStringLiteral("b"), QStringLiteral("Label"), QRectF(0, 0, 5, 5));
        CControl *c = makeControl(QStringLiteral("c"), QStringLiteral("Label"), QRectF(0, 0, 5, 5));
        panel->addChild(a);
        panel->addChild(b);
        panel->addChild(c);
        panel->setCurrentIndex(2);
        panel->removeChild(b, false);
        QCOMPARE(panel->currentIndex(), 0);
        QCOMPARE(panel->childCount(), 2);
        QCOMPARE(b->parent(), nullptr);
        panel->removeChild(b, false); // no longer there: nothing happens
        QCOMPARE(panel->childCount(), 2);
        delete b;
        panel->removeChild(c, true);
        QCOMPARE(panel->childCount(), 1);
        QCOMPARE(panel->childAt(0), a);
        QVERIFY(!panel->childAt(1));
        QVERIFY(!panel->childAt(-1));
        delete panel;
    }

    void swapAndReorder()
    {
        CComposite *panel = makePanel(QStringLiteral("P"));
        QList<CControl *> controls;
        for (int i = 0; i < 4; ++i) {
            controls << makeControl(QString::number(i), QStringLiteral("Label"), QRectF(0, 0, 5, 5));
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
        delete panel;
    }

    void nonOwningListNeitherReparentsNorDeletes()
    {
        CComposite *panel = makePanel(QStringLiteral("P"));
        CControl *control = makeControl(QStringLiteral("x"), QStringLiteral("Label"), QRectF(0, 0, 5, 5));
        panel->addChild(control);
        {
            CComposite list;
            list.setNonOwning(true);
            list.addChild(control);
            QCOMPARE(control->parent(), panel);
            list.clear();
            QCOMPARE(list.childCount(), 0);
            list.addChild(control);
        }
        // Still alive and still the panel's.
        QCOMPARE(panel->childAt(0), control);
        QCOMPARE(control->name(), QStringLiteral("x"));
        delete panel;
    }

    void writeEmptyRoot()
    {
        CComposite root;
        root.setType(QStringLiteral("Scenes"));
        QCOMPARE(written(&root), QStringLiteral("<Scenes>\n</Scenes>\n"));
    }

    void writeTree()
    {
        CComposite root;
        root.setType(QStringLiteral("Scenes"));
        CComposite *collection = makeCollection(QStringLiteral("A&B"));
        root.addChild(collection);
        CComposite *panel = makePanel(QStringLiteral("Home"));
        panel->setPanelKindValue(CComposite::Custom);
        collection->addChild(panel);
        CControl *control = new CControl();
        control->setTag(QStringLiteral("Control"));
        control->setName(QStringLiteral("Say \"hi\""));
        control->setType(QStringLiteral("Label"));
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

    void idsAreConsecutiveAndStayAboveLoadedOnes()
    {
        CControl first;
        CControl second;
        QCOMPARE(second.id(), first.id() + 1);
        CControl loaded;
        const quint32 before = WDelegate::instance()->currentId();
        loaded.setId(before + 500);
        CControl next;
        QVERIFY2(next.id() > loaded.id(),
                 qPrintable(QStringLiteral("new id %1 not above loaded id %2")
                                .arg(next.id())
                                .arg(loaded.id())));
        // An older id read from a file does not move the counter back.
        CControl old; // takes next.id() + 1 at construction
        old.setId(5);
        CControl after;
        QCOMPARE(after.id(), next.id() + 2);
    }

    void boundsAndFitWidth()
    {
        CComposite *panel = makePanel(QStringLiteral("P"));
        CControl *control = makeControl(QStringLiteral("x"), QStringLiteral("Button"),
                                        QRectF(10, 20, 100, 40));
        panel->addChild(control);
        panel->addChild(makeControl(QStringLiteral("y"), QStringLiteral("Label"),
                                    QRectF(50, 100, 20, 20)));
        QCOMPARE(panel->bounds(), QRectF(10, 20, 100, 100));
        QCOMPARE(panel->childBounds(), (QList<QRectF>{QRectF(10, 20, 100, 40), QRectF(50, 100, 20, 20)}));

        QVERIFY(control->fitWidth(QStringLiteral("Button"), 400));
        QCOMPARE(control->bounds().x(), 150.0);
        QVERIFY(!control->fitWidth(QStringLiteral("Slider"), 400));

        // A bounds item defines the panel's rectangle.
        panel->addChild(makeControl(QStringLiteral("b"), QStringLiteral("Frame"),
                                    QRectF(0, 0, 300, 340), QStringLiteral("bounds")));
        QCOMPARE(panel->bounds(), QRectF(0, 0, 300, 340));
        delete panel;
    }

    void rescaleFitsPanelHeight()
    {
        CComposite *panel = makePanel(QStringLiteral("P"));
        CControl *control = makeControl(QStringLiteral("x"), QStringLiteral("Button"),
                                        QRectF(10, 20, 100, 50));
        panel->addChild(control);
        panel->addChild(makeControl(QStringLiteral("y"), QStringLiteral("Button"),
                                    QRectF(0, 0, 10, 100)));
        panel->rescale(1.0, 200.0);
        QCOMPARE(control->bounds(), QRectF(20, 40, 200, 100));
        delete panel;
    }

    void rescaleOfFlatPanelKeepsItemsFinite()
    {
        CComposite *panel = makePanel(QStringLiteral("P"));
        CControl *line = makeControl(QStringLiteral("x"), QStringLiteral("Frame"),
                                     QRectF(10, 20, 100, 0));
        panel->addChild(line);
        panel->rescale(1.0, 500.0);
        const QRectF after = line->bounds();
        QVERIFY2(qIsFinite(after.x()) && qIsFinite(after.y()) && qIsFinite(after.width()) &&
                     qIsFinite(after.height()),
                 "rescaling a panel of zero height produced a non-finite geometry");
        QCOMPARE(after, QRectF(10, 20, 100, 0));

        CComposite empty;
        empty.assignKind(QStringLiteral("Panel"));
        empty.rescale(1.0, 500.0); // nothing to scale, and no division by zero
        delete panel;
    }

    void controlInDropSiteDoesNotMoveByItself()
    {
        CComposite *panel = makePanel(QStringLiteral("P"));
        CControl *site = makeControl(QStringLiteral("site"), QStringLiteral("DropSite"),
                                     QRectF(0, 0, 50, 50), QStringLiteral("dropsite"));
        CControl *held = makeControl(QStringLiteral("held"), QStringLiteral("Button"),
                                     QRectF(5, 5, 10, 10));
        panel->addChild(site);
        held->setDropSiteHost(site);
        site->items().first()->root()->setProperty("enableDrop", true);
        panel->addChild(held);
        QCOMPARE(site->items().first()->root()->property("enableDrop").toBool(), false);
        held->moveBy(10, 10);
        QCOMPARE(held->bounds().topLeft(), QPointF(5, 5));
        panel->removeChild(held, false);
        QCOMPARE(site->items().first()->root()->property("enableDrop").toBool(), true);
        delete held;
        delete panel;
    }

    void titleAndSummary()
    {
        CComposite *panel = makePanel(QStringLiteral("P"));
        CControl *title = makeControl(QStringLiteral("Title"), QStringLiteral("Label"),
                                      QRectF(0, 0, 50, 10));
        title->items().first()->setRootText(QStringLiteral("Lobby"));
        QCOMPARE(panel->titleText(), QString());
        panel->addChild(title);
        QCOMPARE(panel->titleText(), QStringLiteral("Lobby"));
        QCOMPARE(panel->summary(), QStringLiteral("Label"));
        panel->addChild(makeControl(QStringLiteral("x"), QStringLiteral("Button"), QRectF()));
        QCOMPARE(panel->summary(), QString());
        delete panel;
    }

    void selectionSignalsFollowPanelKind_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("ccp");
        QTest::newRow("complete") << int(CComposite::Complete) << true;
        QTest::newRow("template") << int(CComposite::Template) << false;
    }

    void selectionSignalsFollowPanelKind()
    {
        QFETCH(int, kind);
        QFETCH(bool, ccp);
        MModel model;
        CComposite *panel = makePanel(QStringLiteral("P"));
        panel->setPanelKindValue(kind);
        CControl *control = makeControl(QStringLiteral("x"), QStringLiteral("Button"), QRectF());
        panel->addChild(control);
        panel->setModel(&model);
        QSignalSpy select(&model, &MModel::selectState);
        QSignalSpy cutCopy(&model, &MModel::ccpState);
        control->setSelected(1);
        QCOMPARE(select.count(), 1);
        QCOMPARE(select.last().first().toBool(), true);
        QCOMPARE(cutCopy.last().first().toBool(), ccp);

        CComposite list;
        list.setNonOwning(true);
        QVERIFY(panel->collectSelected(&list));
        QCOMPARE(list.childAt(0), control);
        control->setSelected(0);
        QCOMPARE(select.last().first().toBool(), false);
        QCOMPARE(cutCopy.last().first().toBool(), false);
        CComposite empty;
        empty.setNonOwning(true);
        QVERIFY(!panel->collectSelected(&empty));
        delete panel;
    }

    void defaultAndRememberedSize()
    {
        MModel model;
        model.setViewScale(2.0f);
        USettings().setValue(QStringLiteral("Layout/Button"), QStringLiteral("120x40"));
        CControl *button = makeControl(QStringLiteral("b"), QStringLiteral("Button"),
                                       QRectF(0, 0, 240, 80));
        button->setModel(&model);
        QRectF rect(5, 5, 10, 10);
        button->defaultSize(rect);
        QCOMPARE(rect, QRectF(5, 5, 240, 80));

        USettings().setValue(QStringLiteral("Layout/Button"), QStringLiteral("120 by 40"));
        QRectF unchanged(5, 5, 10, 10);
        button->defaultSize(unchanged);
        QCOMPARE(unchanged, QRectF(5, 5, 10, 10));

        USettings().remove(QStringLiteral("Layout/Button"));
        button->rememberSize();
        QCOMPARE(USettings().value(QStringLiteral("Layout/Button")).toString(),
                 QStringLiteral("120x40"));
        delete button;
    }
};

ZRB_TEST_MAIN(TestDocument)
#include "tst_document.moc"
