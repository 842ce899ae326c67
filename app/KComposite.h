#pragma once

#include "app/KController.h"

#include <QList>

// A controller that owns child controllers and forwards hints, model and
// look-ups to them in the order they were added.
class KComposite : public KController
{
    Q_OBJECT
public:
    explicit KComposite(MModel *model = nullptr, QWidget *parentWidget = nullptr);
    ~KComposite() override;

    void addController(KController *controller) override;
    // Takes the controller out of the list without deleting it.
    bool removeController(KController *controller) override;
    // Deletes the first child controller of that type, searching depth first.
    bool removeController(int type) override;
    KController *findController(int type) override;
    void update(int hint) override;
    void setModel(MModel *model) override;

    const QList<KController *> &children() const { return m_children; }

private:
    QList<KController *> m_children;
};
