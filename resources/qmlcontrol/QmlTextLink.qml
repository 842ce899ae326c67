import QtQuick 2.2
import wtextlink 1.0

Item {
    id: textLink
    visible: false
    width: 75
    height: 20

    property int index: 0
    property int current: -1
    property bool flash: false
    property string text: ""
    property real textSize: height * 0.5625
    property string onImage: ""
    property string offImage: ""
    property bool hasText: false
    property bool hasImage: false
    property real imageSize: 1.0
    property bool buttonMode: true
    property bool selEnable: true
    property bool hasBorder: true

    readonly property bool chosen: index === current
    readonly property color lookColor: chosen ? intrf.accentColor : intrf.linkInActive

    Rectangle {
        anchors.fill: parent
        radius: textLink.height * 0.5
        color: textLink.flash ? intrf.accentColor : "transparent"
        border.width: 1.5 * intrf.pixelScale
        // A blank link is only its caption and picture.
        border.color: textLink.hasBorder && textLink.buttonMode ? textLink.lookColor
                                                                : "transparent"
    }

    Row {
        anchors.centerIn: parent
        spacing: textLink.hasText && textLink.hasImage ? textLink.height * 0.25 : 0

        Image {
            visible: textLink.hasImage
            anchors.verticalCenter: parent.verticalCenter
            height: textLink.height * textLink.imageSize * (textLink.hasBorder ? 0.8 : 1.0)
            width: visible ? height : 0
            source: textLink.hasImage ? (textLink.chosen ? textLink.onImage : textLink.offImage)
                                      : ""
            fillMode: Image.PreserveAspectFit
            smooth: true
        }

        Text {
            visible: textLink.hasText
            anchors.verticalCenter: parent.verticalCenter
            text: textLink.text
            color: textLink.lookColor
            font.pixelSize: Math.max(1, textLink.textSize)
        }
    }

    Timer {
        id: flashTimer
        interval: 100
        repeat: false
        onTriggered: textLink.flash = false
    }

    MouseArea {
        objectName: "pressArea"
        anchors.fill: parent
        enabled: !intrf.editModeEnable
        onClicked: {
            textLink.flash = true
            flashTimer.restart()
            wwidget.outputClicked()
        }
    }

    WTextLink {
        id: wwidget
        objectName: "widget"
    }
}
