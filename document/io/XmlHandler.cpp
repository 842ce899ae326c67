#include "document/io/XmlHandler.h"

#include "document/io/UProgress.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDebug>
#include <QIODevice>
#include <QSet>
#include <QTextCodec>
#include <QXmlStreamAttributes>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

const QString &XmlHandler::elementAt(int depth) const
{
    static const QString none;
    if (depth < 0 || depth >= StackSize || depth >= m_depth)
        return none;
    return m_stack[depth];
}

bool XmlHandler::refuse(const QString &reason)
{
    if (m_refusal.isEmpty())
        m_refusal = reason;
    return false;
}

bool XmlHandler::checkLength(int length)
{
    if (m_maxTextLength <= 0 || length <= m_maxTextLength)
        return true;
    return refuse(QCoreApplication::translate("XmlHandler", "A name or text is longer than %1 KiB.")
                      .arg(m_maxTextLength / 1024));
}

bool XmlHandler::startElement(const QString &, const QString &, const QString &qName,
                              const QXmlAttributes &attributes)
{
    UProgress::step();
    if (m_depth >= MaxDepth)
        return refuse(QCoreApplication::translate("XmlHandler",
                                                  "The elements are nested too deeply."));
    if (!checkLength(qName.size()))
        return false;
    const int count = attributes.count();
    // Elements carry a handful of attributes: comparing the pairs costs less
    // than hashing them, element after element. Many go through a set.
    QSet<QString> names;
    for (int i = 0; i < count; ++i) {
        const QString name = attributes.qName(i);
        bool twice = false;
        if (count <= 8) {
            for (int j = 0; j < i && !twice; ++j)
                twice = attributes.qName(j) == name;
        } else {
            twice = names.contains(name);
            names.insert(name);
        }
        if (twice)
            return refuse(
                QCoreApplication::translate("XmlHandler", "The attribute %1 is given twice.")
                    .arg(name));
        if (!checkLength(attributes.value(i).size()))
            return false;
    }
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

bool XmlHandler::isXmlCharacter(uint code)
{
    return code == 0x9 || code == 0xA || code == 0xD || (code >= 0x20 && code <= 0xD7FF) ||
           (code >= 0xE000 && code <= 0xFFFD) || (code >= 0x10000 && code <= 0x10FFFF);
}

namespace {

// Whether eight UTF-16 units are all plain: characters of the Basic
// Multilingual Plane below the surrogates, blanks and up, or tab, line feed
// or carriage return.
inline bool plainBlock(const ushort *units)
{
#if defined(__SSE2__)
    // As signed 16-bit numbers the units that are not plain lie in
    // [-10240, 0x20): 0xD800 and above, and the control characters.
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i *>(units));
    const __m128i belowBlank = _mm_cmplt_epi16(block, _mm_set1_epi16(0x20));
    const __m128i belowSurrogates = _mm_cmplt_epi16(block, _mm_set1_epi16(-10240));
    const __m128i whiteSpace =
        _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(block, _mm_set1_epi16(0x9)),
                                  _mm_cmpeq_epi16(block, _mm_set1_epi16(0xA))),
                     _mm_cmpeq_epi16(block, _mm_set1_epi16(0xD)));
    const __m128i unusual = _mm_andnot_si128(_mm_or_si128(belowSurrogates, whiteSpace), belowBlank);
    return _mm_movemask_epi8(unusual) == 0;
#else
    uint unusual = 0;
    for (int i = 0; i < 8; ++i) {
        const uint unit = units[i];
        // Below a blank only tab, line feed and carriage return pass.
        unusual |= (unit < 0x20 ? (0xFFFFD9FFu >> unit) & 1u : 0u) | uint(unit >= 0xD800);
    }
    return unusual == 0;
#endif
}

} // namespace

int XmlHandler::findIllegalCharacter(const QString &text)
{
    const int count = text.size();
    const ushort *units = text.utf16();
    int i = 0;
    while (i < count) {
        // Nearly every character of a real file is plain: eight at a time.
        if (i + 8 <= count && plainBlock(units + i)) {
            i += 8;
            continue;
        }
        const QChar c(units[i]);
        if (c.isHighSurrogate()) {
            if (i + 1 < count && QChar(units[i + 1]).isLowSurrogate()) {
                i += 2;
                continue;
            }
            return i;
        }
        if (c.isLowSurrogate() || !isXmlCharacter(c.unicode()))
            return i;
        ++i;
    }
    return -1;
}

void XmlHandler::failAt(const QString &text, int offset, const QString &message)
{
    int line = 1;
    int lineStart = 0;
    for (int i = 0; i < offset && i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('\n')) {
            ++line;
            lineStart = i + 1;
        }
    }
    m_errorText = QCoreApplication::translate("XmlHandler", "line %1, column %2: %3")
                      .arg(line)
                      .arg(offset - lineStart + 1)
                      .arg(message);
}

bool XmlHandler::checkText(const QString &text, const QByteArray &raw)
{
    const int illegal = findIllegalCharacter(text);
    if (illegal >= 0) {
        failAt(text, illegal,
               QCoreApplication::translate("XmlHandler",
                                           "The character U+%1 is not allowed in XML.")
                   .arg(uint(text.at(illegal).unicode()), 4, 16, QLatin1Char('0'))
                   .toUpper());
        return false;
    }
    // Character references the parser would turn into the same. Looking for
    // the ampersand alone is much quicker than for both characters.
    for (int at = text.indexOf(QLatin1Char('&')); at >= 0;
         at = text.indexOf(QLatin1Char('&'), at + 1)) {
        if (at + 1 >= text.size() || text.at(at + 1) != QLatin1Char('#'))
            continue;
        // Only as far as a reference can reach, so that many ampersands
        // without semicolons cost no more than the text is long.
        const int semicolon = text.midRef(at, 13).indexOf(QLatin1Char(';'));
        if (semicolon < 0)
            continue;
        const int end = at + semicolon;
        const QStringRef digits = text.midRef(at + 2, end - at - 2);
        bool ok = false;
        const uint code = digits.startsWith(QLatin1Char('x'))
                              ? digits.mid(1).toUInt(&ok, 16)
                              : digits.toUInt(&ok, 10);
        if (ok && !isXmlCharacter(code)) {
            failAt(text, at,
                   QCoreApplication::translate("XmlHandler",
                                               "The character reference %1 names a character "
                                               "XML does not allow.")
                       .arg(text.mid(at, end - at + 1)));
            return false;
        }
    }
    // An encoding the declaration names must be one there is.
    const QByteArray head = raw.left(200);
    if (head.startsWith("<?xml")) {
        const int close = head.indexOf("?>");
        const QByteArray declaration = close < 0 ? head : head.left(close);
        const int key = declaration.indexOf("encoding=");
        if (key >= 0 && key + 10 < declaration.size()) {
            const char quote = declaration.at(key + 9);
            const int endQuote = declaration.indexOf(quote, key + 10);
            const QByteArray name =
                endQuote < 0 ? QByteArray() : declaration.mid(key + 10, endQuote - key - 10);
            if (endQuote < 0 || !QTextCodec::codecForName(name)) {
                failAt(text, 0,
                       QCoreApplication::translate("XmlHandler", "The encoding %1 is not known.")
                           .arg(QString::fromLatin1(name)));
                return false;
            }
        }
    }
    return true;
}

bool XmlHandler::runParse(QXmlInputSource &source)
{
    QXmlSimpleReader reader;
    // None of the program's files uses namespaces: names are taken as
    // written, which spares the reader a lookup for every element.
    reader.setFeature(QStringLiteral("http://xml.org/sax/features/namespaces"), false);
    reader.setFeature(QStringLiteral("http://xml.org/sax/features/namespace-prefixes"), true);
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
    m_refusal.clear();
    m_errorText.clear();
    if (!device)
        return false;
    // Read whole (and bounded), so the text can be checked before parsing. A
    // file says its size: reading just that spares a buffer of the largest
    // size allowed for every small template.
    QByteArray raw;
    // Bytes already in memory are shared rather than copied.
    auto *buffer = qobject_cast<QBuffer *>(device);
    if (buffer && buffer->pos() == 0 && buffer->size() <= MaxFileSize)
        raw = buffer->data();
    else if (device->isSequential())
        raw = device->read(MaxFileSize + 1);
    else if (device->size() - device->pos() <= MaxFileSize)
        raw = device->readAll();
    else
        raw.resize(int(MaxFileSize + 1));
    if (raw.size() > MaxFileSize) {
        m_errorText = QCoreApplication::translate("XmlHandler", "the file is larger than 64 MiB");
        return false;
    }
    QXmlInputSource source;
    source.setData(raw);
    if (!checkText(source.data(), raw))
        return false;
    return runParse(source);
}

bool XmlHandler::parseText(const QString &text)
{
    m_refusal.clear();
    m_errorText.clear();
    if (!checkText(text, text.left(200).toUtf8()))
        return false;
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
