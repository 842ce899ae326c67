import QtQuick 2.2
import wbutton 1.0

Item {
    id: button
    visible: false
    width: 75
    height: 20

    property string onText: ""
    property string offText: ""
    property int textSize: intrf.textLinkTextSize
    property bool hasText: false
    property real textMargin: 0
    property real imageMargin: 0
    property string onImage: ""
    property string offImage: ""
    property bool hasImage: false
    property real imageSize: 1.0
    property bool selEnable: true
    property bool checked: false
    property bool hasBorder: false

    onHeightChanged: textSize = height * 0.5625

    // Caption and picture sit side by side, centred as a pair, caption first.
    function layout() {
        var imageHeight = picture.height
        if (hasText && hasImage) {
            textMargin = (width - imageHeight - caption.implicitWidth) / 2
            imageMargin = textMargin + caption.implicitWidth
        } else {
            textMargin = 0
            imageMargin = (width - imageHeight) / 2
        }
    }
    onWidthChanged: layout()
    onHasTextChanged: layout()
    onHasImageChanged: layout()
    Component.onCompleted: layout()

    Rectangle {
        anchors.fill: parent
        radius: button.height * 0.125
        color: "transparent"
        border.width: intrf.pixelScale
        border.color: button.hasBorder ? intrf.linkInActive : "transparent"
    }

    Image {
        id: picture
        visible: button.hasImage
        anchors.verticalCenter: parent.verticalCenter
        x: button.imageMargin
        height: button.height * button.imageSize * (button.hasBorder ? 0.8 : 1.0)
        width: height
        // Nothing is loaded while no picture is shown.
        source: button.hasImage ? (button.checked ? button.onImage : button.offImage) : ""
        fillMode: Image.PreserveAspectFit
        smooth: true
        onHeightChanged: button.layout()
        onSourceChanged: button.layout()
    }

    Text {
        id: caption
        visible: button.hasText
        anchors.verticalCenter: parent.verticalCenter
        x: button.hasImage ? button.textMargin : 0
        width: button.hasImage ? implicitWidth : button.width
        horizontalAlignment: button.hasImage ? Text.AlignLeft : Text.AlignHCenter
        text: button.checked ? button.onText : button.offText
        color: button.checked ? intrf.accentColor : intrf.textColor
        font.pixelSize: Math.max(1, button.textSize)
        onImplicitWidthChanged: button.layout()
    }

    // The press is kept, so its release reaches a momentary button; a press
    // taken away counts as a release.
    MouseArea {
        objectName: "pressArea"
        anchors.fill: parent
        enabled: !intrf.editModeEnable
        onPressed: wwidget.outputPressed()
        onReleased: wwidget.outputReleased()
        onCanceled: wwidget.outputReleased()
    }

    WButton {
        id: wwidget
        objectName: "widget"
    }
}
