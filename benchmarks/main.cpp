// zrbbench: runs the benchmarks that compare the program's operations with
// baselines doing the same essential work in the same process, and prints
// one table. Run through scripts/bench.sh; see the README.
#include "BenchSupport.h"
#include "Benchmarks.h"
#include "DesignGenerator.h"
#include "PanelGenerator.h"

#include "app/AppResources.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>
#include <cstring>

namespace {

const char *const Usage =
    "Usage: zrbbench [--reps N] [--no-warm-up] [CASE...]\n"
    "       zrbbench --generate FOLDER\n"
    "\n"
    "Cases: design, document, startup (all when none is named).\n"
    "--reps N        repetitions per measurement instead of each case's own\n"
    "--no-warm-up    time the first run too (for code too slow to run twice)\n"
    "--generate DIR  only write the generated inputs into DIR\n";

// Settings, caches and extracted archives go to a folder of the run's own,
// for this process and its children.
void isolateHome(const QString &home)
{
    for (const char *name :
         {"XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"}) {
        const QString folder = home + QLatin1Char('/') + QString::fromLatin1(name).toLower();
        QDir().mkpath(folder);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv(name, folder.toLocal8Bit());
    }
}

int generate(const QString &folder)
{
    QTextStream out(stdout);
    for (int nodes : {1000, 5000, 20000}) {
        const QString path = folder + QStringLiteral("/design-%1.zdp").arg(nodes);
        if (!DesignGenerator::write(path, nodes))
            return 1;
        out << path << '\n';
    }
    for (const PanelGenerator::Shape &shape :
         {PanelGenerator::Shape{6, 6, 30}, PanelGenerator::Shape{5, 5, 640}}) {
        const QString path = PanelGenerator::write(
            folder + QStringLiteral("/panels-%1").arg(shape.controls()), shape);
        if (path.isEmpty())
            return 1;
        out << path << '\n';
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    Q_INIT_RESOURCE(bench);
    AppResources::registerAll();
    if (argc >= 4 && std::strcmp(argv[1], "--child") == 0 && std::strcmp(argv[2], "startup") == 0)
        return Benchmarks::startUpChild(QString::fromLatin1(argv[3]), argc, argv);

    QTemporaryDir home;
    if (qEnvironmentVariableIsEmpty("ZRB_BENCH_HOME")) {
        qputenv("ZRB_BENCH_HOME", home.path().toLocal8Bit());
        isolateHome(home.path());
    }
    QApplication application(argc, argv);
    QStringList arguments = application.arguments().mid(1);
    if (arguments.value(0) == QLatin1String("--child") &&
        arguments.value(1) == QLatin1String("open-memory"))
        return Benchmarks::openMemoryChild(arguments.value(2), arguments.value(3));

    int reps = 0;
    QStringList cases;
    for (int i = 0; i < arguments.count(); ++i) {
        const QString argument = arguments.at(i);
        if (argument == QLatin1String("--reps") && i + 1 < arguments.count()) {
            reps = arguments.at(++i).toInt();
        } else if (argument == QLatin1String("--no-warm-up")) {
            Bench::setWarmUp(false);
        } else if (argument == QLatin1String("--generate") && i + 1 < arguments.count()) {
            const QString folder = arguments.at(++i);
            QDir().mkpath(folder);
            return generate(QDir(folder).absolutePath());
        } else if (argument.startsWith(QLatin1String("-"))) {
            std::fputs(Usage, stderr);
            return argument == QLatin1String("--help") ? 0 : 2;
        } else {
            cases << argument;
        }
    }
    if (cases.isEmpty())
        cases = QStringList{QStringLiteral("design"), QStringLiteral("document"),
                            QStringLiteral("startup")};

    QTemporaryDir scratch;
    QTextStream out(stdout);
    Bench::printHeader(out);
    for (const QString &name : qAsConst(cases)) {
        if (name == QLatin1String("design"))
            Benchmarks::designImport(out, scratch.path(), reps);
        else if (name == QLatin1String("document"))
            Benchmarks::openAndSave(out, scratch.path(), reps);
        else if (name == QLatin1String("startup"))
            Benchmarks::startUp(out, reps);
        else
            std::fprintf(stderr, "zrbbench: unknown case %s\n", qPrintable(name));
    }
    int missed = 0;
    for (const Bench::Row &row : Bench::allRows()) {
        if (row.goal > 0.0 && row.baseline > 0.0 && row.ours / row.baseline > row.goal)
            ++missed;
    }
    out << '\n'
        << (missed ? QStringLiteral("%1 ratio(s) above their goal.").arg(missed)
                   : QStringLiteral("Every ratio within its goal."))
        << '\n';
    return 0;
}
