#pragma once

#include <QString>
#include <QStringList>

class HNode;
class HRoot;
class QStandardItem;
class QStandardItemModel;
class QXmlStreamAttributes;

// Helpers shared by the design tests: design-file text, property elements and
// a readable listing of the project-tree rows.
namespace DesignTestUtil {

// Attributes of a design Property element.
QXmlStreamAttributes attrs(const QString &name, const QString &value);

// A node element of a design file: className gets the designer's prefix.
QString node(const QString &className, const QStringList &properties,
             const QString &cardType = QString(), const QString &typeNumber = QStringLiteral("0"));
QString prop(const QString &name, const QString &value);
QString chassis(const QString &label, const QString &title, bool main,
                const QString &deviceType = QStringLiteral("Torva800"),
                const QString &address = QStringLiteral("192.168.1.10"));
QString group(const QString &id, const QString &label, const QString &type);
QString parameterSet(const QString &id, const QString &label, const QString &index);
// A whole project file of the given version (none: no version attribute).
QString design(const QString &version, const QString &nodes, const QString &groups = QString(),
               const QString &sets = QString(), const QString &assignments = QString(),
               const QString &info = QString());

// One line per row, indented by two blanks per level; with details the drag
// kind ("control", "panel") follows the text after " #".
QString rowListing(const QStandardItemModel &model, bool details = false);
// One line per node: labels indented by level.
QString nodeListing(const HNode *node);
// The node a row stores, null when none.
HNode *rowNode(const QStandardItem *row);

} // namespace DesignTestUtil
