#include "document/UDocumentReport.h"

#include "design/HChassis.h"
#include "design/HRoot.h"
#include "document/CCanvas.h"
#include "document/CComposite.h"
#include "document/CDocument.h"
#include "document/MProject.h"
#include "document/io/XmlWriter.h"

#include <QJsonArray>

#include <cmath>
#include <QJsonDocument>

namespace {

// Floats as the panel file writes them (6 significant digits), so the report
// shows 1.77778 and not the binary expansion of the float.
double fileFloat(float value)
{
    return XmlWriter::formatFloat(value).toDouble();
}

QJsonObject canvasJson(const CCanvas *canvas)
{
    QJsonObject object;
    if (!canvas)
        return object;
    object.insert(QStringLiteral("device"), canvas->device());
    object.insert(QStringLiteral("skin"), canvas->skin());
    object.insert(QStringLiteral("accent"), canvas->accent());
    object.insert(QStringLiteral("size"), fileFloat(canvas->size()));
    object.insert(QStringLiteral("aspect"), fileFloat(canvas->aspect()));
    object.insert(QStringLiteral("topRow"), canvas->topRow());
    object.insert(QStringLiteral("bottomRow"), canvas->bottomRow());
    object.insert(QStringLiteral("orientation"), canvas->orientation());
    object.insert(QStringLiteral("text"), canvas->text());
    object.insert(QStringLiteral("horizcenter"), canvas->horizcenter() ? 1 : 0);
    return object;
}

const QList<QPair<QString, QStringList>> &projectGroups()
{
    static const QList<QPair<QString, QStringList>> groups = {
        {QStringLiteral("Facility"), {QStringLiteral("name")}},
        {QStringLiteral("BusinessManeger"),
         {QStringLiteral("name"), QStringLiteral("email"), QStringLiteral("tel")}},
        {QStringLiteral("Engineer"),
         {QStringLiteral("name"), QStringLiteral("email"), QStringLiteral("tel")}},
        {QStringLiteral("Customer"),
         {QStringLiteral("name"), QStringLiteral("address"), QStringLiteral("email"),
          QStringLiteral("tel")}},
        {QStringLiteral("Comments"),
         {QStringLiteral("comment1"), QStringLiteral("comment2"), QStringLiteral("comment3"),
          QStringLiteral("comment4"), QStringLiteral("comment5"), QStringLiteral("comment6")}},
    };
    return groups;
}

QJsonObject projectJson(const MProject *project)
{
    QJsonObject object;
    if (!project)
        return object;
    for (const auto &group : projectGroups()) {
        QJsonObject keys;
        for (const QString &key : group.second)
            keys.insert(key, project->value(group.first, key));
        object.insert(group.first, keys);
    }
    return object;
}

// The chassis whose connection a save would record, once per address.
QList<HChassis *> usedConnections(CDocument *document)
{
    QList<HChassis *> result;
    HRoot *hardware = document->hardware();
    hardware->clearConnectionUse();
    document->root()->markHardware();
    QStringList addresses;
    for (HNode *node : hardware->children()) {
        auto *chassis = dynamic_cast<HChassis *>(node);
        if (!chassis || !chassis->hasFlag(HNode::ConnectionInUse) ||
            addresses.contains(chassis->ipAddress()))
            continue;
        addresses << chassis->ipAddress();
        result << chassis;
    }
    return result;
}

QJsonObject attributesJson(const CAttributes &a)
{
    QJsonObject object;
    object.insert(QStringLiteral("kind"), a.kind());
    object.insert(QStringLiteral("index1"), a.index1());
    object.insert(QStringLiteral("index2"), a.index2());
    object.insert(QStringLiteral("link"), double(a.link()));
    object.insert(QStringLiteral("set"), a.set());
    object.insert(QStringLiteral("format"), a.format());
    object.insert(QStringLiteral("transform"), a.transform());
    object.insert(QStringLiteral("units"), a.units());
    object.insert(QStringLiteral("minimum"), fileFloat(a.minimum()));
    object.insert(QStringLiteral("minLimit"), fileFloat(a.minLimit()));
    object.insert(QStringLiteral("maximum"), fileFloat(a.maximum()));
    object.insert(QStringLiteral("maxLimit"), fileFloat(a.maxLimit()));
    object.insert(QStringLiteral("step"), fileFloat(a.step()));
    object.insert(QStringLiteral("field"), double(a.field()));
    object.insert(QStringLiteral("struct"), double(a.structNumber()));
    object.insert(QStringLiteral("channelLabel"), a.channelLabel());
    object.insert(QStringLiteral("enableEdit"), a.enableEdit() ? 1 : 0);
    return object;
}

// An item's values as name → value (a list where a name repeats).
QJsonObject itemValues(const CItemRecord &record)
{
    QJsonObject values;
    for (const CItemRecord::Value &value : record.values()) {
        if (!values.contains(value.name)) {
            values.insert(value.name, value.text);
            continue;
        }
        const QJsonValue existing = values.value(value.name);
        QJsonArray list = existing.isArray() ? existing.toArray() : QJsonArray{existing};
        list.append(value.text);
        values.insert(value.name, list);
    }
    return values;
}

QJsonObject controlJson(CControl *control)
{
    QJsonObject object;
    object.insert(QStringLiteral("name"), control->name());
    object.insert(QStringLiteral("type"), control->type());
    object.insert(QStringLiteral("id"), double(control->id()));
    object.insert(QStringLiteral("block"),
                  control->block() ? QJsonValue(control->block()->label()) : QJsonValue());
    object.insert(QStringLiteral("connection"),
                  control->block() ? QJsonValue(control->block()->chassisLabel()) : QJsonValue());
    object.insert(QStringLiteral("attributes"), control->attributes().kind().isEmpty()
                                                    ? QJsonValue()
                                                    : QJsonValue(attributesJson(control->attributes())));
    QJsonArray items;
    for (const CItemRecord &record : control->itemRecords()) {
        const QRectF geometry = record.geometry();
        QJsonObject entry;
        entry.insert(QStringLiteral("type"), record.type());
        entry.insert(QStringLiteral("x"), geometry.x());
        entry.insert(QStringLiteral("y"), geometry.y());
        entry.insert(QStringLiteral("width"), geometry.width());
        entry.insert(QStringLiteral("height"), geometry.height());
        entry.insert(QStringLiteral("values"), itemValues(record));
        items.append(entry);
    }
    object.insert(QStringLiteral("items"), items);
    return object;
}

} // namespace

QJsonObject UDocumentReport::toJson(CDocument *document)
{
    QJsonObject report;
    if (!document)
        return report;
    // Live items hold the latest values; the records hear of them first.
    document->root()->storeItems();
    report.insert(QStringLiteral("canvas"), canvasJson(document->canvas()));
    report.insert(QStringLiteral("project"), projectJson(document->project()));
    QJsonArray connections;
    for (HChassis *chassis : usedConnections(document)) {
        QJsonObject connection;
        connection.insert(QStringLiteral("name"), chassis->label());
        connection.insert(QStringLiteral("title"), chassis->title());
        connection.insert(QStringLiteral("ipaddress"), chassis->ipAddress());
        connection.insert(QStringLiteral("ipport"), chassis->ipPort());
        connection.insert(QStringLiteral("monitorport"), chassis->monitorPort());
        connection.insert(QStringLiteral("serialport"), chassis->serialPortNumber());
        connection.insert(QStringLiteral("platform"), chassis->platform());
        connections.append(connection);
    }
    report.insert(QStringLiteral("connections"), connections);
    QJsonArray collections;
    CComposite *root = document->root();
    for (int c = 0; root && c < root->childCount(); ++c) {
        auto *collection = dynamic_cast<CComposite *>(root->childAt(c));
        if (!collection)
            continue;
        QJsonArray panels;
        for (int p = 0; p < collection->childCount(); ++p) {
            auto *panel = dynamic_cast<CComposite *>(collection->childAt(p));
            if (!panel)
                continue;
            QJsonArray controls;
            for (CControl *control : panel->children())
                controls.append(controlJson(control));
            QJsonObject panelObject;
            panelObject.insert(QStringLiteral("name"), panel->name());
            panelObject.insert(QStringLiteral("kind"), panel->panelKindText());
            panelObject.insert(QStringLiteral("title"), panel->titleText());
            panelObject.insert(QStringLiteral("controls"), controls);
            panels.append(panelObject);
        }
        QJsonObject collectionObject;
        collectionObject.insert(QStringLiteral("name"), collection->name());
        collectionObject.insert(QStringLiteral("panels"), panels);
        collections.append(collectionObject);
    }
    report.insert(QStringLiteral("collections"), collections);
    return report;
}

namespace {
QString scalar(const QJsonValue &value)
{
    if (value.isNull())
        return QStringLiteral("-");
    if (value.isDouble()) {
        const double number = value.toDouble();
        // Whole numbers as integers, where an integer can hold them.
        if (std::abs(number) < 1e15 && number == std::trunc(number))
            return QString::number(qint64(number));
        return XmlWriter::formatFloat(number);
    }
    if (value.isArray()) {
        QStringList parts;
        for (const QJsonValue &entry : value.toArray())
            parts << scalar(entry);
        return parts.join(QStringLiteral(", "));
    }
    return value.toString();
}

void appendFields(QString &out, const QJsonObject &object, const QString &indent)
{
    for (auto it = object.begin(); it != object.end(); ++it)
        out += indent + it.key() + QStringLiteral(": ") + scalar(it.value()) + QLatin1Char('\n');
}
} // namespace

QString UDocumentReport::toText(CDocument *document)
{
    const QJsonObject report = toJson(document);
    QString out;
    out += QStringLiteral("Canvas\n");
    appendFields(out, report.value(QStringLiteral("canvas")).toObject(), QStringLiteral("  "));
    out += QStringLiteral("Project\n");
    const QJsonObject project = report.value(QStringLiteral("project")).toObject();
    for (const auto &group : projectGroups()) {
        out += QStringLiteral("  ") + group.first + QLatin1Char('\n');
        appendFields(out, project.value(group.first).toObject(), QStringLiteral("    "));
    }
    out += QStringLiteral("Connections\n");
    for (const QJsonValue &connection : report.value(QStringLiteral("connections")).toArray()) {
        const QJsonObject object = connection.toObject();
        out += QStringLiteral("  ") + object.value(QStringLiteral("name")).toString() +
               QLatin1Char('\n');
        appendFields(out, object, QStringLiteral("    "));
    }
    for (const QJsonValue &collectionValue : report.value(QStringLiteral("collections")).toArray()) {
        const QJsonObject collection = collectionValue.toObject();
        out += QStringLiteral("Collection ") + collection.value(QStringLiteral("name")).toString() +
               QLatin1Char('\n');
        for (const QJsonValue &panelValue : collection.value(QStringLiteral("panels")).toArray()) {
            const QJsonObject panel = panelValue.toObject();
            out += QStringLiteral("  Panel ") + panel.value(QStringLiteral("name")).toString() +
                   QStringLiteral(" (") + panel.value(QStringLiteral("kind")).toString() +
                   QStringLiteral(")");
            const QString title = panel.value(QStringLiteral("title")).toString();
            if (!title.isEmpty())
                out += QStringLiteral(" title ") + title;
            out += QLatin1Char('\n');
            for (const QJsonValue &controlValue : panel.value(QStringLiteral("controls")).toArray()) {
                const QJsonObject control = controlValue.toObject();
                out += QStringLiteral("    Control ") + control.value(QStringLiteral("name")).toString() +
                       QStringLiteral(" [") + control.value(QStringLiteral("type")).toString() +
                       QStringLiteral("] id ") + scalar(control.value(QStringLiteral("id"))) +
                       QStringLiteral(" block ") + scalar(control.value(QStringLiteral("block"))) +
                       QStringLiteral(" connection ") +
                       scalar(control.value(QStringLiteral("connection"))) + QLatin1Char('\n');
                const QJsonValue attributes = control.value(QStringLiteral("attributes"));
                if (attributes.isObject()) {
                    out += QStringLiteral("      attributes\n");
                    appendFields(out, attributes.toObject(), QStringLiteral("        "));
                }
                for (const QJsonValue &itemValue : control.value(QStringLiteral("items")).toArray()) {
                    const QJsonObject item = itemValue.toObject();
                    out += QStringLiteral("      item ") + item.value(QStringLiteral("type")).toString() +
                           QStringLiteral(" at ") + scalar(item.value(QStringLiteral("x"))) +
                           QLatin1Char(',') + scalar(item.value(QStringLiteral("y"))) +
                           QStringLiteral(" size ") + scalar(item.value(QStringLiteral("width"))) +
                           QLatin1Char('x') + scalar(item.value(QStringLiteral("height"))) +
                           QLatin1Char('\n');
                    appendFields(out, item.value(QStringLiteral("values")).toObject(),
                                 QStringLiteral("        "));
                }
            }
        }
    }
    return out;
}
