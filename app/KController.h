#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>

class MModel;
class QAction;
class QMouseEvent;
class QWidget;

// Base of every view controller: controllers live in the model's root
// composite, find each other by type code and learn of model changes through
// numeric change hints.
class KController : public QObject
{
    Q_OBJECT
public:
    enum ControllerType
    {
        BaseType = 0x1000,
        TreeType = 0x1002,
        QmlType = 0x1003,
        MainType = 0x1004,
        PropertiesType = 0x1005,
        TabType = 0x1006
    };

    enum UpdateHint
    {
        RefreshCanvas = 0,
        SelectionChanged = 0x2000,
        DocumentReloaded = 0x2800,
        PanelsChanged = 0x2801,
        GeometryChanged = 0x2802,
        ShowProperties = 0x2900
    };

    explicit KController(MModel *model = nullptr, QWidget *parentWidget = nullptr);
    ~KController() override;

    virtual void initialize();
    virtual void reset();
    virtual void setGeometry(const QRect &rect);
    virtual void setEditMode(bool on);
    virtual void clear();
    virtual void rebuild();
    virtual void setTitle(const QString &title);
    virtual void update(int hint);
    virtual void itemDoubleClicked(QMouseEvent *event);
    virtual void addController(KController *controller);
    // Deletes this controller when it is the one asked for.
    virtual bool removeController(KController *controller);
    virtual bool removeController(int type);
    virtual KController *findController(int type);
    virtual int type() const;
    virtual void setModel(MModel *model);
    virtual KController *controller();
    // No controller offers a view of its own through the base; kept null.
    virtual QWidget *view() const;
    virtual QAction *action(int id) const;

    void setActionChecked(int id, bool checked);
    void setActionEnabled(int id, bool enabled);

    MModel *model() const;
    QWidget *parentWidget() const;
    void setParentWidget(QWidget *widget);
    KController *parentController() const;
    void setParentController(KController *controller);

private:
    QPointer<MModel> m_pModel;
    QPointer<QWidget> m_pParentWidget;
    QPointer<KController> m_pParentController;
};
