#pragma once

#include <QString>

class QTextStream;

// The benchmark cases. Each prints its rows as it goes; folder is a scratch
// folder for the generated inputs, reps the repetitions per measurement
// (0: the case's own default).
namespace Benchmarks {
void designImport(QTextStream &out, const QString &folder, int reps);
void openAndSave(QTextStream &out, const QString &folder, int reps);
void startUp(QTextStream &out, int reps);

// What the child processes of the memory and start-up cases do; each
// answers the exit status. The start-up child makes its own application.
int openMemoryChild(const QString &side, const QString &path);
int startUpChild(const QString &side, int argc, char **argv);
} // namespace Benchmarks
