#include "document/io/XmlWriter.h"

#include "document/io/UArchive.h"
#include "document/io/UProgress.h"
#include "document/io/XmlHandler.h"

#include <QFileInfo>
#include <QIODevice>
#include <QUrl>
#include <QTextCodec>
#include <QTextStream>

XmlWriter::XmlWriter() = default;

XmlWriter::~XmlWriter()
{
    if (m_pStream)
        m_pStream->flush();
    delete m_pStream;
}

bool XmlWriter::setDevice(QIODevice *device)
{
    if (!device)
        return false;
    delete m_pStream;
    m_pDevice = device;
    m_pBuffer = nullptr;
    m_pStream = new QTextStream(device);
    applyEncoding();
    return true;
}

bool XmlWriter::setByteArray(QByteArray *buffer)
{
    if (!buffer)
        return false;
    delete m_pStream;
    m_pBuffer = buffer;
    m_pDevice = nullptr;
    m_pStream = new QTextStream(buffer, QIODevice::ReadWrite);
    applyEncoding();
    return true;
}

void XmlWriter::setEncodingMode(int mode)
{
    m_encodingMode = mode;
    if (mode == Utf8)
        m_encodingName = QStringLiteral("UTF-8");
    else if (mode == Utf16)
        m_encodingName = QStringLiteral("UTF-16");
    applyEncoding();
}

void XmlWriter::applyEncoding()
{
    if (!m_pStream)
        return;
    m_pStream->setGenerateByteOrderMark(false);
    QTextCodec *codec = nullptr;
    if (m_encodingMode == Utf8)
        codec = QTextCodec::codecForName("UTF-8");
    else if (m_encodingMode == Utf16)
        codec = QTextCodec::codecForName("UTF-16BE");
    if (!codec) {
        m_encodingMode = LocaleEncoding;
        codec = QTextCodec::codecForLocale();
    }
    m_pStream->setCodec(codec);
}

bool XmlWriter::writeRaw(const QString &text)
{
    if (!m_pStream)
        return false;
    *m_pStream << text;
    return m_pStream->status() == QTextStream::Ok;
}

bool XmlWriter::writeDeclaration()
{
    if (!m_pStream)
        return false;
    if (m_encodingMode == Utf16) {
        // The byte-order mark goes out before any text, as FE FF.
        m_pStream->flush();
        static const char bom[2] = {'\xFE', '\xFF'};
        if (m_pDevice)
            m_pDevice->write(bom, 2);
        else if (m_pStream->device())
            m_pStream->device()->write(bom, 2);
    }
    return writeRaw(QStringLiteral("<?xml version=\"1.0\" encoding=\"%1\"?>\n").arg(m_encodingName));
}

bool XmlWriter::writeStartElement(const QString &name)
{
    if (!m_pStream || name.isEmpty())
        return false;
    const bool ok = writeRaw(m_indentation + QLatin1Char('<') + name + QLatin1String(">\n"));
    m_indentation += QLatin1Char('\t');
    return ok;
}

bool XmlWriter::writeStartElement(const QString &name, const QString &nameAttribute)
{
    if (!m_pStream || name.isEmpty())
        return false;
    const bool ok = writeRaw(m_indentation + QLatin1Char('<') + name + QLatin1String(" name=\"") +
                             escapeAttribute(nameAttribute) + QLatin1String("\">\n"));
    m_indentation += QLatin1Char('\t');
    return ok;
}

bool XmlWriter::writeStartElement(const QString &name, const QString &nameAttribute,
                                  const QString &typeAttribute)
{
    if (!m_pStream || name.isEmpty())
        return false;
    const bool ok = writeRaw(m_indentation + QLatin1Char('<') + name + QLatin1String(" name=\"") +
                             escapeAttribute(nameAttribute) + QLatin1String("\" type=\"") +
                             escapeAttribute(typeAttribute) + QLatin1String("\">\n"));
    m_indentation += QLatin1Char('\t');
    return ok;
}

bool XmlWriter::writeEndElement(const QString &name)
{
    UProgress::step();
    if (!m_pStream || name.isEmpty())
        return false;
    m_indentation.chop(1);
    return writeRaw(m_indentation + QLatin1String("</") + name + QLatin1String(">\n"));
}

bool XmlWriter::writeTextElement(const QString &name, const QString &value)
{
    if (!m_pStream)
        return false;
    return writeRaw(m_indentation + QLatin1Char('<') + name + QLatin1Char('>') + escapeText(value) +
                    QLatin1String("</") + name + QLatin1String(">\n"));
}

bool XmlWriter::writeTextElement(const QString &name, qint32 value)
{
    return writeTextElement(name, QString::number(value));
}

bool XmlWriter::writeTextElement(const QString &name, quint32 value)
{
    return writeTextElement(name, QString::number(value));
}

bool XmlWriter::writeTextElement(const QString &name, float value)
{
    return writeTextElement(name, formatFloat(value));
}

bool XmlWriter::writeTextElement(const QString &name, double value)
{
    return writeTextElement(name, formatFloat(value));
}

bool XmlWriter::flush()
{
    if (!m_pStream)
        return false;
    m_pStream->flush();
    return m_pStream->status() == QTextStream::Ok;
}

QString XmlWriter::formatFloat(double value)
{
    return QString::number(value, 'g', 6);
}

QString XmlWriter::escapeText(const QString &text)
{
    QString out;
    out.reserve(text.size());
    const int count = text.size();
    for (int i = 0; i < count; ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('&') || c == QLatin1Char('<') || c == QLatin1Char('>')) {
            out += QLatin1String("&#") + QString::number(c.unicode()) + QLatin1Char(';');
        } else if (c.isHighSurrogate() && i + 1 < count && text.at(i + 1).isLowSurrogate()) {
            out += c;
            out += text.at(++i);
        } else if (c.isSurrogate() || !XmlHandler::isXmlCharacter(c.unicode())) {
            // XML has no way to hold it, and a reader would stop at it: the
            // file stays readable with the replacement character instead.
            out += QChar(QChar::ReplacementCharacter);
        } else {
            out += c;
        }
    }
    return out;
}

QString XmlWriter::escapeAttribute(const QString &text)
{
    // A bare '"' would end the attribute value and make the file unreadable.
    QString out = escapeText(text);
    out.replace(QLatin1Char('"'), QLatin1String("&#34;"));
    return out;
}

void XmlWriter::nameArchive(const QString &path)
{
    if (m_pArchive)
        m_pArchive->setArchiveName(path);
}

QString XmlWriter::addArchiveMember(const QString &path, const QString &folder)
{
    return m_pArchive ? m_pArchive->addMember(path, folder) : path;
}

bool XmlWriter::writeImageReference(const QString &name, const QString &path,
                                    const QString &folder)
{
    const QUrl url(path);
    if (url.isLocalFile() || QFileInfo(path).isAbsolute())
        addArchiveMember(path, folder);
    return writeTextElement(name, path);
}

bool XmlWriter::writeArchive()
{
    if (!m_pArchive)
        return false;
    return m_pArchive->writeAndCleanUp();
}
