#pragma once

#include <QByteArray>
#include <QString>

// The readers as a fuzzer or a replay drives them: each takes a file's bytes
// through the entry point the program uses and answers what went wrong that
// must never go wrong (empty when all is well). A refusal of bad input is
// not wrong; a crash, a hang or a broken promise is.
namespace FuzzEntry {
// A control panel archive, opened as the program opens one.
QString archive(const QByteArray &bytes);
// A panel file: opened; when it opens, saved, and the save must open again.
QString panelFile(const QByteArray &bytes);
// A design file, imported; a refused one leaves the document as it was.
QString designFile(const QByteArray &bytes);
// A module template: its parameters and its controls, as a drop reads them.
QString moduleTemplate(const QByteArray &bytes);

// The entry of a target by its name ("archive", "panel", "design",
// "template"); null for another name.
using Entry = QString (*)(const QByteArray &);
Entry entryFor(const QString &target);
} // namespace FuzzEntry
