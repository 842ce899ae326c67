#include "ArtOutput.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextStream>

#include <cstdio>

ArtOutput::ArtOutput(const QString &resourcesDir) : m_resourcesDir(resourcesDir) {}

bool ArtOutput::write(const QImage &image, const QString &relativePath)
{
    const QString path = m_resourcesDir + QLatin1Char('/') + relativePath;
    if (!QDir().mkpath(QFileInfo(path).absolutePath()) || !image.save(path, "PNG")) {
        std::fprintf(stderr, "Cannot write file %s\n", qPrintable(path));
        ++m_failures;
        return false;
    }
    m_written.append(relativePath);
    return true;
}

bool ArtOutput::writeResourceList(const QString &qrcName) const
{
    QStringList files = m_written;
    files.sort();

    QSaveFile file(m_resourcesDir + QLatin1Char('/') + qrcName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        std::fprintf(stderr, "Cannot write file %s: %s\n", qPrintable(file.fileName()),
                     qPrintable(file.errorString()));
        return false;
    }
    QTextStream out(&file);
    out << "<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n<qresource prefix=\"/\">\n";
    for (const QString &name : files)
        out << "    <file>" << name << "</file>\n";
    out << "</qresource>\n</RCC>\n";
    out.flush();
    return file.commit();
}
