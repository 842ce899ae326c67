// Times reading and writing panel files of growing size, to show both stay
// linear in the number of controls. Run on demand: ./bench_panelfile
#include "app/AppResources.h"
#include "app/MModel.h"
#include "design/HBlock.h"
#include "design/HChassis.h"
#include "design/HRoot.h"
#include "document/CCanvas.h"
#include "document/CComposite.h"
#include "document/io/XmlWriter.h"

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QTextStream>

namespace {

QByteArray makeDocument(int controls)
{
    CCanvas canvas;
    MModel model;
    model.setCanvas(&canvas);
    model.initialize();
    auto *chassis = new HChassis();
    chassis->setLabel(QStringLiteral("Proc"));
    chassis->setIpAddress(QStringLiteral("127.0.0.1"));
    model.hardwareRoot()->addChild(chassis);
    auto *collection = model.addCollection();
    auto *panel = new CComposite();
    collection->addChild(panel);
    panel->assignKind(QStringLiteral("Panel"));
    for (int i = 0; i < controls; ++i) {
        auto *block = new HBlock();
        block->setLabel(QStringLiteral("Gain %1").arg(i));
        chassis->addChild(block);
        auto *control = new CControl();
        control->setTag(QStringLiteral("Control"));
        control->setName(QStringLiteral("Level %1").arg(i));
        control->setType(QStringLiteral("Slider"));
        control->setBlock(block);
        control->attributes().setValue(QStringLiteral("range"), QStringLiteral("index1"),
                                       QString::number(i % 8 + 1));
        control->attributes().setValue(QStringLiteral("range"), QStringLiteral("format"),
                                       QStringLiteral("nn.n"));
        panel->addChild(control);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    XmlWriter writer;
    writer.setDevice(&buffer);
    model.writeDocument(&writer);
    writer.flush();
    return bytes;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    AppResources::registerAll();
    QApplication app(argc, argv);
    QTextStream out(stdout);
    out << "controls\tbytes\twrite ms\tread ms\n";
    for (int controls : {1000, 2000, 4000, 8000, 16000}) {
        QElapsedTimer timer;
        timer.start();
        const QByteArray bytes = makeDocument(controls);
        const qint64 writeMs = timer.elapsed();

        CCanvas canvas;
        MModel model;
        model.setCanvas(&canvas);
        model.initialize();
        timer.restart();
        model.documentRoot()->loadString(QString::fromUtf8(bytes), model.hardwareRoot(), nullptr,
                                         QString());
        const qint64 readMs = timer.elapsed();
        out << controls << '\t' << bytes.size() << '\t' << writeMs << '\t' << readMs << '\n';
        out.flush();
    }
    return 0;
}
