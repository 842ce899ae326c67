#include "common/EditorTestSupport.h"
#include "common/TestControls.h"

#include "controls/WWidget.h"
#include "document/CComposite.h"
#include "document/io/XmlWriter.h"

#include <QApplication>
#include <QQuickItem>
#include <QTest>
#include <QtMath>

// The document's operations on live items: controls carry real native items
// on plain Qt Quick roots, so geometry runs without loading QML files.
class TestDocumentItems : public QObject
{
    Q_OBJECT

private:
    QQuickItem *m_pCanvas = nullptr;

    CControl *makeControl(const QString &name, const QString &type, const QRectF &rect,
                          const QString &itemType = QString())
    {
        return TestControls::makeControl(m_pCanvas, name, type, rect, itemType);
    }

    static std::unique_ptr<CComposite> makePanel()
    {
        std::unique_ptr<CComposite> panel(new CComposite());
        panel->assignKind(QStringLiteral("Panel"));
        return panel;
    }

    static WWidget *widget(CControl *control)
    {
        return dynamic_cast<WWidget *>(control->items().value(0));
    }

private slots:
    void init() { m_pCanvas = new QQuickItem(); }

    void cleanup()
    {
        delete m_pCanvas;
        m_pCanvas = nullptr;
    }

    void boundsAndFitWidth()
    {
        auto panel = makePanel();
        CControl *control = makeControl(QStringLiteral("x"), QStringLiteral("Button"),
                                        QRectF(10, 20, 100, 40));
        panel->addChild(control);
        panel->addChild(makeControl(QStringLiteral("y"), QStringLiteral("Label"),
                                    QRectF(50, 100, 20, 20)));
        QCOMPARE(panel->bounds(), QRectF(10, 20, 100, 100));
        QCOMPARE(panel->childBounds(),
                 (QList<QRectF>{QRectF(10, 20, 100, 40), QRectF(50, 100, 20, 20)}));

        QVERIFY(control->fitWidth(QStringLiteral("Button"), 400));
        QCOMPARE(control->bounds().x(), 150.0);
        QVERIFY(!control->fitWidth(QStringLiteral("Slider"), 400));

        // A bounds item defines the panel's rectangle.
        panel->addChild(makeControl(QStringLiteral("b"), QStringLiteral("Frame"),
                                    QRectF(0, 0, 300, 340), QStringLiteral("bounds")));
        QCOMPARE(panel->bounds(), QRectF(0, 0, 300, 340));
    }

    void rescaleFitsPanelHeight_data()
    {
        QTest::addColumn<QRectF>("other");
        QTest::addColumn<QRectF>("scaled");
        QTest::newRow("panel 100 high to 200") << QRectF(0, 0, 10, 100) << QRectF(20, 40, 200, 100);
        // A flat panel has no height to fit: its items stay finite and put.
        QTest::newRow("flat panel") << QRectF(10, 20, 100, 0) << QRectF(10, 20, 100, 50);
    }

    void rescaleFitsPanelHeight()
    {
        QFETCH(QRectF, other);
        QFETCH(QRectF, scaled);
        auto panel = makePanel();
        const bool flat = other.height() == 0;
        CControl *control = makeControl(QStringLiteral("x"), QStringLiteral("Button"),
                                        flat ? QRectF(10, 20, 100, 0) : QRectF(10, 20, 100, 50));
        panel->addChild(control);
        if (!flat)
            panel->addChild(makeControl(QStringLiteral("y"), QStringLiteral("Button"), other));
        panel->rescale(1.0, 200.0);
        const QRectF after = control->bounds();
        QVERIFY(qIsFinite(after.x()) && qIsFinite(after.width()) && qIsFinite(after.height()));
        QCOMPARE(after, flat ? QRectF(10, 20, 100, 0) : scaled);
    }

    void controlInDropSiteDoesNotMoveByItself()
    {
        auto panel = makePanel();
        CControl *site = makeControl(QStringLiteral("site"), QStringLiteral("DropSite"),
                                     QRectF(0, 0, 50, 50), QStringLiteral("dropsite"));
        CControl *held = makeControl(QStringLiteral("held"), QStringLiteral("Button"),
                                     QRectF(5, 5, 10, 10));
        panel->addChild(site);
        held->setDropSiteHost(site);
        widget(site)->setRootProperty("enableDrop", true);
        panel->addChild(held);
        QCOMPARE(widget(site)->rootProperty("enableDrop").toBool(), false);
        held->moveBy(10, 10);
        QCOMPARE(held->bounds().topLeft(), QPointF(5, 5));
        std::unique_ptr<CControl> taken = panel->removeChild(held, false);
        QCOMPARE(widget(site)->rootProperty("enableDrop").toBool(), true);
    }

    void titleAndSummary()
    {
        auto panel = makePanel();
        CControl *title = makeControl(QStringLiteral("Title"), QStringLiteral("Label"),
                                      QRectF(0, 0, 50, 10));
        widget(title)->setRootText(QStringLiteral("Lobby"));
        QCOMPARE(panel->titleText(), QString());
        panel->addChild(title);
        QCOMPARE(panel->titleText(), QStringLiteral("Lobby"));
        QCOMPARE(panel->summary(), QStringLiteral("Label"));
        panel->addChild(makeControl(QStringLiteral("x"), QStringLiteral("Button"), QRectF()));
        QCOMPARE(panel->summary(), QString());
    }

    // What a live item shows is what the document writes, and the values
    // stay with the document when the item goes.
    void liveItemsWriteBackIntoTheirRecords()
    {
        std::unique_ptr<CControl> control(makeControl(QStringLiteral("b"), QStringLiteral("Frame"),
                                                      QRectF(10, 20, 100, 40)));
        control->moveBy(5, 0);
        const QString out = TestSupport::writtenXml([&](XmlWriter &w) { control->write(&w); });
        QVERIFY2(out.contains(QStringLiteral("\t\t<frame>\n\t\t\t<x>15</x>\n\t\t\t<y>20</y>\n")), qPrintable(out));
        control->releaseItems();
        QVERIFY(control->items().isEmpty());
        QCOMPARE(control->itemRecords().at(0).value(QStringLiteral("x")), QStringLiteral("15"));
        QCOMPARE(TestSupport::writtenXml([&](XmlWriter &w) { control->write(&w); }), out);
    }
};

ZRB_TEST_MAIN(TestDocumentItems)
#include "tst_documentitems.moc"
