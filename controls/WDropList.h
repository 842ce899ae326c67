#pragma once

#include "controls/WWidget.h"

#include <QList>
#include <QPointer>
#include <QStringList>

// Shows one entry of a list of texts and opens a popup to choose another;
// the chosen entry's integer value goes to the device.
class WDropList : public WWidget
{
    Q_OBJECT
public:
    // Where the entries came from.
    enum SourceKind
    {
        NoSource = 0,
        MessageSource = 1,
        FileSource = 2,
        NodeSource = 3,
        GroupSource = 4
    };

    explicit WDropList(QQuickItem *parent = nullptr);
    ~WDropList() override;

    bool loadAttribute(const QString &name, const QString &value) override;
    bool writeXml(XmlWriter *writer) override;
    void inputValue() override;
    bool hasProperties() const override;
    QWidget *createPropertiesDialog(QWidget *parent) override;
    QVariant attribute(uint id) const override;
    void setAttribute(uint id, const QVariant &value) override;

    int currentIndex() const { return m_currentIndex; }
    int sourceKind() const { return m_sourceKind; }
    const QList<int> &values();
    const QStringList &items();
    QObject *popup() const { return m_pPopup; }

public slots:
    void outputCurrentIndex(int index) override;
    void popupList(QObject *pObject);
    void listSelect(int index);

private:
    // The entries numbered 1, 2, 3, ...
    void setEntries(const QStringList &entries);
    // A list file is read when its entries are first needed: while a panel
    // file is being opened, its folder is not yet that of the open document.
    void readPendingFile();
    void readNode(const QString &name);
    QStringList groupNames() const;
    void closePopup();

    int m_currentIndex = -1;
    int m_sourceKind = NoSource;
    QList<int> m_values;
    QStringList m_items;
    QPointer<QObject> m_pPopup;
    QString m_pendingFile;
    // An "index" that followed the "file" keeps its values.
    bool m_indexAfterFile = false;
};
