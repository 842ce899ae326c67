#pragma once

#include <QPointer>
#include <QString>
#include <QWindow>

class CCanvasObserver;
class QObject;
class XmlWriter;

// The screen of the mobile device the panel is designed for: which device,
// its orientation, skin, accent and header text, and the pixel size that
// follows from them and the screen's logical DPI.
class CCanvas
{
public:
    CCanvas();
    virtual ~CCanvas();

    // Defaults, then the device settings the user chose last.
    void reset();
    // Defaults only, at the start of a file's Canvas block.
    void resetForReading();
    void setValue(const QString &key, const QString &text);
    // The values a file holds, from another record (which may have no view).
    void copyDocumentValues(const CCanvas &other);
    // copyDocumentValues(), then the pixel size and the canvas follow.
    void takeDocumentValues(const CCanvas &other);
    void endValue(const QString &key);
    bool write(XmlWriter *writer) const;
    // The window the canvas is shown in, whose screen gives the DPI.
    bool attachView(QWindow *view);
    void storeSettings() const;
    void computePixelSize();
    // The skin when the skin list names it exactly, else the list's first.
    static QString validatedSkin(const QString &name, const QString &current);

    QString device() const { return m_device; }
    void setDevice(const QString &device) { m_device = device; }
    float size() const { return m_size; }
    void setSize(float size) { m_size = size; }
    float aspect() const { return m_aspect; }
    void setAspect(float aspect) { m_aspect = aspect; }
    int orientation() const { return m_orientation; }
    void setOrientation(int orientation) { m_orientation = orientation; }
    int width() const { return m_width; }
    int height() const { return m_height; }
    bool horizcenter() const { return m_horizcenter; }
    void setHorizcenter(bool on) { m_horizcenter = on; }
    QString skin() const { return m_skin; }
    void setSkin(const QString &skin) { m_skin = skin; }
    QString accent() const { return m_accent; }
    void setAccent(const QString &accent) { m_accent = accent; }
    QString text() const { return m_text; }
    void setText(const QString &text) { m_text = text; }
    CCanvasObserver *observer() const { return m_pObserver; }
    void setObserver(CCanvasObserver *observer) { m_pObserver = observer; }
    QWindow *view() const { return m_pView; }
    // The desktop scene holds the top and bottom rows as its properties.
    QObject *scene() const { return m_pScene; }
    void setScene(QObject *scene) { m_pScene = scene; }
    QString topRow() const;
    QString bottomRow() const;
    // Logical DPI of the view's screen, 72 without screen, 0 without view.
    float dpi() const;
    // Overrides the DPI (tests and the command-line tool have no screen).
    void setDpiOverride(float dpi) { m_dpiOverride = dpi; }

private:
    void applyDefaults();
    void setRow(const char *name, const QString &value);

    QString m_device;
    float m_size = 6.0f;
    float m_aspect = 1.7777778f;
    int m_orientation = 1;
    int m_width = 200;
    int m_height = 300;
    bool m_horizcenter = false;
    QString m_skin = QStringLiteral("Light");
    QString m_accent = QStringLiteral("Blue");
    QString m_text;
    CCanvasObserver *m_pObserver = nullptr;
    QPointer<QWindow> m_pView;
    QPointer<QObject> m_pScene;
    // Kept when there is no scene, so files read without a canvas keep them.
    QString m_topRow = QStringLiteral("qrc:/qml/objects/QmlToolBarObject.qml");
    QString m_bottomRow = QStringLiteral("qrc:/qml/objects/QmlStatusBarObject.qml");
    float m_dpiOverride = -1.0f;
};
