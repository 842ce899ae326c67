import QtQuick 2.2
import wcmdbutton 1.0

Item {
    id: cmdButton
    visible: false
    width: 75
    height: 20

    property string text: ""
    property int textSize: intrf.textLinkTextSize
    property string image: ""
    property string offImage: ""
    property real imageSize: 0.75
    property bool hasText: false
    property bool hasImage: false
    property bool selEnable: true
    property bool flash: false
    property bool hasBorder: false

    onHeightChanged: textSize = height * 0.5625

    Rectangle {
        anchors.fill: parent
        radius: cmdButton.height * 0.125
        color: cmdButton.flash ? intrf.accentColor : "transparent"
        border.width: intrf.pixelScale
        border.color: cmdButton.hasBorder ? intrf.linkInActive : "transparent"
    }

    Image {
        anchors.centerIn: parent
        visible: cmdButton.hasImage
        height: cmdButton.height * cmdButton.imageSize
        width: height
        source: cmdButton.hasImage ? cmdButton.image : ""
        fillMode: Image.PreserveAspectFit
        smooth: true
    }

    Text {
        anchors.centerIn: parent
        visible: cmdButton.hasText
        text: cmdButton.text
        color: intrf.textColor
        // Words are set smaller than the single keys of a keypad.
        font.pixelSize: Math.max(1, cmdButton.text.length > 1 ? cmdButton.textSize * 0.625
                                                              : cmdButton.textSize)
    }

    Timer {
        id: flashTimer
        interval: 200
        repeat: false
        onTriggered: cmdButton.flash = false
    }

    MouseArea {
        objectName: "pressArea"
        anchors.fill: parent
        enabled: !intrf.editModeEnable
        onPressed: {
            flashTimer.restart()
            cmdButton.flash = true
            wwidget.outputPressed()
        }
    }

    WCmdButton {
        id: wwidget
        objectName: "widget"
    }
}
