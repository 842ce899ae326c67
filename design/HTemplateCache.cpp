#include "design/HTemplateCache.h"

#include "design/CParameter.h"
#include "design/XParameterHandler.h"

#include <QDebug>
#include <QFile>
#include <QHash>
#include <QTextStream>

namespace {

bool isResource(const QString &path)
{
    return path.startsWith(QLatin1Char(':')) || path.startsWith(QLatin1String("qrc:"));
}

QHash<QString, HTemplateCache::Template> &templates()
{
    static QHash<QString, HTemplateCache::Template> cache;
    return cache;
}

QHash<QString, QStringList> &dictionaries()
{
    static QHash<QString, QStringList> cache;
    return cache;
}

} // namespace

HTemplateCache::Template HTemplateCache::readParameters(const QString &path)
{
    Template result;
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly | QIODevice::Text))
        return result;
    result.found = true;
    QList<CParameter *> read;
    XParameterHandler handler(&read);
    result.parsed = handler.parse(&file);
    if (result.parsed) {
        result.parameters.reserve(read.count());
        for (const CParameter *parameter : qAsConst(read))
            result.parameters.append({parameter->text(), parameter->type()});
    } else {
        qWarning().noquote() << "HTemplateCache:" << path << handler.errorText();
    }
    qDeleteAll(read);
    return result;
}

QStringList HTemplateCache::readLines(const QString &path)
{
    QStringList result;
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly | QIODevice::Text))
        return result;
    QTextStream stream(&file);
    stream.setCodec("UTF-8");
    while (!stream.atEnd())
        result.append(stream.readLine());
    return result;
}

HTemplateCache::Template HTemplateCache::parameters(const QString &path)
{
    if (!isResource(path))
        return readParameters(path);
    auto found = templates().find(path);
    if (found == templates().end())
        found = templates().insert(path, readParameters(path));
    return *found;
}

QStringList HTemplateCache::lines(const QString &path)
{
    if (!isResource(path))
        return readLines(path);
    auto found = dictionaries().find(path);
    if (found == dictionaries().end())
        found = dictionaries().insert(path, readLines(path));
    return *found;
}
