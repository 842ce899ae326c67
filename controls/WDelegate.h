#pragma once

#include <QString>

class QWidget;
class WWidgetFactory;

// Program-wide holder of the item factory, the scale applied to positions
// read from files, and the control id counter.
class WDelegate
{
public:
    static WDelegate *instance();
    // Deletes the instance (and its factory); the model does this at exit.
    static void release();

    WWidgetFactory *factory() const { return m_pFactory; }
    // Takes ownership.
    void setFactory(WWidgetFactory *factory);
    QString basePath() const { return m_basePath; }
    void setBasePath(const QString &path) { m_basePath = path; }
    float loadScale() const { return m_loadScale; }
    void setLoadScale(float scale) { m_loadScale = scale; }
    QWidget *mainWindow() const { return m_pMainWindow; }
    void setMainWindow(QWidget *window) { m_pMainWindow = window; }

    // Increments the counter, then answers it.
    quint32 nextId();
    quint32 currentId() const { return m_idCounter; }
    // Moves the counter past an id met in a loaded document, so new controls
    // never repeat it.
    void reserveId(quint32 id);

private:
    WDelegate();
    ~WDelegate();

    WWidgetFactory *m_pFactory = nullptr;
    QString m_basePath;
    float m_loadScale = 1.0f;
    QWidget *m_pMainWindow = nullptr;
    quint32 m_idCounter = 0;
};
