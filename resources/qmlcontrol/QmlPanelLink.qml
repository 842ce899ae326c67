import QtQuick 2.2
import wpanellink 1.0

Item {
    id: panellink
    visible: false
    width: 75
    height: 20

    property string text: ""
    property int textFormat: Text.RichText
    property real textScale: 1.0
    property color textColor: intrf.textColor
    property int horizontalAlignment: Text.AlignHCenter
    property real textSize: height * 0.5625 * textScale
    property string imagePath: ""
    property bool imageValid: false
    property real imageSize: 1.0
    property bool buttonMode: true
    property bool selEnable: true
    property bool hasBorder: false

    Rectangle {
        anchors.fill: parent
        color: "transparent"
        radius: panellink.height * 0.125
        border.width: panellink.hasBorder ? 1 : 0
        border.color: panellink.hasBorder ? intrf.linkInActive : "transparent"
    }

    Image {
        objectName: "linkImage"
        anchors.centerIn: parent
        height: panellink.height * panellink.imageSize
        width: height
        fillMode: Image.PreserveAspectFit
        visible: panellink.imageValid
        source: panellink.imageValid ? panellink.imagePath : ""
        smooth: true
    }

    Text {
        objectName: "linkText"
        anchors.fill: parent
        visible: !panellink.imageValid
        text: panellink.text
        textFormat: panellink.textFormat
        color: panellink.textColor
        font.pixelSize: Math.max(1, panellink.textSize)
        horizontalAlignment: panellink.horizontalAlignment
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
    }

    MouseArea {
        objectName: "linkArea"
        anchors.fill: parent
        enabled: !intrf.editModeEnable
        onClicked: wwidget.selectPanel()
    }

    WPanelLink {
        id: wwidget
        objectName: "widget"
    }
}
