#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

class CControl;
class QClipboard;
class QMimeData;

// Controls on the system clipboard: the panel XML as "application/control"
// data and as text too, so that another document, another running instance
// or a program that keeps only text can hand them back.
namespace BClipboard {
extern const char *const ControlFormat;

// Null outside a GUI application (zrbtool has no clipboard).
QClipboard *clipboard();
const QMimeData *data();
// The controls in the clipboard form; false when one could not be written.
bool write(const QList<CControl *> &controls, QByteArray &xml);
// Replaces the clipboard's content with the controls' XML.
void put(const QByteArray &xml);
// The XML the data offers: the control format, else its text; empty when
// it holds neither.
QString text(const QMimeData *data);
// Whether the data offers controls: the control format, or text holding a
// panel control list.
bool offersControls(const QMimeData *data);
} // namespace BClipboard
