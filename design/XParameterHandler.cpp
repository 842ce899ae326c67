#include "design/XParameterHandler.h"

#include "design/CParameter.h"

#include <QCoreApplication>

QT_WARNING_DISABLE_DEPRECATED

namespace {

const QString ParameterElement = QStringLiteral("parameter");

// Templates are small; a text beyond this is not a parameter name.
constexpr int MaxTextLength = 4096;

} // namespace

XParameterHandler::XParameterHandler(QList<CParameter *> *list) : m_pList(list) {}

XParameterHandler::~XParameterHandler()
{
    delete m_pCurrent;
}

bool XParameterHandler::startDocument()
{
    delete m_pCurrent;
    m_pCurrent = nullptr;
    m_text.clear();
    return XmlHandler::startDocument();
}

bool XParameterHandler::startElement(const QString &namespaceURI, const QString &localName,
                                     const QString &qName, const QXmlAttributes &attributes)
{
    if (!XmlHandler::startElement(namespaceURI, localName, qName, attributes))
        return false;
    m_text.clear();
    if (qName == ParameterElement) {
        m_collecting = true;
        m_block = ParameterElement;
        delete m_pCurrent;
        m_pCurrent = new CParameter;
    }
    return true;
}

bool XParameterHandler::characters(const QString &text)
{
    if (!m_collecting || !m_pCurrent || parentElement() != m_block)
        return true;
    const QString element = currentElement();
    if (element != QLatin1String("text") && element != QLatin1String("type"))
        return true;
    if (m_text.length() + text.length() > MaxTextLength)
        return refuse(
            QCoreApplication::translate("XParameterHandler", "A parameter text is too long."));
    // The parser may hand over one text in pieces; it is taken whole when the
    // element ends.
    m_text += text;
    return true;
}

bool XParameterHandler::endElement(const QString &namespaceURI, const QString &localName,
                                   const QString &qName)
{
    if (m_collecting && m_pCurrent && parentElement() == m_block) {
        if (qName == QLatin1String("text"))
            m_pCurrent->setText(m_text.simplified());
        else if (qName == QLatin1String("type"))
            m_pCurrent->setType(m_text.simplified());
    }
    m_text.clear();
    XmlHandler::endElement(namespaceURI, localName, qName);
    if (qName == m_block && m_collecting) {
        if (m_pCurrent && m_pList)
            m_pList->append(m_pCurrent);
        else
            delete m_pCurrent;
        m_pCurrent = nullptr;
        m_collecting = false;
        m_block.clear();
    }
    return true;
}
