#pragma once

#include <QByteArray>
#include <QString>

// Writes design files of a given size for the import benchmark: processors
// with their cards and blocks, then groups and parameter sets, most of them
// assigned. The shape is that of a large real site: about one processor per
// fifty nodes, a tenth of the nodes groups and parameter sets.
namespace DesignGenerator {
QByteArray generate(int nodes);
// Answers whether the file was written.
bool write(const QString &path, int nodes);
} // namespace DesignGenerator
