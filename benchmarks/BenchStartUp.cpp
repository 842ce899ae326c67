// Start-up to the first painted frame of the canvas, each run a process of
// its own, against a main window holding a Qt Quick view with one rectangle.
#include "BenchSupport.h"
#include "Benchmarks.h"

#include "app/KMainController.h"
#include "app/MModel.h"
#include "document/USettings.h"
#include "views/VQmlFrame.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QProcess>
#include <QQuickView>
#include <QTextStream>
#include <QTimer>

#include <cstdio>

namespace {

// Milliseconds from starting the child until it says it has painted.
double timeChild(const QString &side)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer timer;
    timer.start();
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--child"), QStringLiteral("startup"), side});
    QByteArray said;
    while (!said.contains("painted")) {
        if (!child.waitForReadyRead(30000))
            qFatal("the start-up child (%s) never painted", qPrintable(side));
        said += child.readAllStandardOutput();
    }
    const double elapsed = timer.nsecsElapsed() / 1e6;
    child.waitForFinished(30000);
    return elapsed;
}

// Says "painted" once the view has shown its first frame, then quits.
void reportFirstFrame(QQuickWindow *window)
{
    QObject::connect(window, &QQuickWindow::frameSwapped, window, [] {
        std::fputs("painted\n", stdout);
        std::fflush(stdout);
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    });
}

} // namespace

namespace Benchmarks {

void startUp(QTextStream &out, int reps)
{
    const QString ours = QStringLiteral("ours");
    const QString baseline = QStringLiteral("baseline");
    // The first run of each finds the least in the caches.
    const double firstOurs = timeChild(ours);
    const double firstBaseline = timeChild(baseline);
    QVector<double> oursTimes;
    QVector<double> baselineTimes;
    const int runs = reps > 0 ? reps : 9;
    for (int i = 0; i < runs; ++i) {
        if (i % 2) {
            baselineTimes << timeChild(baseline);
            oursTimes << timeChild(ours);
        } else {
            oursTimes << timeChild(ours);
            baselineTimes << timeChild(baseline);
        }
    }
    Bench::printRow(out, {QStringLiteral("start-up to a painted window, first run"), firstOurs,
                          firstBaseline, QStringLiteral("ms"), 0.0});
    Bench::printRow(out,
                    {QStringLiteral("start-up to a painted window, warm"), Bench::median(oursTimes),
                     Bench::median(baselineTimes), QStringLiteral("ms"), 1.3});
}

int startUpChild(const QString &side, int argc, char **argv)
{
    QApplication application(argc, argv);
    if (side == QLatin1String("baseline")) {
        QMainWindow window;
        auto *view = new QQuickView;
        view->setResizeMode(QQuickView::SizeRootObjectToView);
        view->setSource(QUrl(QStringLiteral("qrc:/bench/Rectangle.qml")));
        window.setCentralWidget(QWidget::createWindowContainer(view));
        window.resize(600, 700);
        reportFirstFrame(view);
        window.show();
        return application.exec();
    }
    // As the program's main() does.
    QApplication::setOrganizationName(USettings::organization());
    QApplication::setApplicationName(USettings::application());
    MModel model;
    auto *controller = new KMainController();
    controller->setModel(&model);
    controller->setApplication(&application);
    model.addController(controller);
    if (!model.qmlFrame())
        qFatal("the program has no canvas view");
    reportFirstFrame(model.qmlFrame());
    return application.exec();
}

} // namespace Benchmarks
