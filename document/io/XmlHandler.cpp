#include "document/io/XmlHandler.h"

#include <QCoreApplication>
#include <QDebug>
#include <QXmlStreamAttributes>

QT_WARNING_DISABLE_DEPRECATED

XmlHandler::XmlHandler() = default;

XmlHandler::~XmlHandler() = default;

bool XmlHandler::startDocument()
{
    m_depth = 0;
    m_collecting = false;
    m_block.clear();
    return true;
}

void XmlHandler::push(const QString &name)
{
    if (m_depth >= 0 && m_depth < StackSize)
        m_stack[m_depth] = name;
    ++m_depth;
}

void XmlHandler::pop()
{
    if (m_depth > 0)
        --m_depth;
    if (m_depth < StackSize)
        m_stack[m_depth].clear();
}

QString XmlHandler::elementAt(int depth) const
{
    if (depth < 0 || depth >= StackSize || depth >= m_depth)
        return QString();
    return m_stack[depth];
}

bool XmlHandler::refuse(const QString &reason)
{
    if (m_refusal.isEmpty())
        m_refusal = reason;
    return false;
}

bool XmlHandler::startElement(const QString &, const QString &, const QString &qName,
                              const QXmlAttributes &)
{
    if (m_depth >= MaxDepth)
        return refuse(QCoreApplication::translate("XmlHandler",
                                                  "The elements are nested too deeply."));
    push(qName);
    return true;
}

bool XmlHandler::endElement(const QString &, const QString &, const QString &)
{
    pop();
    return true;
}

bool XmlHandler::fatalError(const QXmlParseException &exception)
{
    qWarning().noquote() << "Fatal error on line" << exception.lineNumber() << ", column"
                         << exception.columnNumber() << ":" << exception.message();
    if (m_errorText.isEmpty()) {
        const QString message = m_refusal.isEmpty() ? exception.message() : m_refusal;
        m_errorText = QCoreApplication::translate("XmlHandler", "line %1, column %2: %3")
                          .arg(exception.lineNumber())
                          .arg(exception.columnNumber())
                          .arg(message);
    }
    return false;
}

bool XmlHandler::internalEntityDecl(const QString &, const QString &)
{
    return refuse(QCoreApplication::translate("XmlHandler", "Entity declarations are not accepted."));
}

bool XmlHandler::externalEntityDecl(const QString &, const QString &, const QString &)
{
    return refuse(QCoreApplication::translate("XmlHandler", "Entity declarations are not accepted."));
}

bool XmlHandler::unparsedEntityDecl(const QString &, const QString &, const QString &,
                                    const QString &)
{
    return refuse(QCoreApplication::translate("XmlHandler", "Entity declarations are not accepted."));
}

QString XmlHandler::errorString() const
{
    return m_refusal.isEmpty() ? QXmlDefaultHandler::errorString() : m_refusal;
}

bool XmlHandler::runParse(QXmlInputSource &source)
{
    m_refusal.clear();
    m_errorText.clear();
    QXmlSimpleReader reader;
    reader.setContentHandler(this);
    reader.setErrorHandler(this);
    reader.setDeclHandler(this);
    reader.setDTDHandler(this);
    reader.setLexicalHandler(this);
    const bool ok = reader.parse(&source, false);
    if (!ok && m_errorText.isEmpty()) {
        m_errorText = m_refusal.isEmpty()
                          ? QCoreApplication::translate("XmlHandler", "the file is not valid XML")
                          : m_refusal;
    }
    return ok;
}

bool XmlHandler::parse(QIODevice *device)
{
    if (!device)
        return false;
    QXmlInputSource source(device);
    return runParse(source);
}

bool XmlHandler::parseText(const QString &text)
{
    QXmlInputSource source;
    source.setData(text);
    return runParse(source);
}

QXmlStreamAttributes XmlHandler::toStreamAttributes(const QXmlAttributes &attributes)
{
    QXmlStreamAttributes result;
    for (int i = 0; i < attributes.count(); ++i)
        result.append(attributes.qName(i), attributes.value(i));
    return result;
}
