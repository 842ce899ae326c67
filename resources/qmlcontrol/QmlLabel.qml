import QtQuick 2.2
import wlabel 1.0

// A plain Qt Quick text; the native side shows rich text only when the
// label's text needs it. Drawn as desktop text controls draw theirs.
Text {
    id: label
    visible: false
    width: 75
    height: 20
    z: 10

    property real textScale: 1.0
    property color textColor: intrf.textColor
    property bool enableEdit: false
    property bool selEnable: true
    property bool autoSize: false
    property real textSize: intrf.textSize * textScale

    color: textColor
    font.pixelSize: Math.max(1, textSize)
    horizontalAlignment: Text.AlignLeft
    verticalAlignment: Text.AlignVCenter
    textFormat: Text.PlainText
    renderType: Text.NativeRendering
    clip: false

    function updateTextSize() {
        textSize = autoSize ? height * 0.5 : height * 0.5 * textScale
    }
    onHeightChanged: updateTextSize()
    onTextScaleChanged: updateTextSize()
    onAutoSizeChanged: updateTextSize()

    WLabel {
        id: wwidget
        objectName: "widget"
    }
}
