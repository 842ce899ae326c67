import QtQuick 2.2
import wframe 1.0

Rectangle {
    id: frame
    visible: false
    width: 200
    height: 200
    z: 0

    property color fieldColor: intrf.fieldColor
    property color borderColor: intrf.borderColor
    property real frameRadius: intrf.controlRadius
    property real borderWidth: 0.5
    property real trueWidth: borderWidth * intrf.pixelScale
    property bool selEnable: true
    property bool hasBorder: true

    color: fieldColor
    radius: frameRadius
    border.width: Math.max(trueWidth, 1)
    border.color: hasBorder ? borderColor : "transparent"

    // A frame is a background: presses on it go no further.
    MouseArea {
        anchors.fill: parent
        enabled: !intrf.editModeEnable
    }

    WFrame {
        id: wwidget
        objectName: "widget"
    }
}
