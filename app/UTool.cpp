#include "app/UTool.h"

#include "design/HDesignReport.h"
#include "design/HRoot.h"
#include "document/CCanvas.h"
#include "document/CDocument.h"
#include "document/UDocumentReport.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonDocument>
#include <QTextStream>

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
        "  convert IN OUT         Open IN and save it as OUT (a .cpz archive beside OUT).\n"
        "  design [--json] FILE   Import a design file (.zdp) and print the project-tree\n"
        "                         rows it adds and its node tree.\n"
        "  render [-o DIR] [--scale N] FILE\n"
        "                         Draw every panel of a panel file to a PNG file in DIR\n"
        "                         (default: the current folder), named after its\n"
        "                         collection and panel, at the canvas's pixel size times N\n"
        "                         (0.25 to 8, default 1), as the canvas shows it outside\n"
        "                         edit mode. Prints the files written. Needs no display:\n"
        "                         it draws with Qt Quick's software renderer.\n"
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
