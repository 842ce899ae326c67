#include "app/UTool.h"

#include "design/HDesignReport.h"
#include "design/HRoot.h"
#include "document/CCanvas.h"
#include "document/CDocument.h"
#include "document/UDocumentReport.h"
#include "device/ILoopbackRedirect.h"
#include "device/PDspEmulator.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonDocument>
#include <QSocketNotifier>
#include <QTextStream>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// The document alone, with a canvas record of a 96-dpi screen: nothing is
// shown, so the values in the file are kept as they are.
struct Session {
    Session()
    {
        canvas.setDpiOverride(96.0f);
        document.setCanvas(&canvas);
    }
    CCanvas canvas;
    CDocument document;
};

QString oneLine(QString text)
{
    return text.replace(QLatin1Char('\n'), QLatin1Char(' ')).simplified();
}

int fail(QTextStream &err, const QString &file, const QString &reason)
{
    err << "zrbtool: " << file << ": " << oneLine(reason) << '\n';
    err.flush();
    return UTool::Failure;
}

int usageError(QTextStream &err, const QString &reason)
{
    err << "zrbtool: " << reason << '\n' << "Try 'zrbtool --help' for more information.\n";
    err.flush();
    return UTool::UsageError;
}

bool checkReadable(const QString &path, QTextStream &err, int &status)
{
    const QString reason = CDocument::unreadableReason(path);
    if (reason.isEmpty())
        return true;
    status = fail(err, path, reason);
    return false;
}

// A design handed to a panel command is refused with what to do instead.
bool checkNotDesign(const QString &path, QTextStream &err, int &status)
{
    if (CDocument::rootElementOf(path) != QLatin1String("Project"))
        return true;
    status = fail(err, path,
                  QCoreApplication::translate("UTool",
                                              "this is a design file; use zrbtool design"));
    return false;
}

// Parses "[--json] FILE" and checks the file can be read; answers the
// status to exit with, or -1 to go on.
int singleFile(const QString &command, const QStringList &arguments, QTextStream &err, bool &json,
               QString &path);

// Splits "--json" from the positional arguments.
QStringList positional(const QStringList &arguments, bool &json, QString &unknown)
{
    QStringList result;
    for (const QString &argument : arguments) {
        if (argument == QLatin1String("--json"))
            json = true;
        else if (argument.startsWith(QLatin1String("--")))
            unknown = argument;
        else
            result << argument;
    }
    return result;
}

int singleFile(const QString &command, const QStringList &arguments, QTextStream &err, bool &json,
               QString &path)
{
    QString unknown;
    const QStringList files = positional(arguments, json, unknown);
    if (!unknown.isEmpty())
        return usageError(err, QStringLiteral("unknown option '%1'").arg(unknown));
    if (files.count() != 1)
        return usageError(err, QStringLiteral("%1 needs exactly one FILE").arg(command));
    path = files.first();
    int status = UTool::Success;
    if (!checkReadable(path, err, status))
        return status;
    return -1;
}

// SIGINT and SIGTERM end the event loop through a socket pair: a signal
// handler may only write a byte.
int g_signalSockets[2] = {-1, -1};

void writeSignalByte(int)
{
    const char byte = 1;
    const ssize_t written = ::write(g_signalSockets[1], &byte, 1);
    Q_UNUSED(written)
}

bool quitOnSignals(QObject *context)
{
    if (g_signalSockets[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalSockets) != 0)
        return false;
    auto *notifier = new QSocketNotifier(g_signalSockets[0], QSocketNotifier::Read, context);
    QObject::connect(notifier, &QSocketNotifier::activated, context, [] {
        char byte = 0;
        const ssize_t got = ::read(g_signalSockets[0], &byte, 1);
        Q_UNUSED(got)
        QCoreApplication::quit();
    });
    struct sigaction action = {};
    action.sa_handler = writeSignalByte;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return ::sigaction(SIGINT, &action, nullptr) == 0 && ::sigaction(SIGTERM, &action, nullptr) == 0;
}

// A request line for the terminal: control bytes as <XX>.
QString printableLine(const QByteArray &line)
{
    QString text;
    for (const char c : line) {
        const uchar byte = uchar(c);
        if (byte < 0x20 || byte >= 0x7f)
            text += QStringLiteral("<%1>").arg(byte, 2, 16, QLatin1Char('0'));
        else
            text += QLatin1Char(c);
    }
    return text;
}

// A whole non-negative number for an option, checked.
bool numberOption(const QStringList &arguments, int &i, int maximum, int &value, QString &problem)
{
    const QString name = arguments.at(i);
    if (i + 1 >= arguments.count()) {
        problem = QStringLiteral("%1 needs a number").arg(name);
        return false;
    }
    bool ok = false;
    value = arguments.at(++i).toInt(&ok, 10);
    if (!ok || value < 0 || value > maximum) {
        problem = QStringLiteral("%1 needs a number from 0 to %2").arg(name).arg(maximum);
        return false;
    }
    return true;
}

} // namespace

QString UTool::usage()
{
    return QStringLiteral(
        "Usage: zrbtool COMMAND [OPTIONS] FILE...\n"
        "\n"
        "The command-line companion of Zindral Remote builder.\n"
        "\n"
        "Commands:\n"
        "  info [--json] FILE     Open a panel file (.cpz, .cpf or .tpl) and print the\n"
        "                         document: canvas, project, connections, collections,\n"
        "                         panels and controls with their items.\n"
        "  convert IN OUT         Open IN and save it as an archive: OUT, its extension\n"
        "                         replaced by .cpz (added when it has none).\n"
        "  design [--json] FILE   Import a design file (.zdp) and print the project-tree\n"
        "                         rows it adds and its node tree.\n"
        "  render [-o DIR] [--scale N] FILE\n"
        "                         Draw every panel of a panel file to a PNG file in DIR\n"
        "                         (default: the current folder), named after its\n"
        "                         collection and panel, at the canvas's pixel size times N\n"
        "                         (0.25 to 8, default 1), as the canvas shows it outside\n"
        "                         edit mode. Prints the files written. Needs no display:\n"
        "                         it draws with Qt Quick's software renderer.\n"
        "  emulate [OPTIONS] FILE Answer the DSP control protocol for every chassis of\n"
        "                         a design (.zdp, or a .cpz holding one) on this\n"
        "                         machine, until Ctrl+C. A chassis whose address is a\n"
        "                         loopback address is served there; chassis number i\n"
        "                         (0 for the first in the design) otherwise at\n"
        "                         127.0.0.1, port base + i. Start zrbuilder with\n"
        "                         --emulator to go online against it.\n"
        "    --base-port N        The base port (default 20055; 0: any free ports).\n"
        "    --verbose            Print every message received.\n"
        "    --delay MS           Answer MS milliseconds late.\n"
        "    --silent             Answer nothing.\n"
        "    --close-after N      Close each connection after N messages.\n"
        "    --garbage            Answer with a line of noise instead.\n"
        "    --split              Send each answer in two writes.\n"
        "\n"
        "Options:\n"
        "  --json                 Print one JSON object instead of text.\n"
        "  --help                 Show this help and exit.\n"
        "  --version              Show the version and exit.\n"
        "\n"
        "Exit status: 0 on success, 1 when a file cannot be read, is damaged or is\n"
        "refused, 2 on a usage error.\n");
}

int UTool::run(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    if (arguments.isEmpty())
        return usageError(err, QStringLiteral("missing command"));
    const QString command = arguments.first();
    if (command == QLatin1String("--help") || command == QLatin1String("-h") ||
        command == QLatin1String("help")) {
        out << usage();
        out.flush();
        return Success;
    }
    if (command == QLatin1String("--version")) {
        out << "zrbtool " << ZRB_VERSION << '\n';
        out.flush();
        return Success;
    }
    const QStringList rest = arguments.mid(1);
    if (rest.contains(QStringLiteral("--help"))) {
        out << usage();
        out.flush();
        return Success;
    }
    if (command == QLatin1String("info"))
        return info(rest, out, err);
    if (command == QLatin1String("convert"))
        return convert(rest, out, err);
    if (command == QLatin1String("design"))
        return design(rest, out, err);
    if (command == QLatin1String("emulate"))
        return emulate(rest, out, err);
    return usageError(err, QStringLiteral("unknown command '%1'").arg(command));
}

int UTool::info(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    bool json = false;
    QString path;
    int status = singleFile(QStringLiteral("info"), arguments, err, json, path);
    if (status >= 0)
        return status;
    if (!checkNotDesign(path, err, status))
        return status;

    Session session;
    if (!session.document.open(path))
        return fail(err, path, session.document.lastError());
    if (json)
        out << QJsonDocument(UDocumentReport::toJson(&session.document))
                   .toJson(QJsonDocument::Indented);
    else
        out << UDocumentReport::toText(&session.document);
    out.flush();
    return Success;
}

int UTool::convert(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    bool json = false;
    QString unknown;
    const QStringList files = positional(arguments, json, unknown);
    if (!unknown.isEmpty() || json)
        return usageError(err, QStringLiteral("unknown option '%1'").arg(json ? "--json" : unknown));
    if (files.count() != 2)
        return usageError(err, QStringLiteral("convert needs IN and OUT"));
    const QString in = files.at(0);
    const QString output = files.at(1);
    int status = Success;
    if (!checkReadable(in, err, status) || !checkNotDesign(in, err, status))
        return status;

    Session session;
    if (!session.document.open(in))
        return fail(err, in, session.document.lastError());
    if (!session.document.save(output))
        return fail(err, output, session.document.lastError());
    out.flush();
    return Success;
}

int UTool::design(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    bool json = false;
    QString path;
    const int status = singleFile(QStringLiteral("design"), arguments, err, json, path);
    if (status >= 0)
        return status;

    Session session;
    if (!session.document.loadDesign(path))
        return fail(err, path, session.document.lastError());
    if (json)
        out << QJsonDocument(HDesignReport::toJson(session.document.hardware()))
                   .toJson(QJsonDocument::Indented);
    else
        out << HDesignReport::toText(session.document.hardware());
    out.flush();
    return Success;
}

int UTool::emulate(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    PDspEmulator emulator;
    PDspChassis::Behaviour &behaviour = emulator.behaviour();
    int basePort = ILoopbackRedirect::DefaultBasePort;
    bool verbose = false;
    QStringList files;
    QString problem;
    for (int i = 0; i < arguments.count() && problem.isEmpty(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == QLatin1String("--base-port"))
            numberOption(arguments, i, 65535, basePort, problem);
        else if (argument == QLatin1String("--delay"))
            numberOption(arguments, i, 600000, behaviour.delay, problem);
        else if (argument == QLatin1String("--close-after"))
            numberOption(arguments, i, 1000000, behaviour.closeAfter, problem);
        else if (argument == QLatin1String("--verbose"))
            verbose = true;
        else if (argument == QLatin1String("--silent"))
            behaviour.silent = true;
        else if (argument == QLatin1String("--garbage"))
            behaviour.garbage = true;
        else if (argument == QLatin1String("--split"))
            behaviour.split = true;
        else if (argument.startsWith(QLatin1String("--")))
            problem = QStringLiteral("unknown option '%1'").arg(argument);
        else
            files << argument;
    }
    if (!problem.isEmpty())
        return usageError(err, problem);
    if (files.count() != 1)
        return usageError(err, QStringLiteral("emulate needs exactly one FILE"));
    const QString path = files.first();
    int status = Success;
    if (!checkReadable(path, err, status))
        return status;
    if (!emulator.load(path))
        return fail(err, path, emulator.errorString());
    const bool served = emulator.serve(quint16(basePort));
    for (const QString &error : emulator.errors())
        err << "zrbtool: " << error << '\n';
    err.flush();
    int listening = 0;
    for (PDspChassis *chassis : emulator.chassis()) {
        if (chassis->port() == 0)
            continue;
        ++listening;
        out << QStringLiteral("%1: %2 -> %3:%4 (%5 parameters)\n")
                   .arg(chassis->label(),
                        chassis->designAddress(),
                        chassis->address().toString())
                   .arg(chassis->port())
                   .arg(chassis->parameterCount());
    }
    if (listening == 0)
        return fail(err, path, QStringLiteral("no chassis could be served"));
    Q_UNUSED(served)
    out << "Emulating " << listening << " chassis; Ctrl+C ends.\n";
    out.flush();
    if (verbose) {
        QObject::connect(&emulator, &PDspEmulator::messageReceived, &emulator,
                         [&out](const QString &chassis, const QByteArray &line) {
                             out << chassis << ": " << printableLine(line) << '\n';
                             out.flush();
                         });
    }
    if (!quitOnSignals(&emulator))
        return fail(err, path, QStringLiteral("cannot catch SIGINT and SIGTERM"));
    QCoreApplication::exec();
    emulator.stop();
    out << "Stopped.\n";
    out.flush();
    return Success;
}
