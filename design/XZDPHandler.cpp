#include "design/XZDPHandler.h"

#include "document/MProject.h"
#include "design/HNode.h"
#include "design/HNodeFactory.h"
#include "design/HRoot.h"

#include <QCoreApplication>
#include <QFile>
#include <QXmlStreamAttributes>

QT_WARNING_DISABLE_DEPRECATED

namespace {

const QString ClassPrefix = QStringLiteral("Orvane.Foundry.Nodes.");

QString tr(const char *text)
{
    return QCoreApplication::translate("XZDPHandler", text);
}

} // namespace

XZDPHandler::XZDPHandler(HRoot *root, MProject *project)
    : m_pRoot(root), m_pProject(project), m_pFactory(new HNodeFactory)
{
}

XZDPHandler::~XZDPHandler()
{
    // A node whose section never ended (a parse that stopped) is still ours.
    delete m_pCurrentNode;
    delete m_pFactory;
}

QString XZDPHandler::downloadAddress()
{
    return QStringLiteral("https://www.orvane.example/downloads");
}

QString XZDPHandler::versionMessage(const QString &version)
{
    return tr("Zindral Remote builder cannot open this file. (version: ") + version +
           tr(")\n\nZindral Designer files saved in a version earlier than Zindral v4.2 can't be "
              "opened. If your file is from an earlier version, please visit ") +
           downloadAddress() +
           tr(" to download the latest version of Zindral Designer.\n\nOnce you have installed "
              "the latest version of Zindral Designer, open the design file and re-save it. This "
              "will update the file to the newest format which can then be opened in Zindral "
              "Remote builder. Also ensure that your system devices have been updated to the "
              "latest firmware (System->Update Firmware). ");
}

bool XZDPHandler::load(const QString &path, HRoot *root, MProject *project, QString *errorText)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        if (errorText)
            *errorText = tr("Cannot read file %1: %2").arg(path, file.errorString());
        return false;
    }
    if (file.size() > MaxFileSize) {
        if (errorText)
            *errorText = tr("The file %1 is too large to be a design file.").arg(path);
        return false;
    }
    XZDPHandler handler(root, project);
    const bool ok = handler.parse(&file);
    if (errorText) {
        if (ok)
            errorText->clear();
        else if (!handler.m_versionRefusal.isEmpty())
            *errorText = handler.m_versionRefusal;
        else
            *errorText = handler.errorText();
    }
    return ok;
}

bool XZDPHandler::startDocument()
{
    XmlHandler::startDocument();
    m_sectionState = Idle;
    replaceCurrentNode(nullptr);
    m_pAssignmentGroup = nullptr;
    m_pCurrentChassis = nullptr;
    m_pMainChassis = nullptr;
    m_versionRefusal.clear();
    m_indexed = false;
    m_assignable.clear();
    return true;
}

bool XZDPHandler::isSupportedVersion(const QString &version)
{
    // Compared part by part, so that 4.10 counts as later than 4.2; a text
    // that is not a version counts as 0.
    const QStringList parts = version.split(QLatin1Char('.'));
    uint numbers[2] = {0, 0};
    for (int i = 0; i < parts.count(); ++i) {
        bool ok = false;
        const uint number = parts.at(i).toUInt(&ok, 10);
        if (!ok)
            return false;
        if (i < 2)
            numbers[i] = number;
    }
    return numbers[0] > 4 || (numbers[0] == 4 && numbers[1] >= 2);
}

bool XZDPHandler::checkVersion(const QXmlAttributes &attributes)
{
    const QString version = attributes.value(QStringLiteral("version"));
    if (isSupportedVersion(version))
        return true;
    // The caller shows the whole refusal as it stands, without a position.
    m_versionRefusal = versionMessage(version);
    return refuse(m_versionRefusal);
}

void XZDPHandler::openSection(const QString &element)
{
    m_collecting = true;
    m_sectionState = InSection;
    m_block = element;
}

void XZDPHandler::replaceCurrentNode(HNode *node)
{
    // A section opened inside another drops the node the outer one was building.
    if (m_pCurrentNode != node)
        delete m_pCurrentNode;
    m_pCurrentNode = node;
}

bool XZDPHandler::startElement(const QString &namespaceURI, const QString &localName,
                               const QString &qName, const QXmlAttributes &attributes)
{
    if (!XmlHandler::startElement(namespaceURI, localName, qName, attributes))
        return false;
    const QString parent = parentElement();

    if (qName == QLatin1String("Project"))
        return checkVersion(attributes);
    if (qName == QLatin1String("ProjectInfo")) {
        m_collecting = true;
        m_sectionState = InProjectInfo;
        m_block = qName;
        return true;
    }
    if (qName == QLatin1String("Node")) {
        if (parent != QLatin1String("Nodes"))
            return true;
        openSection(qName);
        QString className = attributes.value(QStringLiteral("className"));
        className.remove(ClassPrefix);
        HNode *node = m_pFactory->create(className, attributes.value(QStringLiteral("cardType")));
        replaceCurrentNode(node);
        if (node) {
            node->setTypenum(attributes.value(QStringLiteral("typeNumber")));
            node->setFlag(HNode::NotReferenced, false);
        }
        return true;
    }
    if (qName == QLatin1String("Group")) {
        if (parent == QLatin1String("Groups")) {
            openSection(qName);
            HNode *node = m_pFactory->create(QStringLiteral("Group"), QString());
            replaceCurrentNode(node);
            if (node)
                node->setId(attributes.value(QStringLiteral("id")));
        } else if (parent == QLatin1String("Assignment")) {
            openSection(QStringLiteral("Assignment"));
            m_pAssignmentGroup =
                findAssigned(HNode::tr("Groups"), attributes.value(QStringLiteral("id")));
            if (m_pAssignmentGroup)
                m_pAssignmentGroup->setFlag(HNode::NotReferenced, false);
        }
        return true;
    }
    if (qName == QLatin1String("ParameterSet")) {
        if (parent == QLatin1String("ParameterSets")) {
            openSection(qName);
            HNode *node = m_pFactory->create(QStringLiteral("ParameterSet"), QString());
            replaceCurrentNode(node);
            if (node)
                node->setId(attributes.value(QStringLiteral("id")));
        } else if (parent == QLatin1String("Assignment")) {
            HNode *set =
                findAssigned(HNode::tr("ParameterSets"), attributes.value(QStringLiteral("id")));
            if (set)
                set->setFlag(HNode::NotReferenced, false);
        }
        return true;
    }
    if (m_sectionState == InProjectInfo)
        return m_pProject ? m_pProject->setGroup(qName, toStreamAttributes(attributes)) : true;
    if (m_sectionState == InSection) {
        if (qName == QLatin1String("Property")) {
            if (m_pCurrentNode)
                m_pCurrentNode->readProperty(attributes.value(QStringLiteral("name")),
                                             attributes.value(QStringLiteral("value")));
        } else if (qName == QLatin1String("Assign")) {
            if (m_pAssignmentGroup)
                m_pAssignmentGroup->readAssignment(toStreamAttributes(attributes));
        }
    }
    return true;
}

bool XZDPHandler::endElement(const QString &namespaceURI, const QString &localName,
                             const QString &qName)
{
    XmlHandler::endElement(namespaceURI, localName, qName);
    if (qName != m_block)
        return true;
    finishNode();
    m_collecting = false;
    m_sectionState = Idle;
    m_pAssignmentGroup = nullptr;
    m_block.clear();
    return true;
}

void XZDPHandler::finishNode()
{
    HNode *node = m_pCurrentNode;
    m_pCurrentNode = nullptr;
    if (!node)
        return;
    if (!node->validate()) {
        delete node;
        return;
    }
    attach(node);
}

void XZDPHandler::attach(HNode *node)
{
    if (!m_pRoot) {
        delete node;
        return;
    }
    if (node->hasFlag(HNode::Chassis)) {
        m_pCurrentChassis = node;
        if (node->hasFlag(HNode::MainChassis))
            m_pMainChassis = node;
    }
    if (node == m_pCurrentChassis) {
        m_pRoot->addChild(node);
        return;
    }
    if (m_pCurrentChassis) {
        // Groups and parameter sets belong to the main processor, everything
        // else to the chassis read last.
        if (HNode *parent = node->chooseParent(m_pMainChassis, m_pCurrentChassis)) {
            parent->addChild(node);
            // Chassis are only ever appended, so a node attached now comes
            // after every indexed one in depth-first order.
            if (m_indexed)
                index(node);
            return;
        }
    }
    delete node;
}

void XZDPHandler::index(HNode *node)
{
    const QPair<QString, QString> key(node->category(), node->id());
    if (!m_assignable.contains(key))
        m_assignable.insert(key, node);
}

HNode *XZDPHandler::findAssigned(const QString &category, const QString &id)
{
    if (!m_pRoot)
        return nullptr;
    if (!m_indexed) {
        m_indexed = true;
        for (const QString &kind : {HNode::tr("Groups"), HNode::tr("ParameterSets")}) {
            QList<HNode *> nodes;
            m_pRoot->collectByCategory(kind, nodes);
            for (HNode *node : qAsConst(nodes))
                index(node);
        }
    }
    return m_assignable.value(qMakePair(category, id));
}
