import QtQuick 2.2
import wdialer 1.0

Rectangle {
    id: dialer
    visible: false
    width: 20
    height: 20
    color: "transparent"
    radius: height * 0.125
    border.width: hasBorder ? intrf.pixelScale : 0
    border.color: intrf.borderColor

    property string text: ""
    property string status: "Ready"
    property int textSize: height * 0.5
    property bool selEnable: true
    property bool hasBorder: true

    // The number, cut at the left so that the last digits stay in sight.
    Text {
        objectName: "numberText"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.margins: 5
        height: dialer.height / 2 - 5
        text: dialer.text
        color: intrf.textColor
        font.pixelSize: Math.max(1, dialer.textSize * 0.75)
        horizontalAlignment: Text.AlignRight
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideLeft
    }

    Text {
        objectName: "statusText"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        anchors.margins: 5
        height: dialer.height / 2 - 5
        text: dialer.status
        color: intrf.textColor
        font.pixelSize: Math.max(1, dialer.textSize * 0.625)
        font.italic: true
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
    }

    WDialer {
        id: wwidget
        objectName: "widget"
    }
}
