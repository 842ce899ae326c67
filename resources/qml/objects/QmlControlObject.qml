import QtQuick 2.2
import QtQuick.Controls 1.1

// The control area: parent of every control item, and the area whose size
// the canvas scale follows.
Rectangle {
    id: controlObject
    objectName: "controlObject"
    color: intrf.canvasColor

    Component.onCompleted: intrf.setObject("QmlView", controlObject)

    onHeightChanged: {
        if (height > 0) {
            intrf.canvasResize()
            intrf.menuTextSize = height * 0.0375
            intrf.dialogTextSize = height * 0.03125
        }
    }

    // A press on empty canvas ends the edit gesture in progress; the control
    // items lie above this area and take their own presses.
    MouseArea {
        id: cancelArea
        objectName: "cancelArea"
        anchors.fill: parent
        enabled: intrf.editModeEnable
        onPressed: intrf.cancelEdit()
    }

    MouseArea {
        id: contextArea
        objectName: "contextArea"
        anchors.fill: parent
        acceptedButtons: Qt.RightButton
        enabled: intrf.rightClickEnable
        onClicked: contextMenu.popup()
    }

    Menu {
        id: contextMenu
        MenuItem {
            text: qsTr("Layout...")
            onTriggered: intrf.panelSetup()
        }
    }

    DropArea {
        objectName: "panelDropArea"
        anchors.fill: parent
        keys: ["application/panel"]
        onDropped: {
            intrf.dropPanel(drop.text, drop.getDataAsString("application/panel"))
            drop.acceptProposedAction()
        }
    }

    DropArea {
        objectName: "controlDropArea"
        anchors.fill: parent
        keys: ["application/control"]
        onDropped: {
            intrf.dropControl(drop.text, drop.getDataAsString("application/control"),
                              drop.x, drop.y)
            drop.acceptProposedAction()
        }
    }

    DropArea {
        objectName: "linkDropArea"
        anchors.fill: parent
        keys: ["application/link"]
        onDropped: {
            intrf.dropLink(drop.text, drop.getDataAsString("application/link"), drop.x, drop.y)
            drop.acceptProposedAction()
        }
    }
}
