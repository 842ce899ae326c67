#pragma once

#include <QString>

class QByteArray;
class QIODevice;
class QTextStream;
class UArchive;

// Writes the panel-file XML: one tab per nesting level, line feeds only, and
// "&", "<" and ">" (and '"' inside attribute values) as numeric references.
// The archive hooks let a save register the files that travel with the panel
// in the archive it hands in.
class XmlWriter
{
public:
    enum EncodingMode { LocaleEncoding = 0, Utf8 = 1, Utf16 = 2 };

    XmlWriter();
    virtual ~XmlWriter();

    bool setDevice(QIODevice *device);
    bool setByteArray(QByteArray *buffer);
    void setEncodingMode(int mode);
    int encodingMode() const { return m_encodingMode; }
    QString encodingName() const { return m_encodingName; }

    bool writeDeclaration();
    virtual bool writeStartElement(const QString &name);
    bool writeStartElement(const QString &name, const QString &nameAttribute);
    bool writeStartElement(const QString &name, const QString &nameAttribute,
                           const QString &typeAttribute);
    virtual bool writeEndElement(const QString &name);
    virtual bool writeTextElement(const QString &name, const QString &value);
    bool writeTextElement(const QString &name, qint32 value);
    bool writeTextElement(const QString &name, quint32 value);
    bool writeTextElement(const QString &name, float value);
    bool writeTextElement(const QString &name, double value);
    bool flush();

    // Archive hooks; without an archive, members are not recorded.
    void setArchive(UArchive *archive) { m_pArchive = archive; }
    UArchive *archive() const { return m_pArchive; }
    void nameArchive(const QString &path);
    QString addArchiveMember(const QString &path, const QString &folder);
    bool writeArchive();
    // Writes a path that names an image file; local files join the archive
    // in the given folder so the picture travels with the panel.
    virtual bool writeImageReference(const QString &name, const QString &path,
                                     const QString &folder);

    static QString escapeText(const QString &text);
    static QString escapeAttribute(const QString &text);
    // Shortest of fixed or exponent notation with 6 significant digits.
    static QString formatFloat(double value);

private:
    bool writeRaw(const QString &text);
    void applyEncoding();

    UArchive *m_pArchive = nullptr;
    QIODevice *m_pDevice = nullptr;
    QByteArray *m_pBuffer = nullptr;
    QTextStream *m_pStream = nullptr;
    QString m_indentation;
    int m_encodingMode = Utf8;
    QString m_encodingName = QStringLiteral("UTF-8");
};
