// Opening and saving the reference documents in the program's model, with
// the canvas items built, against what any reader and writer of the same
// archive must do.
#include "BenchCanvas.h"
#include "BenchSupport.h"
#include "Benchmarks.h"
#include "PanelGenerator.h"

#include "document/CComposite.h"
#include "document/CDocument.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickItem>
#include <QSaveFile>
#include <QTextStream>
#include <QUrl>
#include <QXmlStreamWriter>
#include <QtEndian>

#include <memory>

QT_WARNING_DISABLE_DEPRECATED
#include <QXmlDefaultHandler>

namespace {

// Counts the controls, and does nothing else with what it is handed.
class CountingHandler : public QXmlDefaultHandler
{
public:
    bool startElement(const QString &, const QString &, const QString &qName,
                      const QXmlAttributes &) override
    {
        if (qName == QLatin1String("Control"))
            ++controls;
        return true;
    }
    int controls = 0;
};

// The members of an archive, inflated.
QVector<QPair<QString, QByteArray>> inflateArchive(const QByteArray &bytes)
{
    QVector<QPair<QString, QByteArray>> members;
    const char *data = bytes.constData();
    const quint32 count = qFromBigEndian<quint32>(data + 4);
    int at = 8;
    for (quint32 i = 0; i < count; ++i) {
        const quint32 nameLength = qFromBigEndian<quint32>(data + at);
        at += 4;
        QString name(int(nameLength), Qt::Uninitialized);
        for (quint32 unit = 0; unit < nameLength; ++unit)
            name[int(unit)] = QChar(qFromLittleEndian<quint16>(data + at + 2 * int(unit)));
        at += 2 * int(nameLength);
        const quint32 offset = qFromBigEndian<quint32>(data + at);
        const quint32 size = qFromBigEndian<quint32>(data + at + 4);
        at += 8;
        members.append(
            {name, qUncompress(reinterpret_cast<const uchar *>(data + offset), int(size))});
    }
    return members;
}

// Read, inflate, an empty SAX pass, and one trivial QML item per control.
class BaselineOpen
{
public:
    explicit BaselineOpen(QQuickItem *parent) : m_pParent(parent), m_component(qmlEngine(parent))
    {
        m_component.setData("import QtQuick 2.2\nItem { visible: false }\n", QUrl());
        if (!m_component.isReady())
            qFatal("the baseline item does not build: %s", qPrintable(m_component.errorString()));
    }
    ~BaselineOpen() { clear(); }

    void open(const QString &path)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            qFatal("cannot read %s", qPrintable(path));
        QByteArray panel;
        for (const auto &member : inflateArchive(file.readAll())) {
            if (member.first.endsWith(QLatin1String(".cpf")))
                panel = member.second;
        }
        QXmlInputSource source;
        source.setData(panel);
        CountingHandler handler;
        QXmlSimpleReader reader;
        reader.setContentHandler(&handler);
        if (!reader.parse(&source, false) || handler.controls == 0)
            qFatal("the baseline cannot read %s", qPrintable(path));
        QQmlContext *context = qmlContext(m_pParent);
        for (int i = 0; i < handler.controls; ++i) {
            auto *item = qobject_cast<QQuickItem *>(m_component.create(context));
            item->setParentItem(m_pParent);
            m_items.append(item);
        }
    }
    void clear()
    {
        qDeleteAll(m_items);
        m_items.clear();
    }

private:
    QQuickItem *m_pParent;
    QQmlComponent m_component;
    QList<QQuickItem *> m_items;
};

// What a user's open does: the file, then the first collection shown at the
// canvas's scale.
void openInModel(MModel &model, const QString &path)
{
    if (!model.open(path))
        qFatal("cannot open %s: %s", qPrintable(path), qPrintable(model.lastError()));
    model.selectCollection(0);
    model.updateScale();
}

// The same, then every panel's items built as if each had been shown: what
// a user who looks at every panel ends up paying.
void openAllInModel(MModel &model, const QString &path)
{
    openInModel(model, path);
    model.documentRoot()->ensureItems();
}

void collectControls(CControl *node, QList<CControl *> &controls)
{
    if (auto *composite = dynamic_cast<CComposite *>(node)) {
        for (CControl *child : composite->children())
            collectControls(child, controls);
    } else {
        controls.append(node);
    }
}

// The same tree written with QXmlStreamWriter in UTF-16, packed with the
// pictures by qCompress and committed through QSaveFile.
void baselineSave(CDocument *document, const QString &path)
{
    QList<CControl *> controls;
    collectControls(document->root(), controls);
    QByteArray xml;
    QStringList pictures;
    {
        QXmlStreamWriter writer(&xml);
        writer.setCodec("UTF-16");
        writer.setAutoFormatting(true);
        writer.writeStartDocument();
        writer.writeStartElement(QStringLiteral("ZDX"));
        writer.writeStartElement(QStringLiteral("Controls"));
        for (CControl *control : qAsConst(controls)) {
            writer.writeStartElement(QStringLiteral("Control"));
            writer.writeAttribute(QStringLiteral("name"), control->name());
            writer.writeAttribute(QStringLiteral("type"), control->type());
            writer.writeTextElement(QStringLiteral("id"), QString::number(control->id()));
            writer.writeStartElement(QStringLiteral("Property"));
            writer.writeAttribute(QStringLiteral("name"), QStringLiteral("widget"));
            for (const CItemRecord &record : control->itemRecords()) {
                writer.writeStartElement(record.type());
                for (const CItemRecord::Value &value : record.values()) {
                    writer.writeTextElement(value.name, value.text);
                    if (!value.archiveFolder.isEmpty() && !pictures.contains(value.text))
                        pictures << value.text;
                }
                writer.writeEndElement();
            }
            writer.writeEndElement();
            writer.writeEndElement();
        }
        writer.writeEndDocument();
    }
    QByteArray archive = qCompress(xml);
    for (const QString &picture : qAsConst(pictures)) {
        QFile file(QUrl(picture).toLocalFile());
        if (file.open(QIODevice::ReadOnly))
            archive += qCompress(file.readAll());
    }
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(archive) != archive.size() || !out.commit())
        qFatal("the baseline cannot write %s", qPrintable(path));
}

struct Memory
{
    double peak = 0.0; // MiB at the peak
    double perControl = 0.0; // KiB the open added at its peak, per control
};

// Peak memory of an open in a process of its own (side: "ours", "ours-all"
// or "baseline"), median of three.
Memory measureMemory(const QString &side, const QString &path, int controls)
{
    QVector<double> peaks;
    QVector<double> added;
    for (int i = 0; i < 3; ++i) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--child"), QStringLiteral("open-memory"), side, path});
        if (!child.waitForFinished(300000) || child.exitStatus() != QProcess::NormalExit ||
            child.exitCode() != 0)
            qFatal("the memory child (%s) failed", qPrintable(side));
        // The last line is the child's answer: resident KiB before the open
        // and at the peak.
        const QList<QByteArray> lines = child.readAllStandardOutput().trimmed().split('\n');
        const QList<QByteArray> fields = lines.value(lines.count() - 1).trimmed().split(' ');
        bool beforeOk = false;
        bool peakOk = false;
        const double before = fields.value(0).toDouble(&beforeOk);
        const double peak = fields.value(1).toDouble(&peakOk);
        if (!beforeOk || !peakOk || peak <= 0.0)
            qFatal("the memory child (%s) said no sizes", qPrintable(side));
        peaks << peak / 1024.0;
        added << (peak - before) / controls;
    }
    return Memory{Bench::median(peaks), Bench::median(added)};
}

} // namespace

namespace Benchmarks {

void openAndSave(QTextStream &out, const QString &folder, int reps)
{
    struct Case
    {
        PanelGenerator::Shape shape;
        int reps;
        bool memory;
    };
    const Case cases[] = {{{6, 6, 30}, 15, false}, {{5, 5, 640}, 5, true}};
    BenchCanvas canvas;
    for (const Case &test : cases) {
        const int controls = test.shape.controls();
        const QString caseFolder = folder + QStringLiteral("/panels-%1").arg(controls);
        const QString path = PanelGenerator::write(caseFolder, test.shape);
        if (path.isEmpty())
            qFatal("cannot write the reference document into %s", qPrintable(caseFolder));
        const QString label = QStringLiteral("%1 x %2 x %3 (%4 controls, %5 images)")
                                  .arg(test.shape.collections)
                                  .arg(test.shape.panels)
                                  .arg(test.shape.controlsPerPanel)
                                  .arg(controls)
                                  .arg(test.shape.images());
        const int runs = reps > 0 ? reps : test.reps;

        BaselineOpen baseline(canvas.contentItem());
        const auto before = [&] {
            canvas.model().closeDocument();
            baseline.clear();
            canvas.settle();
        };
        const Bench::Pair open = Bench::timePaired(
            runs, [&] { openInModel(canvas.model(), path); }, [&] { baseline.open(path); }, before);
        Bench::printRow(out, {QStringLiteral("open ") + label, open.ours, open.baseline,
                              QStringLiteral("ms"), 1.5});
        before();
        // Panels build their items when first shown; this is the cost once
        // every one has been.
        const Bench::Pair openAll =
            Bench::timePaired(runs, [&] { openAllInModel(canvas.model(), path); },
                              [&] { baseline.open(path); }, before);
        Bench::printRow(out, {QStringLiteral("  the same, every panel built"), openAll.ours,
                              openAll.baseline, QStringLiteral("ms"), 0.0});
        before();

        openInModel(canvas.model(), path);
        const QString oursPath = caseFolder + QStringLiteral("/saved.cpz");
        const QString baselinePath = caseFolder + QStringLiteral("/baseline.cpz");
        const Bench::Pair save = Bench::timePaired(
            runs,
            [&] {
                if (!canvas.model().save(oursPath))
                    qFatal("cannot save: %s", qPrintable(canvas.model().lastError()));
            },
            [&] { baselineSave(canvas.model().document(), baselinePath); });
        Bench::printRow(out, {QStringLiteral("save ") + label, save.ours, save.baseline,
                              QStringLiteral("ms"), 1.5});
        before();

        if (test.memory) {
            const Memory ours = measureMemory(QStringLiteral("ours"), path, controls);
            const Memory all = measureMemory(QStringLiteral("ours-all"), path, controls);
            const Memory base = measureMemory(QStringLiteral("baseline"), path, controls);
            Bench::printRow(out, {QStringLiteral("open %1 controls: peak memory").arg(controls),
                                  ours.peak, base.peak, QStringLiteral("MiB"), 0.0});
            Bench::printRow(out,
                            {QStringLiteral("open %1 controls: added per control").arg(controls),
                             ours.perControl, base.perControl, QStringLiteral("KiB"), 0.0});
            Bench::printRow(out, {QStringLiteral("  every panel built: peak memory"), all.peak,
                                  base.peak, QStringLiteral("MiB"), 0.0});
            Bench::printRow(out, {QStringLiteral("  every panel built: added per control"),
                                  all.perControl, base.perControl, QStringLiteral("KiB"), 0.0});
        }
    }
}

int openMemoryChild(const QString &side, const QString &path)
{
    BenchCanvas canvas;
    std::unique_ptr<BaselineOpen> baseline;
    if (side == QLatin1String("baseline"))
        baseline = std::make_unique<BaselineOpen>(canvas.contentItem());
    canvas.settle();
    const qint64 before = Bench::residentKiB();
    if (baseline)
        baseline->open(path);
    else if (side == QLatin1String("ours-all"))
        openAllInModel(canvas.model(), path);
    else
        openInModel(canvas.model(), path);
    canvas.settle();
    QTextStream(stdout) << before << ' ' << Bench::peakResidentKiB() << '\n';
    return 0;
}

} // namespace Benchmarks
