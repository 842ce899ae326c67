#include "FuzzEntry.h"

#include "design/CParameter.h"
#include "design/HRoot.h"
#include "design/XParameterHandler.h"
#include "document/CCanvas.h"
#include "document/CComposite.h"
#include "document/CDocument.h"
#include "document/UDocumentReport.h"
#include "document/io/UArchive.h"
#include "document/io/UArchiveHeaderRecord.h"
#include "document/io/XmlWriter.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

// The bytes as a file of that name in a folder of their own.
struct InputFile {
    InputFile(const QByteArray &bytes, const QString &name)
    {
        path = folder.filePath(name);
        QFile file(path);
        ok = folder.isValid() && file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    }
    QTemporaryDir folder;
    QString path;
    bool ok = false;
};

QString documentText(CDocument &document)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    XmlWriter writer;
    writer.setDevice(&buffer);
    document.writeDocument(&writer);
    writer.flush();
    return QString::fromUtf8(bytes);
}

// Nodes of the design, counted, so a refused import can show it changed nothing.
int nodeCount(HNode *node)
{
    int count = 1;
    for (int i = 0; HNode *child = node->childAt(i); ++i)
        count += nodeCount(child);
    return count;
}

} // namespace

namespace FuzzEntry {

QString archive(const QByteArray &bytes)
{
    InputFile input(bytes, QStringLiteral("input.cpz"));
    if (!input.ok)
        return QString();
    UArchive archive;
    if (!archive.open(input.path)) {
        // Not taken for an archive at all (a text for the panel reader), or
        // refused with a reason.
        return archive.lastOpenFailed() && archive.errorString().isEmpty()
                   ? QStringLiteral("refused without a reason")
                   : QString();
    }
    const QString folder = QDir(archive.header().extractionFolder()).canonicalPath();
    for (const UArchiveHeaderRecord *record : archive.header().records()) {
        const QString extracted = QFileInfo(record->path).canonicalFilePath();
        if (!extracted.isEmpty() && !extracted.startsWith(folder + QLatin1Char('/')))
            return QStringLiteral("member %1 was extracted outside its folder").arg(record->name);
    }
    return QString();
}

QString panelFile(const QByteArray &bytes)
{
    InputFile input(bytes, QStringLiteral("input.cpf"));
    if (!input.ok)
        return QString();
    CCanvas canvas;
    canvas.setDpiOverride(96.0f);
    CDocument document;
    document.setCanvas(&canvas);
    if (!document.open(input.path))
        return document.lastError().isEmpty() ? QStringLiteral("refused without a reason")
                                              : QString();
    // The report reads every value: no number in it may be out of range.
    UDocumentReport::toText(&document);
    // What opens must save, and what saves must open as the same document.
    const QString saved = input.folder.filePath(QStringLiteral("saved.cpz"));
    const QString before = documentText(document);
    if (!document.save(saved))
        return QStringLiteral("an opened file could not be saved: ") + document.lastError();
    CDocument again;
    again.setCanvas(&canvas);
    if (!again.open(saved))
        return QStringLiteral("a saved file could not be opened: ") + again.lastError();
    if (documentText(again) != before)
        return QStringLiteral("the saved file reads as another document");
    return QString();
}

QString designFile(const QByteArray &bytes)
{
    InputFile input(bytes, QStringLiteral("input.zdp"));
    if (!input.ok)
        return QString();
    CCanvas canvas;
    CDocument document;
    document.setCanvas(&canvas);
    const int before = nodeCount(document.hardware());
    if (document.loadDesign(input.path))
        return QString();
    if (document.lastError().isEmpty())
        return QStringLiteral("refused without a reason");
    if (nodeCount(document.hardware()) != before || !document.designPath().isEmpty())
        return QStringLiteral("a refused design changed the document");
    return QString();
}

QString moduleTemplate(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QList<CParameter *> parameters;
    XParameterHandler handler(&parameters);
    handler.parse(&buffer);
    qDeleteAll(parameters);
    // The controls of the template, each name as a drop takes it.
    InputFile input(bytes, QStringLiteral("input.xml"));
    if (!input.ok)
        return QString();
    HRoot hardware;
    CComposite panel;
    CLoadContext context;
    context.hardware = &hardware;
    context.nameFilter = QStringLiteral("Level");
    QString error;
    if (!panel.loadFile(input.path, context, &error) && error.isEmpty())
        return QStringLiteral("refused without a reason");
    return QString();
}

Entry entryFor(const QString &target)
{
    if (target == QLatin1String("archive"))
        return archive;
    if (target == QLatin1String("panel"))
        return panelFile;
    if (target == QLatin1String("design"))
        return designFile;
    if (target == QLatin1String("template"))
        return moduleTemplate;
    return nullptr;
}

} // namespace FuzzEntry
