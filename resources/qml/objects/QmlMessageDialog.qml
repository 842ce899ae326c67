import QtQuick 2.2

// A message over the whole canvas with a title, a text and one button. It
// blocks the canvas below it until the button (or a cancel) closes it.
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

    // Nothing under the message reacts while it is shown.
    MouseArea {
        anchors.fill: parent
    }

    Rectangle {
        id: box
        anchors.centerIn: parent
        width: parent.width * 0.8
        height: column.height + 2 * dialog.margin
        color: intrf.menuColor
        radius: intrf.controlRadius
        border.color: intrf.menuLineColor
        border.width: 1

        Column {
            id: column
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.top: parent.top
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
