#include "commands/BLayoutSpaceCommand.h"

#include "commands/BCommandFactory.h"
#include "document/CControl.h"

#include <QCoreApplication>

#include <algorithm>

namespace {

double centre(const CControl *control, bool across)
{
    const QRectF b = control->bounds();
    return across ? b.x() + 0.5 * b.width() : b.y() + 0.5 * b.height();
}

void distribute(QList<CControl *> controls, bool across)
{
    const int count = controls.size();
    if (count < 3)
        return;
    // Stable: controls with equal centres keep their selection order.
    std::stable_sort(controls.begin(), controls.end(), [across](CControl *a, CControl *b) {
        return centre(a, across) < centre(b, across);
    });
    const float span = float(centre(controls.last(), across) - centre(controls.first(), across));
    const float step = span / float(count - 1);
    float position = float(centre(controls.first(), across));
    for (int i = 1; i < count - 1; ++i) {
        position = position + step;
        const double d = double(position) - centre(controls.at(i), across);
        controls.at(i)->moveBy(across ? d : 0.0, across ? 0.0 : d);
    }
}

} // namespace

void BLayoutSpaceAcrossCommand::arrange()
{
    distribute(selection(), true);
}

QString BLayoutSpaceAcrossCommand::text() const
{
    return QCoreApplication::translate("BAlignCommand", "Distribute Horizontally");
}

int BLayoutSpaceAcrossCommand::id() const
{
    return BCommandFactory::LayoutSpaceAcross;
}

void BLayoutSpaceDownCommand::arrange()
{
    distribute(selection(), false);
}

QString BLayoutSpaceDownCommand::text() const
{
    return QCoreApplication::translate("BAlignCommand", "Distribute Vertically");
}

int BLayoutSpaceDownCommand::id() const
{
    return BCommandFactory::LayoutSpaceDown;
}
