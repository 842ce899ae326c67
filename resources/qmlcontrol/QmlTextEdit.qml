import QtQuick 2.2
import wtextedit 1.0

Rectangle {
    id: textedit
    visible: false
    width: 20
    height: 20
    color: "transparent"

    property string text: ""
    property int textSize: height * 0.5
    property bool selEnable: false

    onTextChanged: wwidget.onTextChanged()

    TextInput {
        id: input
        objectName: "textInput"
        anchors.fill: parent
        enabled: !intrf.editModeEnable
        text: textedit.text
        color: intrf.textColor
        font.pixelSize: Math.max(1, textedit.textSize)
        horizontalAlignment: TextInput.AlignHCenter
        verticalAlignment: TextInput.AlignVCenter
        clip: true
        // A typed text counts once it is confirmed.
        onEditingFinished: textedit.text = text
    }

    WTextEdit {
        id: wwidget
        objectName: "widget"
    }
}
