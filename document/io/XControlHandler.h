#pragma once

#include "document/CLoadContext.h"
#include "document/io/XmlHandler.h"

#include <QHash>

QT_WARNING_PUSH
QT_WARNING_DISABLE_DEPRECATED

class CComposite;
class CControl;
class HNode;

// Builds the document tree from panel-file XML. Saved files, templates,
// clipboard texts and the built-in control templates all read alike.
class XControlHandler : public XmlHandler
{
public:
    XControlHandler(CComposite *target, const CLoadContext &context);
    ~XControlHandler() override;

    bool startDocument() override;
    bool startElement(const QString &namespaceURI, const QString &localName, const QString &qName,
                      const QXmlAttributes &attributes) override;
    bool endElement(const QString &namespaceURI, const QString &localName,
                    const QString &qName) override;
    bool characters(const QString &text) override;

private:
    // Character data arrives in pieces; it is handled once per element.
    void flushText();
    // The text with white space trimmed and runs of it made one blank.
    static QString simplified(const QString &text);
    void handleText(const QString &text);
    void bindConnection(const QString &chassisLabel);
    HNode *findChassis(const QString &label) const;

    CComposite *m_pTarget = nullptr;
    CComposite *m_pCollection = nullptr;
    CComposite *m_pPanel = nullptr;
    QString m_panelTypeWord;
    CControl *m_pControl = nullptr;
    HNode *m_pChassis = nullptr;
    QString m_blockLabel;
    QString m_property;
    CLoadContext m_context;
    QString m_text;
    // Whether the item value element now closing had any text.
    bool m_valueHadText = false;
    // Labels of the nodes of each chassis met so far, so binding many
    // controls does not search the design once per control.
    QHash<HNode *, QHash<QString, HNode *>> m_nodesByLabel;
};

QT_WARNING_POP
