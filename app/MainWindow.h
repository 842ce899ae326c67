#pragma once

#include <QMainWindow>
#include <QPointer>

class KMainController;
class QToolBar;
class QTranslator;

// The application's main window: menu bar, one tool bar and the central widget
// on which the canvas and tab controllers build their views.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    void setController(KMainController *controller);
    KMainController *controller() const;
    QToolBar *mainToolBar() const { return m_pMainToolBar; }
    // The status bar when the window has one; never creates it.
    QStatusBar *existingStatusBar() const;
    // Whether the English translation was found and installed.
    bool translationInstalled() const { return m_translationInstalled; }

    // Lets the canvas controller redraw the current panel's controls.
    void refreshCanvasController();

signals:
    void resetQMLFocus();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QTranslator *m_pTranslator = nullptr;
    QPointer<KMainController> m_pController;
    QToolBar *m_pMainToolBar = nullptr;
    bool m_translationInstalled = false;
};
