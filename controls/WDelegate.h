#pragma once

class QWidget;
class WWidgetFactory;

// Program-wide holder of the item factory, the scale applied to positions
// read from files, and the main window.
class WDelegate
{
public:
    static WDelegate *instance();
    // Deletes the instance (and its factory); the model does this at exit.
    static void release();

    WWidgetFactory *factory() const { return m_pFactory; }
    // Takes ownership.
    void setFactory(WWidgetFactory *factory);
    float loadScale() const { return m_loadScale; }
    void setLoadScale(float scale) { m_loadScale = scale; }
    QWidget *mainWindow() const { return m_pMainWindow; }
    void setMainWindow(QWidget *window) { m_pMainWindow = window; }

private:
    WDelegate() = default;
    ~WDelegate();

    WWidgetFactory *m_pFactory = nullptr;
    float m_loadScale = 1.0f;
    QWidget *m_pMainWindow = nullptr;
};
