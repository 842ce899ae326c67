#include "common/RecordingMessageHandler.h"
#include "common/EditorTestSupport.h"

#include "app/KComposite.h"
#include "app/KMainController.h"
#include "app/MModel.h"
#include "app/MainWindow.h"
#include "document/CComposite.h"
#include "views/KQmlController.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

// Starts the whole program and looks at what its canvas renders.
class TestScreenshot : public QObject
{
    Q_OBJECT

private:
    static int distinctColours(const QImage &image)
    {
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); y += 3) {
            for (int x = 0; x < image.width(); x += 3)
                colours.insert(image.pixel(x, y));
        }
        return colours.count();
    }

private slots:
    void canvasShowsTheStartPanel()
    {
        RecordingMessageHandler messages;
        MModel model;
        auto *controller = new KMainController();
        controller->setModel(&model);
        controller->setApplication(qApp);
        model.addController(controller);
        QCOMPARE(messages.count(), 0);

        MainWindow *window = controller->mainWindow();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        auto *canvas = qobject_cast<KQmlController *>(model.controllers()->findController(0x1003));
        QVERIFY(canvas && canvas->frame());
        VQmlFrame *view = canvas->frame();
        QTRY_VERIFY_WITH_TIMEOUT(view->isExposed(), 20000);
        // The start panel's controls have items on the canvas.
        QVERIFY(model.currentPanel());
        QTRY_VERIFY_WITH_TIMEOUT(!model.currentPanel()->childAt(0)->items().isEmpty(), 20000);
        QCOMPARE(model.qmlRoot()->property("headerTitle").toString(), QStringLiteral("SITE NAME"));

        QImage image;
        QTRY_VERIFY_WITH_TIMEOUT((image = view->grabWindow(), distinctColours(image) > 8), 20000);
        QVERIFY2(image.width() > 100 && image.height() > 100,
                 qPrintable(QStringLiteral("canvas image %1x%2").arg(image.width()).arg(image.height())));
        const QString keep = qEnvironmentVariable("ZRB_SCREENSHOT");
        if (!keep.isEmpty()) {
            image.save(keep);
            window->grab().save(keep + QStringLiteral(".window.png"));
        }
        else if (QTest::currentTestFailed())
            image.save(QDir::temp().filePath(QStringLiteral("zrb-canvas-failed.png")));
    }
};

ZRB_TEST_MAIN(TestScreenshot)
#include "tst_screenshot.moc"
