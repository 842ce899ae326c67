#include "commands/BClipboard.h"

#include "document/CControl.h"
#include "document/io/XmlWriter.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QTextCodec>

namespace BClipboard {

const char *const ControlFormat = "application/control";

QClipboard *clipboard()
{
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return nullptr;
    return QGuiApplication::clipboard();
}

const QMimeData *data()
{
    QClipboard *board = clipboard();
    return board ? board->mimeData() : nullptr;
}

bool write(const QList<CControl *> &controls, QByteArray &xml)
{
    xml.clear();
    XmlWriter writer;
    writer.setByteArray(&xml);
    writer.setEncodingMode(XmlWriter::Utf16);
    bool ok = writer.writeDeclaration() && writer.writeStartElement(QStringLiteral("ZDX")) &&
              writer.writeStartElement(QStringLiteral("Controls"));
    for (CControl *control : controls)
        ok = ok && control->write(&writer);
    ok = ok && writer.writeEndElement(QStringLiteral("Controls")) &&
         writer.writeEndElement(QStringLiteral("ZDX")) && writer.flush();
    return ok;
}

static QString decoded(const QByteArray &bytes)
{
    // The byte-order mark says UTF-16; without one the bytes are UTF-8.
    QString text = QTextCodec::codecForUtfText(bytes, QTextCodec::codecForName("UTF-8"))
                       ->toUnicode(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

void put(const QByteArray &xml)
{
    QClipboard *board = clipboard();
    if (!board)
        return;
    auto *mime = new QMimeData();
    mime->setData(QLatin1String(ControlFormat), xml);
    mime->setText(decoded(xml));
    board->setMimeData(mime);
}

QString text(const QMimeData *data)
{
    if (!data)
        return QString();
    if (data->hasFormat(QLatin1String(ControlFormat)))
        return decoded(data->data(QLatin1String(ControlFormat)));
    return data->hasText() ? data->text() : QString();
}

bool offersControls(const QMimeData *data)
{
    if (!data)
        return false;
    if (data->hasFormat(QLatin1String(ControlFormat)))
        return true;
    const QString text = data->hasText() ? data->text() : QString();
    return text.contains(QLatin1String("<ZDX")) && text.contains(QLatin1String("<Controls"));
}

} // namespace BClipboard
