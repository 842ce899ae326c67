#include "PanelGenerator.h"

#include "document/CCanvas.h"
#include "document/CDocument.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTextStream>
#include <QUrl>

namespace PanelGenerator {

namespace {

const int PanelWidth = 300;
const int PanelHeight = 340;

QString picture(const QString &folder, int index)
{
    const QString path = folder + QStringLiteral("/pictures/picture-%1.png").arg(index);
    QImage image(96, 64, QImage::Format_RGB32);
    image.fill(QColor::fromHsv((index * 37) % 360, 160, 220));
    for (int y = 0; y < image.height(); y += 8)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(index % 256, x * 2, y * 3));
    return image.save(path) ? path : QString();
}

void value(QTextStream &out, const char *name, const QString &text)
{
    out << "\t\t\t\t\t\t\t\t\t<" << name << '>' << text << "</" << name << ">\n";
}

void geometry(QTextStream &out, int x, int y, int width, int height)
{
    value(out, "x", QString::number(x));
    value(out, "y", QString::number(y));
    value(out, "width", QString::number(width));
    value(out, "height", QString::number(height));
    value(out, "xfract", QStringLiteral("0"));
    value(out, "yfract", QStringLiteral("0"));
    value(out, "widthfract", QStringLiteral("1"));
    value(out, "heightfract", QStringLiteral("1"));
}

void control(QTextStream &out, const QString &name, const char *type, quint32 id)
{
    out << "\t\t\t\t\t\t<Control name=\"" << name << "\" type=\"" << type << "\">\n"
        << "\t\t\t\t\t\t\t<id>" << id << "</id>\n"
        << "\t\t\t\t\t\t\t<Property name=\"widget\">\n";
}

void endControl(QTextStream &out)
{
    out << "\t\t\t\t\t\t\t</Property>\n"
        << "\t\t\t\t\t\t\t<Property name=\"attributes\">\n\t\t\t\t\t\t\t</Property>\n"
        << "\t\t\t\t\t\t</Control>\n";
}

void frame(QTextStream &out, const char *itemType, int x, int y, int width, int height,
           const QString &fill)
{
    out << "\t\t\t\t\t\t\t\t<" << itemType << ">\n";
    value(out, "x", QString::number(x));
    value(out, "y", QString::number(y));
    value(out, "width", QString::number(width));
    value(out, "height", QString::number(height));
    value(out, "shape", QStringLiteral("box"));
    value(out, "shadow", QStringLiteral("plain"));
    value(out, "fieldcolor", fill);
    value(out, "bordercolor", QStringLiteral("#ff404040"));
    value(out, "borderwidth", QStringLiteral("0.5"));
    value(out, "hasBorder", QStringLiteral("1"));
    out << "\t\t\t\t\t\t\t\t</" << itemType << ">\n";
}

// One panel: the outline, the picture, then frames and labels in a grid.
void panel(QTextStream &out, const Shape &shape, const QString &picturePath, int panelIndex,
           quint32 &id)
{
    control(out, QStringLiteral("Bounds"), "Frame", id++);
    frame(out, "bounds", 0, 0, PanelWidth, PanelHeight, QStringLiteral("#00ffffff"));
    endControl(out);

    control(out, QStringLiteral("Picture"), "Image", id++);
    out << "\t\t\t\t\t\t\t\t<image>\n";
    geometry(out, 200, 10, 90, 60);
    value(out, "path", QUrl::fromLocalFile(picturePath).toString());
    value(out, "imagesize", QStringLiteral("1"));
    out << "\t\t\t\t\t\t\t\t</image>\n";
    endControl(out);

    for (int i = 2; i < shape.controlsPerPanel; ++i) {
        const int column = i % 4;
        const int row = i / 4;
        const int x = 8 + column * 72;
        const int y = 80 + (row * 24) % (PanelHeight - 100);
        if (i % 3 == 0) {
            control(out, QStringLiteral("Frame %1").arg(i), "Frame", id++);
            frame(out, "frame", x, y, 68, 22,
                  QColor::fromHsv((panelIndex * 11 + i * 5) % 360, 40, 250).name(QColor::HexArgb));
            endControl(out);
            continue;
        }
        control(out, QStringLiteral("Label %1").arg(i), "Label", id++);
        out << "\t\t\t\t\t\t\t\t<label>\n";
        geometry(out, x, y, 68, 20);
        value(out, "text", QStringLiteral("Zone %1 level").arg(panelIndex * 100 + i));
        value(out, "align", i % 2 ? QStringLiteral("left") : QStringLiteral("center"));
        value(out, "color", QStringLiteral("#ff202020"));
        // A few labels carry markup, as titles do.
        if (i % 5 == 1)
            value(out, "face", QStringLiteral("bold"));
        out << "\t\t\t\t\t\t\t\t</label>\n";
        endControl(out);
    }
}

} // namespace

QString write(const QString &folder, const Shape &shape)
{
    if (!QDir().mkpath(folder + QStringLiteral("/pictures")))
        return QString();
    const QString panelPath = folder + QStringLiteral("/reference.cpf");
    {
        QFile file(panelPath);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return QString();
        QTextStream out(&file);
        out.setCodec("UTF-8");
        out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ZDX>\n"
            << "\t<Version>\n\t\t<appVersion>2.0.3.8</appVersion>\n"
            << "\t\t<fileVersion>2.0</fileVersion>\n\t</Version>\n"
            << "\t<Connections>\n\t</Connections>\n\t<Scenes>\n";
        quint32 id = 100;
        int panelIndex = 0;
        for (int c = 0; c < shape.collections; ++c) {
            out << "\t\t<Scene name=\"Collection " << c + 1 << "\">\n\t\t\t<Panels>\n";
            for (int p = 0; p < shape.panels; ++p, ++panelIndex) {
                const QString picturePath = picture(folder, panelIndex);
                if (picturePath.isEmpty())
                    return QString();
                out << "\t\t\t\t<Panel name=\"Panel " << p + 1
                    << "\" type=\"complete\">\n\t\t\t\t\t<Controls>\n";
                panel(out, shape, picturePath, panelIndex, id);
                out << "\t\t\t\t\t</Controls>\n\t\t\t\t</Panel>\n";
            }
            out << "\t\t\t</Panels>\n\t\t</Scene>\n";
        }
        out << "\t</Scenes>\n</ZDX>\n";
        out.flush();
        if (out.status() != QTextStream::Ok)
            return QString();
    }
    // The program's own save packs the pictures into the archive.
    CCanvas canvas;
    CDocument document;
    document.setCanvas(&canvas);
    const QString archivePath = folder + QStringLiteral("/reference.cpz");
    if (!document.open(panelPath) || !document.save(archivePath))
        return QString();
    return archivePath;
}

} // namespace PanelGenerator
