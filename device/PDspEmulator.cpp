#include "device/PDspEmulator.h"

#include "design/CParameter.h"
#include "design/HChassis.h"
#include "design/HRoot.h"
#include "device/ILoopbackRedirect.h"
#include "document/CComposite.h"
#include "document/CControl.h"
#include "document/CDocument.h"

#include <QPointF>
#include <QStandardItemModel>

namespace {

void collectNodes(HNode *node, QList<HNode *> &nodes)
{
    nodes.append(node);
    if (auto *composite = dynamic_cast<HComposite *>(node)) {
        for (HNode *child : composite->children())
            collectNodes(child, nodes);
    }
}

// The parameters were read for the tree; the rows die with the model.
void forgetRows(const QList<HNode *> &nodes)
{
    for (HNode *node : nodes) {
        for (CParameter *parameter : node->parameters())
            parameter->setItem(nullptr);
    }
}

} // namespace

PDspEmulator::PDspEmulator(QObject *parent) : QObject(parent) {}

PDspEmulator::~PDspEmulator()
{
    stop();
    qDeleteAll(m_chassis);
}

HRoot *PDspEmulator::design() const
{
    return m_pDocument ? m_pDocument->hardware() : nullptr;
}

bool PDspEmulator::load(const QString &path)
{
    stop();
    qDeleteAll(m_chassis);
    m_chassis.clear();
    auto document = std::make_unique<CDocument>();
    const bool isDesign = CDocument::rootElementOf(path) == QLatin1String("Project");
    if (!(isDesign ? document->loadDesign(path) : document->open(path))) {
        m_errorString = document->lastError();
        return false;
    }
    m_pDocument = std::move(document);
    learn();
    if (m_chassis.isEmpty()) {
        m_errorString = tr("%1 holds no DSP chassis.").arg(path);
        return false;
    }
    return true;
}

void PDspEmulator::learn()
{
    HRoot *root = design();
    QList<HNode *> nodes;
    collectNodes(root, nodes);
    // The parameters of a node are read from its template as the project
    // tree is built.
    QStandardItemModel tree;
    root->populate(&tree);
    const QList<HNode *> children = root->children();
    for (HNode *child : children) {
        auto *node = dynamic_cast<HChassis *>(child);
        if (!node)
            continue;
        auto *chassis = new PDspChassis(
            node->label(), node->ipAddress() + QLatin1Char(':') + node->serialPortNumber(),
            &m_behaviour, this);
        connect(chassis, &PDspChassis::messageReceived, this, &PDspEmulator::messageReceived);
        m_chassis.append(chassis);
        QList<HNode *> members;
        collectNodes(node, members);
        // Each parameter as a drop would make its control: the same
        // attributes, so the same messages as the program's.
        CComposite scratch;
        for (HNode *member : qAsConst(members)) {
            const QList<CParameter *> parameters = member->parameters();
            for (CParameter *parameter : parameters) {
                CControl *control =
                    scratch.loadNodeControl(root, member, parameter->text(), QPointF());
                if (control && control->transform())
                    chassis->addParameter(control->transform());
            }
        }
    }
    forgetRows(nodes);
}

bool PDspEmulator::serve(quint16 basePort)
{
    m_errors.clear();
    HRoot *root = design();
    if (!root)
        return false;
    int index = 0;
    const QList<HNode *> children = root->children();
    for (HNode *child : children) {
        auto *node = dynamic_cast<HChassis *>(child);
        if (!node)
            continue;
        PDspChassis *chassis = m_chassis.value(index);
        const ILoopbackRedirect::Target target =
            ILoopbackRedirect::target(node->ipAddress(), node->serialPortNumber(), index, basePort);
        ++index;
        if (!chassis)
            continue;
        if (!target.valid) {
            m_errors << tr("%1: no port for chassis %2 from base port %3")
                            .arg(node->label())
                            .arg(index - 1)
                            .arg(basePort);
            continue;
        }
        if (!chassis->listen(target.address, target.port)) {
            m_errors << tr("%1: cannot listen on %2:%3: %4")
                            .arg(node->label(), target.address.toString())
                            .arg(target.port)
                            .arg(chassis->errorString());
        }
    }
    return m_errors.isEmpty();
}

void PDspEmulator::stop()
{
    for (PDspChassis *chassis : qAsConst(m_chassis))
        chassis->close();
}

PDspChassis *PDspEmulator::chassis(const QString &label) const
{
    for (PDspChassis *chassis : m_chassis) {
        if (chassis->label() == label)
            return chassis;
    }
    return nullptr;
}
