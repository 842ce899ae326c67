#pragma once

#include <QPointer>
#include <QStandardItemModel>

class MModel;

// The item model of the project tree: the design's rows, the graphic types
// and the document's links. What a dragged row carries is decided here.
class VModel : public QStandardItemModel
{
    Q_OBJECT
public:
    explicit VModel(QObject *parent = nullptr);

    void setModel(MModel *model) { m_pModel = model; }
    MModel *model() const { return m_pModel; }

    QStringList mimeTypes() const override;
    QMimeData *mimeData(const QModelIndexList &indexes) const override;

    // Rebuilds everything: design rows, "Graphics" and "Links".
    void rebuild();
    // Replaces the "Links" group with a fresh one from the document.
    bool refreshLinks();
    // The row's identity value (0 when it has none).
    static quint64 identity(const QStandardItem *row);

private:
    void appendGraphics();
    void appendLinks();
    // Whether the current panel holds a drop site, which turns control drops
    // into drop-site drops.
    bool currentPanelHasDropSite() const;

    QPointer<MModel> m_pModel;
};
