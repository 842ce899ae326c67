#include "common/RecordingMessageHandler.h"
#include "common/TestControls.h"
#include "common/EditorTestSupport.h"

#include "app/MModel.h"
#include "controls/WWidget.h"
#include "design/HBlock.h"
#include "design/HRoot.h"
#include "document/CComposite.h"

#include <QApplication>
#include <QQuickItem>
#include <QSignalSpy>
#include <QTest>

// The application model's document operations on a real document, with a
// plain Qt Quick item standing in for the canvas root whose properties it sets.
class TestModel : public QObject
{
    Q_OBJECT

private:
    MModel *m_pModel = nullptr;
    QQuickItem *m_pRoot = nullptr;

    static QString blankTemplate()
    {
        return QStringLiteral(ZRB_SOURCE_DIR "/templates/Blank Panel.tpl");
    }

    CControl *makeControl(const QString &name, const QRectF &rect)
    {
        return TestControls::makeControl(m_pRoot, name, QStringLiteral("Button"), rect);
    }

    CComposite *collection(int index) const
    {
        return static_cast<CComposite *>(m_pModel->documentRoot()->childAt(index));
    }

private slots:
    void init()
    {
        m_pRoot = new QQuickItem();
        m_pRoot->setWidth(300);
        m_pRoot->setHeight(680);
        m_pRoot->setProperty("maxControlHeight", 340);
        m_pModel = new MModel();
        m_pModel->initialize();
        m_pModel->setQmlRoot(m_pRoot);
    }

    void cleanup()
    {
        delete m_pModel;
        m_pModel = nullptr;
        delete m_pRoot;
        m_pRoot = nullptr;
    }

    void newDocumentHasOneCollectionWithOnePanel()
    {
        QSignalSpy connection(m_pModel, &MModel::enableConnection);
        QVERIFY(m_pModel->newDocument(blankTemplate()));
        QCOMPARE(m_pModel->documentRoot()->childCount(), 1);
        QCOMPARE(collection(0)->name(), QStringLiteral("COLLECTION1"));
        QCOMPARE(collection(0)->childCount(), 1);
        QCOMPARE(m_pModel->currentPanel(), collection(0)->childAt(0));
        QCOMPARE(m_pModel->currentPanel()->tag(), QStringLiteral("Panel"));
        QCOMPARE(m_pModel->documentRoot()->name(), QStringLiteral("Blank Panel"));
        QCOMPARE(m_pModel->documentPath(), blankTemplate());
        QVERIFY(!m_pModel->isModified());
        QCOMPARE(connection.count(), 1);
        QCOMPARE(connection.last().first().toBool(), false);
        QCOMPARE(m_pRoot->property("headerTitle").toString(), QStringLiteral("SITE NAME"));
        QCOMPARE(m_pRoot->property("pageCount").toInt(), 1);
        QCOMPARE(m_pRoot->property("sceneTitle").toString(), QStringLiteral("COLLECTION1"));
    }

    void missingTemplateIsReported()
    {
        QVERIFY(!m_pModel->newDocument(QStringLiteral("/nonexistent/None.tpl")));
        QVERIFY2(m_pModel->lastError().contains(QStringLiteral("/nonexistent/None.tpl")),
                 qPrintable(m_pModel->lastError()));
        // Still a usable document with one empty panel.
        QVERIFY(m_pModel->currentPanel());
    }

    void collectionNumberingFollowsCount()
    {
        m_pModel->newDocument(blankTemplate());
        CComposite *second = m_pModel->addCollection();
        QCOMPARE(second->name(), QStringLiteral("COLLECTION2"));
        QCOMPARE(second->tag(), QStringLiteral("Scene"));
        QCOMPARE(second->type(), QStringLiteral("Panels"));
        m_pModel->documentRoot()->removeChild(second, true);
        QCOMPARE(m_pModel->addCollection()->name(), QStringLiteral("COLLECTION2"));
        QCOMPARE(m_pModel->addCollection()->name(), QStringLiteral("COLLECTION3"));
    }

    void seventhPanelIsRefused()
    {
        m_pModel->newDocument(blankTemplate());
        HBlock node;
        node.setLabel(QStringLiteral("Gain 1"));
        RecordingMessageHandler messages;
        for (int i = 2; i <= 6; ++i) {
            QVERIFY2(m_pModel->addPanel(&node), qPrintable(QStringLiteral("panel %1").arg(i)));
            QCOMPARE(collection(0)->childCount(), i);
        }
        QCOMPARE(messages.count(), 0);
        QCOMPARE(m_pModel->currentPanel()->name(), QStringLiteral("Gain 1"));
        QVERIFY(m_pModel->isModified());
        QVERIFY(!m_pModel->addPanel(&node));
        QCOMPARE(collection(0)->childCount(), 6);
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.last().title, QStringLiteral("Warning"));
        QCOMPARE(messages.last().text, QStringLiteral("The maximum number of panels in a scene is: 6"));

        // A collection without a current panel takes a panel without the check.
        CComposite *other = m_pModel->addCollection();
        QVERIFY(m_pModel->selectCollection(other->name()));
        QVERIFY(!m_pModel->currentPanel());
        QVERIFY(m_pModel->addPanel(&node));
        QCOMPARE(other->childCount(), 1);
    }

    // A design node dropped as a whole panel binds every control it brings,
    // the telephone keypad's among them.
    void wholeNodePanelIsBound()
    {
        m_pModel->newDocument(blankTemplate());
        QVERIFY(
            m_pModel->loadDesign(QStringLiteral(ZRB_SOURCE_DIR "/examples/conference-room.zdp")));
        for (const char *label : {"Room Tone", "Conference Phone"}) {
            HNode *node = m_pModel->hardwareRoot()->findByProperty("label", label);
            QVERIFY2(node, label);
            CComposite *panel = m_pModel->addPanel(node);
            QVERIFY(panel && panel->childCount() > 1);
            for (CControl *control : panel->children())
                QVERIFY2(control->block() == node, qPrintable(control->name()));
        }
    }

    void steppingWrapsAtBothEnds()
    {
        m_pModel->newDocument(blankTemplate());
        HBlock node;
        node.setLabel(QStringLiteral("Page"));
        m_pModel->addPanel(&node);
        m_pModel->addPanel(&node);
        CComposite *pages = collection(0);
        QVERIFY(m_pModel->setPage(2));
        QCOMPARE(pages->currentIndex(), 2);
        QVERIFY(m_pModel->stepPage(1));
        QCOMPARE(pages->currentIndex(), 0);
        QCOMPARE(m_pModel->currentPanel(), pages->childAt(0));
        QCOMPARE(m_pRoot->property("pageIndex").toInt(), 0);
        QVERIFY(m_pModel->stepPage(-1));
        QCOMPARE(pages->currentIndex(), 2);
        QCOMPARE(m_pModel->currentPanel(), pages->childAt(2));
        QVERIFY(m_pModel->handleEvent(QStringLiteral("rightarrow")));
        QCOMPARE(pages->currentIndex(), 0);
        QVERIFY(m_pModel->handleEvent(QStringLiteral("leftarrow")));
        QCOMPARE(pages->currentIndex(), 2);
        QVERIFY(!m_pModel->handleEvent(QStringLiteral("uparrow")));
    }

    void selectingCollections()
    {
        m_pModel->newDocument(blankTemplate());
        CComposite *second = m_pModel->addCollection();
        HBlock node;
        node.setLabel(QStringLiteral("Second page"));
        QSignalSpy focus(m_pModel, &MModel::resetQMLFocus);
        QVERIFY(m_pModel->selectCollection(QStringLiteral("COLLECTION1")));
        QCOMPARE(focus.count(), 0);
        QVERIFY(m_pModel->selectCollection(1));
        QCOMPARE(focus.count(), 1);
        QCOMPARE(m_pModel->currentCollection(), second);
        QCOMPARE(m_pRoot->property("sceneTitle").toString(), QStringLiteral("COLLECTION2"));
        QCOMPARE(m_pRoot->property("pageCount").toInt(), 0);
        QVERIFY(!m_pModel->selectCollection(QStringLiteral("NO SUCH")));
        QVERIFY(!m_pModel->selectCollection(7));
        QCOMPARE(m_pModel->currentCollection(), second);
    }

    void removingLastTransformDisablesConnection()
    {
        m_pModel->newDocument(blankTemplate());
        CControl *bound = makeControl(QStringLiteral("Mute"), QRectF(0, 0, 10, 10));
        bound->attributes().setTransform(QStringLiteral("chrL"));
        bound->rebind();
        CControl *plain = makeControl(QStringLiteral("Plain"), QRectF(0, 0, 10, 10));
        m_pModel->addControl(bound);
        m_pModel->addControl(plain);
        QVERIFY(m_pModel->isModified());
        QSignalSpy connection(m_pModel, &MModel::enableConnection);
        m_pModel->removeControl(plain, true);
        QCOMPARE(connection.count(), 0);
        m_pModel->removeControl(bound, true);
        QCOMPARE(connection.count(), 1);
        QCOMPARE(connection.last().first().toBool(), false);
    }

    void clearSelectionDeselectsEverything()
    {
        m_pModel->newDocument(blankTemplate());
        const int before = m_pModel->currentPanel()->childCount();
        CControl *a = makeControl(QStringLiteral("a"), QRectF(0, 0, 10, 10));
        CControl *b = makeControl(QStringLiteral("b"), QRectF(0, 0, 10, 10));
        m_pModel->addControl(a);
        m_pModel->addControl(b);
        a->setModel(m_pModel);
        b->setModel(m_pModel);
        a->setSelected(1);
        b->setSelected(1);
        QSignalSpy select(m_pModel, &MModel::selectState);
        m_pModel->clearSelection();
        QCOMPARE(a->selectionState(), 0);
        QCOMPARE(b->selectionState(), 0);
        QCOMPARE(select.last().first().toBool(), false);
        // Both controls are still in the panel.
        QCOMPARE(m_pModel->currentPanel()->childCount(), before + 2);
    }

    void scaleComesFromMaxControlHeightOrBounds()
    {
        m_pModel->newDocument(blankTemplate());
        // Empty of items: the QML root's maxControlHeight decides.
        QVERIFY(m_pModel->updateScale());
        QCOMPARE(m_pModel->viewScale(), 2.0f);
        QCOMPARE(m_pRoot->property("textSize").toInt(), 24);

        m_pModel->setViewScale(1.0f);
        CControl *control = makeControl(QStringLiteral("Tall"), QRectF(0, 10, 100, 300));
        m_pModel->addControl(control);
        QVERIFY(m_pModel->updateScale());
        // H = 2 × 10 + 300 = 320 units for a 680-pixel view.
        QCOMPARE(m_pModel->viewScale(), float(680.0 / 320.0));

        m_pRoot->setHeight(0);
        QVERIFY(!m_pModel->updateScale());
    }

    void closeDocumentEmptiesTheTree()
    {
        m_pModel->newDocument(blankTemplate());
        QSignalSpy select(m_pModel, &MModel::selectState);
        m_pModel->closeDocument();
        QCOMPARE(m_pModel->documentRoot()->childCount(), 0);
        QVERIFY(!m_pModel->currentPanel());
        QCOMPARE(select.count(), 1);
    }
};

ZRB_TEST_MAIN(TestModel)
#include "tst_model.moc"
