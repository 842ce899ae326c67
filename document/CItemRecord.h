#pragma once

#include <QPointer>
#include <QRectF>
#include <QString>
#include <QVector>

class CItem;
class XmlWriter;

// The values of one item of a control as the panel file holds them: the
// item's type and its named values in written order. The document keeps this
// whether or not a live item shows it, so a value is never lost because its
// item could not be built.
class CItemRecord
{
public:
    struct Value {
        QString name;
        QString text;
        // Not empty for a path that names an image travelling in the archive.
        QString archiveFolder;
    };

    CItemRecord() = default;
    explicit CItemRecord(const QString &type) : m_type(type) {}
    void reserve(int values) { m_values.reserve(values); }

    QString type() const { return m_type; }
    void setType(const QString &type) { m_type = type; }
    const QVector<Value> &values() const { return m_values; }
    void append(const QString &name, const QString &text, const QString &archiveFolder = QString());
    void clearValues() { m_values.clear(); }
    // The type and values of another record; the live item stays.
    void takeValues(const CItemRecord &other)
    {
        m_type = other.m_type;
        m_values = other.m_values;
    }
    // The first value of that name; empty when there is none.
    QString value(const QString &name) const;
    bool hasValue(const QString &name) const;
    // x, y, width and height as written; zero where a value is missing or
    // not a finite number, and within MaxCoordinate.
    QRectF geometry() const;
    // No canvas is larger; a file claiming more is damaged.
    static constexpr double MaxCoordinate = 1e6;
    // A coordinate read from a file as a usable number: false for text that
    // is no number or not finite; clamped to MaxCoordinate.
    static bool parseCoordinate(const QString &text, double *value);

    // Writes the item element: the type, then each value in order.
    bool write(XmlWriter *writer) const;

    // The live item showing this record, while it exists.
    CItem *live() const { return m_pLiveObject ? m_pLive : nullptr; }
    void setLive(CItem *item, QObject *object);
    // Set when building a live item failed, so it is not tried again.
    bool liveFailed() const { return m_liveFailed; }
    void setLiveFailed(bool failed) { m_liveFailed = failed; }

    // Values of these names hold image paths that travel in the archive's
    // folder "image".
    static bool isImageReference(const QString &type, const QString &name);
    static QString imageFolder() { return QStringLiteral("image"); }

private:
    QString m_type;
    QVector<Value> m_values;
    CItem *m_pLive = nullptr;
    QPointer<QObject> m_pLiveObject;
    bool m_liveFailed = false;
};
