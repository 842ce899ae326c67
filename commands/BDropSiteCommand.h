#pragma once

#include "commands/BCommand.h"
#include "commands/BControlList.h"

#include <QPointer>
#include <QString>
#include <QVariant>

class HNode;
class WWidget;

// Drop Site: a design parameter dropped onto a drop site of a template panel
// fills the site with a new control, replacing the one it held.
class BDropSiteCommand : public BCommand
{
public:
    BDropSiteCommand();
    ~BDropSiteCommand() override;

    void prepare() override;
    void redoCommand() override;
    void undoCommand() override;
    QString text() const override;
    int id() const override;

    CControl *control() const { return m_pNew; }

private:
    // Whether the site and its control are still where the drop found them.
    bool siteIntact() const;
    // Empties the site; what it held leaves the document into owner.
    void emptySite(BControlList &owner);
    QVariant siteTitle() const;
    void setSiteTitle(const QVariant &title);

    QPointer<WWidget> m_pSite;
    CControl *m_pSiteControl = nullptr;
    CComposite *m_pSitePanel = nullptr;
    HNode *m_pNode = nullptr;
    bool m_nodeWasMarked = false;
    QString m_text;
    CControl *m_pNew = nullptr;
    // The new control while the drop is undone, the one it replaced while
    // it is done.
    BControlList m_new;
    BControlList m_previous;
    // The site's title while it held nothing.
    QVariant m_emptyTitle;
};
