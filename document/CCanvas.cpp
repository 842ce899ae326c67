#include "document/CCanvas.h"

#include "document/CCanvasObserver.h"
#include "document/USettings.h"
#include "document/io/XmlWriter.h"

#include <QFile>
#include <QScreen>
#include <QTextStream>
#include <QtMath>

CCanvas::CCanvas() = default;

CCanvas::~CCanvas() = default;

void CCanvas::applyDefaults()
{
    m_size = 6.0f;
    m_aspect = 1.7777778f;
    m_orientation = 1;
    m_horizcenter = false;
    m_device.clear();
}

void CCanvas::resetForReading()
{
    applyDefaults();
}

void CCanvas::reset()
{
    applyDefaults();
    // An absent key keeps its default: a first start has no settings and must
    // not get a 0-inch canvas.
    USettings settings;
    bool ok = false;
    const float size = settings.value(QStringLiteral("Canvas/size")).toFloat(&ok);
    if (ok && size > 0)
        m_size = size;
    const float aspect = settings.value(QStringLiteral("Canvas/aspect")).toFloat(&ok);
    if (ok && aspect > 0)
        m_aspect = aspect;
    const uint orientation = settings.value(QStringLiteral("Canvas/orientation")).toUInt(&ok);
    if (ok)
        m_orientation = int(orientation);
    if (settings.contains(QStringLiteral("Canvas/device")))
        m_device = settings.value(QStringLiteral("Canvas/device")).toString();
    if (m_pObserver)
        m_pObserver->canvasReset();
    computePixelSize();
}

void CCanvas::storeSettings() const
{
    USettings settings;
    settings.setValue(QStringLiteral("Canvas/size"), m_size);
    settings.setValue(QStringLiteral("Canvas/aspect"), m_aspect);
    settings.setValue(QStringLiteral("Canvas/orientation"), uint(m_orientation));
    settings.setValue(QStringLiteral("Canvas/device"), m_device);
}

QString CCanvas::validatedSkin(const QString &name, const QString &current)
{
    QFile file(QStringLiteral(":/skins/SkinList.txt"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return current;
    QTextStream in(&file);
    in.setCodec("UTF-8");
    QStringList skins;
    while (!in.atEnd())
        skins << in.readLine();
    if (skins.contains(name))
        return name;
    return skins.isEmpty() ? current : skins.first();
}

void CCanvas::setValue(const QString &key, const QString &text)
{
    bool ok = false;
    if (key == QLatin1String("size")) {
        const float value = text.toFloat(&ok);
        m_size = ok ? value : 0.0f;
    } else if (key == QLatin1String("device")) {
        m_device = text;
        m_skin = validatedSkin(QStringLiteral("Light"), m_skin);
        m_accent = QStringLiteral("Blue");
    } else if (key == QLatin1String("skin")) {
        m_skin = validatedSkin(text, m_skin);
    } else if (key == QLatin1String("accent")) {
        m_accent = text;
    } else if (key == QLatin1String("aspect")) {
        const float value = text.toFloat(&ok);
        m_aspect = ok ? value : 0.0f;
    } else if (key == QLatin1String("orientation")) {
        const int value = text.toInt(&ok);
        m_orientation = ok ? value : 0;
    } else if (key == QLatin1String("text")) {
        m_text = text;
    } else if (key == QLatin1String("horizcenter")) {
        const int value = text.toInt(&ok);
        m_horizcenter = ok && value != 0;
    } else if (key == QLatin1String("topRow")) {
        setRow("topRow", text);
    } else if (key == QLatin1String("bottomRow")) {
        setRow("bottomRow", text);
    }
}

void CCanvas::copyDocumentValues(const CCanvas &other)
{
    m_device = other.m_device;
    m_size = other.m_size;
    m_aspect = other.m_aspect;
    m_orientation = other.m_orientation;
    m_horizcenter = other.m_horizcenter;
    m_skin = other.m_skin;
    m_accent = other.m_accent;
    m_text = other.m_text;
    setRow("topRow", other.topRow());
    setRow("bottomRow", other.bottomRow());
}

void CCanvas::takeDocumentValues(const CCanvas &other)
{
    // Rebuilding the rows costs more than anything else after the read: the
    // ones shown stay when the document names the same rows and skin.
    const bool sameLook = m_skin == other.m_skin && m_accent == other.m_accent &&
                          topRow() == other.topRow() && bottomRow() == other.bottomRow();
    copyDocumentValues(other);
    computePixelSize();
    if (m_pObserver && !sameLook)
        m_pObserver->canvasSkinChanged(m_skin, m_accent);
}

void CCanvas::setRow(const char *name, const QString &value)
{
    if (qstrcmp(name, "topRow") == 0)
        m_topRow = value;
    else
        m_bottomRow = value;
    if (m_pScene)
        m_pScene->setProperty(name, value);
}

QString CCanvas::topRow() const
{
    return m_pScene ? m_pScene->property("topRow").toString() : m_topRow;
}

QString CCanvas::bottomRow() const
{
    return m_pScene ? m_pScene->property("bottomRow").toString() : m_bottomRow;
}

void CCanvas::endValue(const QString &key)
{
    if (key != QLatin1String("orientation"))
        return;
    if (m_pObserver)
        m_pObserver->canvasSkinChanged(m_skin, m_accent);
    computePixelSize();
}

bool CCanvas::write(XmlWriter *writer) const
{
    if (!writer)
        return false;
    writer->writeStartElement(QStringLiteral("Canvas"));
    writer->writeStartElement(QStringLiteral("Property"), QStringLiteral("attributes"));
    writer->writeTextElement(QStringLiteral("device"), m_device);
    writer->writeTextElement(QStringLiteral("skin"), m_skin);
    writer->writeTextElement(QStringLiteral("accent"), m_accent);
    writer->writeTextElement(QStringLiteral("size"), m_size);
    writer->writeTextElement(QStringLiteral("aspect"), m_aspect);
    writer->writeTextElement(QStringLiteral("topRow"), topRow());
    writer->writeTextElement(QStringLiteral("bottomRow"), bottomRow());
    writer->writeTextElement(QStringLiteral("orientation"), qint32(m_orientation));
    writer->writeTextElement(QStringLiteral("text"), m_text);
    writer->writeTextElement(QStringLiteral("horizcenter"), qint32(m_horizcenter ? 1 : 0));
    writer->writeEndElement(QStringLiteral("Property"));
    writer->writeEndElement(QStringLiteral("Canvas"));
    return true;
}

bool CCanvas::attachView(QWindow *view)
{
    if (!view)
        return false;
    m_pView = view;
    computePixelSize();
    return true;
}

float CCanvas::dpi() const
{
    if (m_dpiOverride >= 0)
        return m_dpiOverride;
    if (!m_pView)
        return 0.0f;
    QScreen *screen = m_pView->screen();
    return screen ? float(screen->logicalDotsPerInch()) : 72.0f;
}

void CCanvas::computePixelSize()
{
    const float dotsPerInch = dpi();
    const float shortSide = std::sqrt(m_size * m_size / (m_aspect * m_aspect + 1.0f)) * dotsPerInch;
    const float longSide = m_aspect * shortSide;
    const int shortPixels = qIsFinite(shortSide) ? int(shortSide) : 0;
    const int longPixels = qIsFinite(longSide) ? int(longSide) : 0;
    if (m_orientation == 1) {
        m_width = shortPixels;
        m_height = longPixels;
    } else {
        m_width = longPixels;
        m_height = shortPixels;
    }
}
