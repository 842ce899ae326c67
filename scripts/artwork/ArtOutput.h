#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

// Writes the generated images below the resources folder and remembers every
// file, so the resource bundle can list exactly what was produced.
class ArtOutput
{
public:
    explicit ArtOutput(const QString &resourcesDir);

    // relativePath is relative to the resources folder, e.g. "images/Cut.png".
    bool write(const QImage &image, const QString &relativePath);
    bool writeResourceList(const QString &qrcName) const;

    int failures() const { return m_failures; }
    const QStringList &written() const { return m_written; }

private:
    QString m_resourcesDir;
    QStringList m_written;
    int m_failures = 0;
};
