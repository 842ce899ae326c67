#pragma once

#include <QString>
#include <QtGlobal>

QT_WARNING_PUSH
QT_WARNING_DISABLE_DEPRECATED
#include <QXmlDefaultHandler>
#include <QXmlStreamAttributes>

class QIODevice;

// SAX handler base of the program's XML readers: keeps the names of the open
// elements (twelve levels are recorded, deeper ones only counted), and stops
// a parse cleanly on hostile or malformed input: nesting deeper than any real
// file, entity declarations, characters XML does not allow (also as
// references), duplicate attributes, unknown encodings and names or texts
// longer than any real file holds are refused, with line and column.
class XmlHandler : public QXmlDefaultHandler
{
public:
    static constexpr int StackSize = 12;
    static constexpr int MaxDepth = 256;
    // No name or text of a real panel file comes near this.
    static constexpr int PanelTextLength = 64 * 1024;
    // Nor does any whole file.
    static constexpr qint64 MaxFileSize = 64 * 1024 * 1024;

    XmlHandler();
    ~XmlHandler() override;

    bool startDocument() override;
    bool startElement(const QString &namespaceURI, const QString &localName, const QString &qName,
                      const QXmlAttributes &attributes) override;
    bool endElement(const QString &namespaceURI, const QString &localName,
                    const QString &qName) override;
    bool fatalError(const QXmlParseException &exception) override;
    bool internalEntityDecl(const QString &name, const QString &value) override;
    bool externalEntityDecl(const QString &name, const QString &publicId,
                            const QString &systemId) override;
    bool unparsedEntityDecl(const QString &name, const QString &publicId, const QString &systemId,
                            const QString &notationName) override;
    QString errorString() const override;

    // Runs a parse of the device (or text) with this handler installed for
    // every event kind; answers whether it succeeded. errorText() then says why not.
    bool parse(QIODevice *device);
    bool parseText(const QString &text);

    // Whether XML allows the character (surrogates are checked in pairs).
    static bool isXmlCharacter(uint code);
    // The first character XML does not allow, or -1.
    static int findIllegalCharacter(const QString &text);
    // "line L, column C: message" of the first error, empty after success.
    QString errorText() const { return m_errorText; }

    int depth() const { return m_depth; }
    // Name of the open element at a 0-based depth; empty where not recorded.
    const QString &elementAt(int depth) const;
    // The innermost open element and the one around it.
    const QString &currentElement() const { return elementAt(m_depth - 1); }
    const QString &parentElement() const { return elementAt(m_depth - 2); }

protected:
    void push(const QString &name);
    void pop();
    // Records a refusal so the parse stops with this reason.
    bool refuse(const QString &reason);
    // Refuses a name or text longer than the reader's limit.
    bool checkLength(int length);
    // 0: no limit.
    void setMaxTextLength(int length) { m_maxTextLength = length; }
    static QXmlStreamAttributes toStreamAttributes(const QXmlAttributes &attributes);

    bool m_collecting = false;
    QString m_block;

private:
    bool runParse(QXmlInputSource &source);
    // Checks the decoded text before the parser sees it: what the parser
    // would let through (illegal characters and references, an encoding
    // nobody knows) stops the read here.
    bool checkText(const QString &text, const QByteArray &raw);
    void failAt(const QString &text, int offset, const QString &message);

    int m_depth = 0;
    int m_maxTextLength = 0;
    QString m_stack[StackSize];
    QString m_refusal;
    QString m_errorText;
};

QT_WARNING_POP
