// Generates every PNG of the program's resources and the bundle that lists
// them. Usage: zrbartwork <resources folder>
#include "ArtOutput.h"
#include "SkinImages.h"
#include "ToolIcons.h"
#include "TreeIcons.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "Usage: zrbartwork <resources folder>\n");
        return 2;
    }

    ArtOutput out(args.at(1));

    ToolIcons::makeFileIcons(out);
    ToolIcons::makeEditIcons(out);
    ToolIcons::makeStackingIcons(out);
    ToolIcons::makeAlignIcons(out);
    ToolIcons::makeDistributeIcons(out);
    ToolIcons::makeToolsIcons(out);
    ToolIcons::makeHelpIcons(out);

    TreeIcons::makeDocumentIcons(out);
    TreeIcons::makeParameterIcons(out);
    TreeIcons::makeGraphicIcons(out);
    TreeIcons::makeTabIcons(out);
    TreeIcons::makePlaceholderImage(out);

    SkinImages::makeBaseSkin(out, "Light");
    SkinImages::makeBaseSkin(out, "Dark");
    const struct {
        const char *name;
        const char *color;
    } accents[] = {{"Blue", "#1D98D5"},
                   {"Green", "#A3C13B"},
                   {"Pink", "#EF7196"},
                   {"Red", "#F06448"},
                   {"Yellow", "#E2CE25"}};
    for (const auto &accent : accents)
        SkinImages::makeAccent(out, accent.name, accent.color);

    if (out.failures() > 0 || !out.writeResourceList(QStringLiteral("images.qrc")))
        return 1;
    std::printf("%d images written\n", static_cast<int>(out.written().size()));
    return 0;
}
