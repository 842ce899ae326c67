#pragma once

#include <QStringList>

class QTextStream;

// The command-line companion: describes and converts panel files and
// describes designs, through the same load and save paths as the program.
class UTool
{
public:
    enum ExitStatus { Success = 0, Failure = 1, UsageError = 2 };

    // arguments excludes the program name.
    static int run(const QStringList &arguments, QTextStream &out, QTextStream &err);
    static QString usage();

private:
    static int info(const QStringList &arguments, QTextStream &out, QTextStream &err);
    static int convert(const QStringList &arguments, QTextStream &out, QTextStream &err);
    static int design(const QStringList &arguments, QTextStream &out, QTextStream &err);
    static int emulate(const QStringList &arguments, QTextStream &out, QTextStream &err);
};
