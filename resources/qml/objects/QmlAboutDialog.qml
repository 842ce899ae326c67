import QtQuick 2.2

// The about message: the logos above the title, the text and one button.
Item {
    id: dialog
    anchors.fill: parent
    z: 30
    visible: false

    property string title: ""
    property string text: ""
    property string button: qsTr("OK")
    property bool cancel: false
    property real margin: width * 0.025

    signal closeDialog()

    onCancelChanged: {
        if (cancel)
            closeDialog()
    }

    Rectangle {
        anchors.fill: parent
        color: intrf.nullRegionColor
    }

    MouseArea {
        anchors.fill: parent
    }

    Rectangle {
        id: box
        anchors.centerIn: parent
        width: parent.width * 0.8
        height: logos.height + column.height + 2 * dialog.margin
        color: intrf.menuColor
        radius: intrf.controlRadius
        border.color: intrf.menuLineColor
        border.width: 1
        clip: true

        Rectangle {
            id: logos
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.top: parent.top
            height: dialog.height * intrf.logoHeightRatio
            color: intrf.logoBackColor
            radius: intrf.controlRadius

            Row {
                anchors.centerIn: parent
                spacing: dialog.margin * 2

                Image {
                    objectName: "orvaneLogo"
                    height: logos.height * 0.6
                    width: height * 2
                    fillMode: Image.PreserveAspectFit
                    source: intrf.orvaneLogo
                }

                Image {
                    objectName: "zrLogo"
                    height: logos.height * 0.6
                    width: height * 2
                    fillMode: Image.PreserveAspectFit
                    source: intrf.zrLogo
                }
            }
        }

        Column {
            id: column
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.top: logos.bottom
            anchors.margins: dialog.margin
            spacing: dialog.margin

            Text {
                objectName: "dialogTitle"
                width: parent.width
                text: dialog.title
                color: intrf.menuTextColor
                font.pixelSize: Math.max(1, intrf.dialogTextSize * 1.25)
                font.bold: true
                elide: Text.ElideRight
            }

            Text {
                objectName: "dialogText"
                width: parent.width
                text: dialog.text
                color: intrf.menuTextColor
                font.pixelSize: Math.max(1, intrf.dialogTextSize)
                wrapMode: Text.Wrap
            }

            Rectangle {
                objectName: "dialogButton"
                anchors.horizontalCenter: parent.horizontalCenter
                width: Math.max(buttonText.implicitWidth + 4 * dialog.margin, parent.width * 0.3)
                height: Math.max(1, intrf.dialogTextSize * 2.5)
                radius: intrf.controlRadius
                color: buttonArea.pressed ? intrf.accentColor : "transparent"
                border.color: intrf.accentColor
                border.width: 1

                Text {
                    id: buttonText
                    anchors.centerIn: parent
                    text: dialog.button
                    color: buttonArea.pressed ? intrf.menuColor : intrf.accentColor
                    font.pixelSize: Math.max(1, intrf.dialogTextSize)
                }

                MouseArea {
                    id: buttonArea
                    objectName: "dialogButtonArea"
                    anchors.fill: parent
                    onClicked: dialog.closeDialog()
                }
            }
        }
    }
}
