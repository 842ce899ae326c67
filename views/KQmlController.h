#pragma once

#include "app/KController.h"
#include "views/VQmlFrame.h"

#include <QPointer>
#include <QSplitter>

// Controller of the canvas: embeds the canvas view in the main window through
// a window container on a splitter, rebuilds it on demand and places it.
class KQmlController : public KController
{
    Q_OBJECT
public:
    KQmlController(MModel *model, QWidget *parentWidget);
    ~KQmlController() override;

    // Adoption attaches the model to the view.
    void initialize() override;
    // Republishes what the canvas menus list for the now empty document.
    void reset() override;
    void rebuild() override;
    void setGeometry(const QRect &rect) override;
    // Keeps the collections menu in step with the document.
    void update(int hint) override;
    int type() const override;

    // Tells the model which view is the canvas and attaches it to the view.
    void attach();

    VQmlFrame *frame() const { return m_pView; }
    QSplitter *splitter() const { return m_pSplitter; }
    // The widget that carries the view; null without a grandparent widget.
    QWidget *container() const { return m_pContainer; }

private:
    void build(bool first);
    void publishSetupMenu();
    void tearDown();

    QPointer<VQmlFrame> m_pView;
    QPointer<QSplitter> m_pSplitter;
    QPointer<QWidget> m_pContainer;
};
