import QtQuick 2.2

// A menu over the whole canvas. It opens only with more than one entry. An
// entry is a text, or an object with "text" and "id"; choosing one emits
// chosen with the entry and, when the menu has a command, posts the command
// with the entry's text.
Item {
    id: popupmenu
    anchors.fill: parent
    z: 10
    visible: false
    enabled: model ? model.length > 1 : false

    property string title: ""
    property var model: []
    property string command: ""
    property bool cancel: false

    signal chosen(var entry)
    property real hMargin: width * 0.025
    property real vMargin: width * 0.01875

    // The scene root, so the menu covers the whole canvas whatever row it
    // was declared in.
    function canvasItem() {
        var item = popupmenu
        while (item.parent && item.parent.parent)
            item = item.parent
        return item
    }

    function popup() {
        if (!enabled)
            return false
        var top = canvasItem()
        if (top !== popupmenu)
            parent = top
        cancel = false
        visible = true
        intrf.setObject("ModalObject", popupmenu)
        return true
    }

    function hide() {
        if (!visible)
            return
        visible = false
        intrf.setObject("ModalObject", null)
    }

    onCancelChanged: {
        if (cancel)
            hide()
    }

    Rectangle {
        anchors.fill: parent
        color: intrf.nullRegionColor
    }

    // A click beside the menu closes it.
    MouseArea {
        objectName: "outsideArea"
        anchors.fill: parent
        onClicked: popupmenu.hide()
    }

    Rectangle {
        id: box
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.leftMargin: popupmenu.hMargin
        anchors.rightMargin: popupmenu.hMargin
        anchors.verticalCenter: parent.verticalCenter
        height: column.height + 2 * popupmenu.vMargin
        color: intrf.menuColor
        radius: intrf.controlRadius

        // Clicks inside the menu but off the entries stay in the menu.
        MouseArea {
            anchors.fill: parent
        }

        Column {
            id: column
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.top: parent.top
            anchors.topMargin: popupmenu.vMargin

            Text {
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.leftMargin: popupmenu.hMargin
                anchors.rightMargin: popupmenu.hMargin
                text: popupmenu.title
                color: intrf.menuTextColor
                font.pixelSize: Math.max(1, intrf.menuTextSize * 1.25)
                font.bold: true
                elide: Text.ElideRight
            }

            Repeater {
                objectName: "menuEntries"
                model: popupmenu.model

                Rectangle {
                    id: entryRow
                    objectName: "menuEntry"
                    property string entryText: typeof modelData === "object" ? modelData.text : modelData
                    width: column.width
                    height: 3 * intrf.textSize
                    color: entryArea.pressed ? intrf.accentColor : "transparent"

                    Rectangle {
                        anchors.left: parent.left
                        anchors.right: parent.right
                        anchors.top: parent.top
                        height: 1
                        color: intrf.menuLineColor
                    }

                    Text {
                        anchors.left: parent.left
                        anchors.right: parent.right
                        anchors.leftMargin: popupmenu.hMargin
                        anchors.rightMargin: popupmenu.hMargin
                        anchors.verticalCenter: parent.verticalCenter
                        text: entryRow.entryText
                        color: intrf.menuTextColor
                        font.pixelSize: Math.max(1, intrf.menuTextSize)
                        elide: Text.ElideRight
                    }

                    MouseArea {
                        id: entryArea
                        anchors.fill: parent
                        onClicked: {
                            popupmenu.hide()
                            popupmenu.chosen(modelData)
                            if (popupmenu.command !== "")
                                intrf.postCommand(popupmenu.command, entryRow.entryText)
                        }
                    }
                }
            }
        }
    }
}
