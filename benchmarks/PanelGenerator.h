#pragma once

#include <QString>

// Writes the reference panel documents of the open and save benchmarks: a
// number of collections of panels, each panel with its own picture, a
// bounds outline, frames and labels (a few of them bold), packed into an
// archive by the program's own save.
namespace PanelGenerator {

struct Shape
{
    int collections = 6;
    int panels = 6;
    int controlsPerPanel = 30;
    int controls() const { return collections * panels * controlsPerPanel; }
    int images() const { return collections * panels; }
};

// Writes the panel file, its pictures and the archive into folder; answers
// the archive's path, empty on failure.
QString write(const QString &folder, const Shape &shape);

} // namespace PanelGenerator
