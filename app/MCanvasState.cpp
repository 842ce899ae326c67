#include "app/MCanvasState.h"

#include "app/MModel.h"
#include "app/MOnlineSession.h"
#include "document/MProject.h"
#include "controls/WDelegate.h"
#include "controls/WWidgetFactory.h"
#include "dialogs/DQmlMessageDialog.h"
#include "design/HRoot.h"
#include "document/CComposite.h"

#include <QUrl>

namespace {
const QString GroupScenes = QStringLiteral("Scenes");
const QString GroupControls = QStringLiteral("Controls");
} // namespace

MCanvasState::MCanvasState(MModel &model) : m(model) {}

bool MCanvasState::updateScale()
{
    if (!m.hardwareRoot() || !m.m_pQmlRoot || !m.documentRoot())
        return false;
    double reference = m.qmlProperty("maxControlHeight").toDouble();
    const QRectF b = m.documentRoot()->bounds();
    if (b.height() > 0 && m.m_viewScale > 0)
        reference = (2.0 * b.top() + b.height()) / m.m_viewScale;
    const double height = m.m_pCanvasItem ? m.m_pCanvasItem->height() : m.qmlProperty("height").toDouble();
    const double width = m.m_pCanvasItem ? m.m_pCanvasItem->width() : m.qmlProperty("width").toDouble();
    if (!(height > 0) || !(reference > 0))
        return false;
    m.m_viewHeight = float(height);
    m.m_viewWidth = float(width);
    m.m_viewScale = float(height / reference);
    m.setQmlProperty("viewScale", m.m_viewScale);
    WDelegate::instance()->setLoadScale(m.m_viewScale);
    m.documentRoot()->rescale(1.0, height);
    m.setQmlProperty("textSize", int(m.m_viewScale * 12));
    m.setQmlProperty("pixelScale", m.m_viewScale);
    return true;
}

void MCanvasState::fitToViewWidth()
{
    if (!m.documentRoot() || !m.m_pQmlRoot)
        return;
    const double width = m.m_pCanvasItem ? m.m_pCanvasItem->width() : m.qmlProperty("width").toDouble();
    // A canvas of no width yet has nothing to centre on.
    if (!(width > 0))
        return;
    m.documentRoot()->fitWidth(GroupControls, width);
}

void MCanvasState::pushPageState()
{
    CComposite *collection = m.currentCollection();
    m.setQmlProperty("pageCount", collection ? collection->childCount() : 0);
    m.setQmlProperty("pageIndex", collection ? collection->currentIndex() : 0);
}

void MCanvasState::pushHeaderTitle()
{
    if (m.project())
        m.setQmlProperty("headerTitle", m.project()->facilityName());
}

void MCanvasState::refreshViewState()
{
    updateScale();
    fitToViewWidth();
    // The document's items belong on the current canvas content item.
    if (m.documentRoot() && m.m_pCanvasItem && m.documentRoot()->type() == GroupScenes)
        m.documentRoot()->setParentItem(m.m_pCanvasItem);
    pushPageState();
    CComposite *collection = m.currentCollection();
    m.setQmlProperty("sceneTitle", collection ? collection->name() : QString());
    pushHeaderTitle();
}

bool MCanvasState::mobileMenuChoice(int entry, const QString &title)
{
    switch (entry) {
    case ProjectInformation: {
        if (!m.project())
            return false;
        DQmlMessageDialog dialog(m.m_pQmlContext);
        dialog.setTitle(title);
        dialog.setText(m.project()->informationText());
        dialog.setButton(MModel::tr("OK"));
        return dialog.exec();
    }
    case About: {
        DQmlMessageDialog dialog(m.m_pQmlContext,
                                 QUrl(QStringLiteral("qrc:/qml/objects/QmlAboutDialog.qml")));
        dialog.setTitle(title);
        dialog.setText(m.aboutText());
        dialog.setButton(MModel::tr("OK"));
        return dialog.exec();
    }
    case IpAddress:
    case NetworkStatus: {
        DQmlMessageDialog dialog(m.m_pQmlContext);
        dialog.setTitle(title);
        dialog.setText(entry == IpAddress ? MOnlineSession::localAddressText()
                                          : m.session()->networkStatusText());
        dialog.setButton(MModel::tr("OK"));
        return dialog.exec();
    }
    case Receive:
        return m.receivePanel();
    default:
        return false;
    }
}

CControl *MCanvasState::pasteText(CComposite *composite, const QString &text, bool *parsed)
{
    if (parsed)
        *parsed = false;
    if (!composite)
        return nullptr;
    WDelegate *delegate = WDelegate::instance();
    delegate->setLoadScale(1.0f);
    // The composite needs the model while it reads, to build the live items.
    composite->setModel(&m);
    const int before = composite->childCount();
    CLoadContext context;
    context.hardware = m.hardwareRoot();
    const bool ok = composite->loadString(text, context);
    if (parsed)
        *parsed = ok;
    CControl *control =
        composite->childCount() == before + 1 ? composite->childAt(before) : nullptr;
    composite->setModel(&m);
    delegate->setLoadScale(m.m_viewScale);
    if (control)
        control->setEditMode(true);
    return control;
}

void MCanvasState::restack(CControl *control)
{
    WWidgetFactory *factory = WDelegate::instance()->factory();
    // Without a canvas there is nothing to stack on, and nothing to take off.
    if (!control || !factory || !factory->parentItem())
        return;
    control->setParentItem(nullptr);
    control->setParentItem(factory->parentItem());
}
