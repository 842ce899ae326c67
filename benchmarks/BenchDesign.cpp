// Importing a design: reading it into the hardware tree and building the
// project-tree rows, against a plain SAX pass over the same file.
#include "BenchSupport.h"
#include "Benchmarks.h"
#include "DesignGenerator.h"

#include "app/UTool.h"
#include "design/HRoot.h"
#include "document/CCanvas.h"
#include "document/CDocument.h"

#include <QBuffer>
#include <QFile>
#include <QStandardItemModel>
#include <QTextStream>

#include <memory>

QT_WARNING_DISABLE_DEPRECATED
#include <QXmlDefaultHandler>

namespace {

// The least any reader of the file must do: read it, decode it and parse it.
void plainSaxPass(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    QXmlInputSource source;
    source.setData(file.readAll());
    QXmlDefaultHandler handler;
    QXmlSimpleReader reader;
    reader.setContentHandler(&handler);
    if (!reader.parse(&source, false))
        qFatal("the baseline cannot parse %s", qPrintable(path));
}

} // namespace

namespace Benchmarks {

void designImport(QTextStream &out, const QString &folder, int reps)
{
    struct Size
    {
        int nodes;
        int reps;
    };
    const Size sizes[] = {{1000, 15}, {5000, 7}, {20000, 5}};
    for (const Size &size : sizes) {
        const QString path = folder + QStringLiteral("/design-%1.zdp").arg(size.nodes);
        if (!DesignGenerator::write(path, size.nodes))
            qFatal("cannot write %s", qPrintable(path));

        // What is built is torn down outside the clock, before the next run.
        std::unique_ptr<CDocument> document;
        std::unique_ptr<QStandardItemModel> rows;
        const auto import = [&] {
            document = std::make_unique<CDocument>();
            if (!document->loadDesign(path))
                qFatal("cannot import %s: %s", qPrintable(path), qPrintable(document->lastError()));
            rows = std::make_unique<QStandardItemModel>();
            document->hardware()->populate(rows.get());
        };
        const auto tearDown = [&] {
            rows.reset();
            document.reset();
        };
        const Bench::Pair times = Bench::timePaired(
            reps > 0 ? reps : size.reps, import, [&] { plainSaxPass(path); }, tearDown);
        tearDown();
        Bench::printRow(out, {QStringLiteral("design import + tree rows, %1 nodes").arg(size.nodes),
                              times.ours, times.baseline, QStringLiteral("ms"), 2.0});
    }

    // The whole of "zrbtool design" on the largest, report included.
    const QString largest = folder + QStringLiteral("/design-20000.zdp");
    const auto tool = [&] {
        QByteArray report;
        QBuffer buffer(&report);
        buffer.open(QIODevice::WriteOnly);
        QTextStream toolOut(&buffer);
        QString errors;
        QTextStream toolErr(&errors);
        if (UTool::run({QStringLiteral("design"), largest}, toolOut, toolErr) != UTool::Success)
            qFatal("zrbtool design failed: %s", qPrintable(errors));
    };
    const Bench::Pair times =
        Bench::timePaired(reps > 0 ? reps : 3, tool, [&] { plainSaxPass(largest); });
    Bench::printRow(out, {QStringLiteral("zrbtool design (with report), 20000 nodes"), times.ours,
                          times.baseline, QStringLiteral("ms"), 0.0});
}

} // namespace Benchmarks
