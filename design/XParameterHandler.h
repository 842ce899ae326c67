#pragma once

#include <QXmlStreamAttributes>

#include "document/io/XmlHandler.h"

#include <QList>

QT_WARNING_PUSH
QT_WARNING_DISABLE_DEPRECATED

class CParameter;

// Reads the parameter list of a module template; the controls of the
// template are left to the panel-file reader.
class XParameterHandler : public XmlHandler
{
public:
    // Read parameters are appended to the list, which the caller owns.
    explicit XParameterHandler(QList<CParameter *> *list);
    ~XParameterHandler() override;

    bool startDocument() override;
    bool startElement(const QString &namespaceURI, const QString &localName, const QString &qName,
                      const QXmlAttributes &attributes) override;
    bool endElement(const QString &namespaceURI, const QString &localName,
                    const QString &qName) override;
    bool characters(const QString &text) override;

private:
    QList<CParameter *> *m_pList = nullptr;
    CParameter *m_pCurrent = nullptr;
    // Text of the open "text" or "type" element, joined before it is simplified.
    QString m_text;
};

QT_WARNING_POP
