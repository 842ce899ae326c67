#include "controls/WImage.h"

#include "document/io/XmlWriter.h"

#include <QUrl>

WImage::WImage(QQuickItem *parent) : WWidget(parent) {}

WImage::~WImage() = default;

QString WImage::toFileUrl(const QString &text)
{
    const QUrl url(text);
    const QString path = url.isLocalFile() ? url.toLocalFile() : text;
    return QUrl::fromLocalFile(path).toString();
}

void WImage::initWidget()
{
    setRootProperty("path", resolveImagePath(QStringLiteral("../images/default.png")));
}

bool WImage::loadAttribute(const QString &name, const QString &value)
{
    if (WWidget::loadAttribute(name, value))
        return true;
    if (!m_pRoot)
        return false;
    if (name == QLatin1String("path")) {
        // Paths read from a file arrive already redirected into its archive.
        setRootProperty("path", value);
        return true;
    }
    if (name == QLatin1String("imagesize")) {
        bool ok = false;
        const double size = value.toDouble(&ok);
        if (ok)
            setRootProperty("imageSize", size);
        return true;
    }
    return false;
}

bool WImage::writeXml(XmlWriter *writer)
{
    if (!writer || !m_pRoot)
        return false;
    writer->writeStartElement(m_typeName);
    WWidget::writeXml(writer);
    writer->writeImageReference(QStringLiteral("path"), rootProperty("path").toString(),
                                QStringLiteral("image"));
    writer->writeTextElement(QStringLiteral("imagesize"), rootProperty("imageSize").toDouble());
    writer->writeEndElement(m_typeName);
    return true;
}

bool WImage::hasProperties() const
{
    return true;
}

QWidget *WImage::createPropertiesDialog(QWidget *)
{
    return nullptr;
}

QVariant WImage::attribute(uint id) const
{
    if (id == 0x4400)
        return rootProperty("path");
    return WWidget::attribute(id);
}

void WImage::setAttribute(uint id, const QVariant &value)
{
    if (id == 0x4400) {
        // A picture the user chose is that very file, even when the open
        // archive holds another of the same name.
        setRootProperty("path", toFileUrl(value.toString()));
        return;
    }
    WWidget::setAttribute(id, value);
}
