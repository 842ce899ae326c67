import QtQuick 2.2
import QtQuick.Controls 1.1
import wlabel 1.0

Label {
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
    textFormat: Text.RichText
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
