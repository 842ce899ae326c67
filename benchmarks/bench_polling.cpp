// Polling rounds of 30 bound controls against the DSP emulator on loopback:
// the time per round (median and 95th percentile) and the socket writes per
// message. Build and run on demand:
//     cmake --build build --target bench_polling && build/bench_polling [ROUNDS]
#include "common/EmulatorThread.h"

#include "design/CParameter.h"
#include "design/HChassis.h"
#include "design/HRoot.h"
#include "device/ITcpClient.h"
#include "device/PProtocol.h"
#include "document/CComposite.h"
#include "document/CControl.h"
#include "document/CDocument.h"
#include "document/UModelResources.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPointF>
#include <QStandardItemModel>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

const int Controls = 30;

// The real client, counting its write calls.
class CountingClient : public ITcpClient
{
public:
    qint64 write(const char *data, qint64 length) override
    {
        ++writes;
        return ITcpClient::write(data, length);
    }
    long writes = 0;
};

void collect(HNode *node, QList<QPair<HNode *, QString>> &parameters)
{
    for (CParameter *parameter : node->parameters())
        parameters.append({node, parameter->text()});
    if (auto *composite = dynamic_cast<HComposite *>(node)) {
        for (HNode *child : composite->children())
            collect(child, parameters);
    }
}

double percentile(std::vector<double> values, double fraction)
{
    std::sort(values.begin(), values.end());
    const size_t at =
        std::min(values.size() - 1, size_t(fraction * double(values.size() - 1) + 0.5));
    return values.at(at);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    UModelResources::registerAll();
    QGuiApplication application(argc, argv);
    bool ok = false;
    int rounds = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt(&ok) : 200;
    if (argc > 1 && (!ok || rounds < 1)) {
        std::fprintf(stderr, "usage: bench_polling [ROUNDS]\n");
        return 2;
    }
    const QString design = QStringLiteral(ZRB_SOURCE_DIR "/examples/conference-room.zdp");

    EmulatorThread dsp;
    if (!dsp.start(design)) {
        std::fprintf(stderr, "the emulator cannot serve %s\n", qPrintable(design));
        return 1;
    }
    std::atomic<long> received{0};
    dsp.call([&] {
        QObject::connect(dsp.emulator, &PDspEmulator::messageReceived, dsp.emulator,
                         [&received] { ++received; });
    });

    // The program's side: the same design, every chassis on its emulated
    // loopback port, 30 controls bound as drops would bind them.
    CDocument document;
    if (!document.loadDesign(design)) {
        std::fprintf(stderr, "%s\n", qPrintable(document.lastError()));
        return 1;
    }
    HRoot *root = document.hardware();
    QStandardItemModel tree;
    root->populate(&tree);
    QList<QPair<HNode *, QString>> parameters;
    collect(root, parameters);
    CComposite panel;
    for (int i = 0; panel.children().count() < Controls && i < 10 * Controls; ++i) {
        const auto &parameter = parameters.at(i % parameters.count());
        CControl *control =
            panel.loadNodeControl(root, parameter.first, parameter.second, QPointF());
        if (control && !control->transform())
            panel.removeChild(control, true);
    }
    std::vector<std::unique_ptr<CountingClient>> clients;
    for (HNode *child : root->children()) {
        auto *chassis = dynamic_cast<HChassis *>(child);
        if (!chassis || !chassis->protocol())
            continue;
        auto client = std::make_unique<CountingClient>();
        client->setProtocol(chassis->protocol());
        chassis->protocol()->setInterface(client.get());
        client->setAddress(QHostAddress(QHostAddress::LocalHost));
        client->setPort(dsp.port(chassis->label()));
        client->start();
        QElapsedTimer wait;
        wait.start();
        while (client->state() != ITcpClient::Running && wait.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        if (client->state() != ITcpClient::Running) {
            std::fprintf(stderr, "cannot connect to the emulated %s\n",
                         qPrintable(chassis->label()));
            return 1;
        }
        clients.push_back(std::move(client));
    }

    for (int i = 0; i < 3; ++i)
        panel.poll();
    long writesBefore = 0;
    for (const auto &client : clients)
        writesBefore += client->writes;
    const long receivedBefore = received;
    std::vector<double> times;
    int incomplete = 0;
    QElapsedTimer clock;
    for (int round = 0; round < rounds; ++round) {
        clock.start();
        if (!panel.poll())
            ++incomplete;
        times.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    long writes = -writesBefore;
    for (const auto &client : clients)
        writes += client->writes;
    // The emulator may still be reading the last lines.
    QElapsedTimer settle;
    settle.start();
    while (received - receivedBefore < writes && settle.elapsed() < 2000)
        QThread::msleep(10);
    const long messages = received - receivedBefore;

    std::printf("polling %d controls on %zu chassis, %d rounds\n", int(panel.children().count()),
                clients.size(), rounds);
    std::printf("  per round: median %.3f ms, 95th percentile %.3f ms\n", percentile(times, 0.5),
                percentile(times, 0.95));
    std::printf("  rounds cut short: %d\n", incomplete);
    std::printf("  messages %ld, writes %ld: %.3f writes per message\n", messages, writes,
                messages > 0 ? double(writes) / double(messages) : 0.0);
    for (const auto &client : clients)
        client->stop();
    return 0;
}
