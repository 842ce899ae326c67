import QtQuick 2.2

// The selection overlay of a control in edit mode: it selects, drags and
// resizes the control and nudges it with the arrow keys.
Item {
    id: selector
    anchors.fill: parent
    z: 20

    property bool vis: false
    property bool enableedit: true

    signal select(int keys)

    Rectangle {
        objectName: "selectionFrame"
        anchors.fill: parent
        color: "transparent"
        border.width: 2
        border.color: intrf.editColor
        visible: selector.vis
    }

    MouseArea {
        id: body
        objectName: "selectArea"
        anchors.fill: parent
        property real pressX: 0
        property real pressY: 0

        onPressed: {
            selector.forceActiveFocus()
            pressX = mouse.x
            pressY = mouse.y
            selector.select(mouse.modifiers)
            intrf.moveControl(0, 0, Qt.GestureStarted)
        }
        // The item follows the drag, so the offset from the press point is
        // the movement since the last report.
        onPositionChanged: intrf.moveControl(mouse.x - pressX, mouse.y - pressY, Qt.GestureUpdated)
        onReleased: intrf.moveControl(mouse.x - pressX, mouse.y - pressY, Qt.GestureFinished)
        onDoubleClicked: intrf.doubleClickControl()
    }

    Rectangle {
        objectName: "rightHandle"
        width: 7
        height: 7
        x: selector.width - width / 2
        y: (selector.height - height) / 2
        visible: selector.enableedit
        color: intrf.editColor

        MouseArea {
            anchors.fill: parent
            property real pressX: 0
            // The edge resizes the selection: its control joins it first,
            // as a press on the body would.
            onPressed: {
                pressX = mouse.x
                selector.select(mouse.modifiers)
                intrf.resizeControl(0, 0, Qt.RightEdge, Qt.GestureStarted)
            }
            onPositionChanged: intrf.resizeControl(mouse.x - pressX, 0, Qt.RightEdge, Qt.GestureUpdated)
            onReleased: intrf.resizeControl(mouse.x - pressX, 0, Qt.RightEdge, Qt.GestureFinished)
        }
    }

    Rectangle {
        objectName: "bottomHandle"
        width: 7
        height: 7
        x: (selector.width - width) / 2
        y: selector.height - height / 2
        visible: selector.enableedit
        color: intrf.editColor

        MouseArea {
            anchors.fill: parent
            property real pressY: 0
            onPressed: {
                pressY = mouse.y
                selector.select(mouse.modifiers)
                intrf.resizeControl(0, 0, Qt.BottomEdge, Qt.GestureStarted)
            }
            onPositionChanged: intrf.resizeControl(0, mouse.y - pressY, Qt.BottomEdge, Qt.GestureUpdated)
            onReleased: intrf.resizeControl(0, mouse.y - pressY, Qt.BottomEdge, Qt.GestureFinished)
        }
    }

    function isArrow(key) {
        return key === Qt.Key_Left || key === Qt.Key_Up || key === Qt.Key_Right
                || key === Qt.Key_Down
    }

    // Only the arrows are taken; every other key goes on to the window.
    Keys.onPressed: {
        intrf.keyEvent(event.key, event.modifiers, event.isAutoRepeat, Qt.GestureStarted)
        event.accepted = isArrow(event.key)
    }
    Keys.onReleased: {
        intrf.keyEvent(event.key, event.modifiers, event.isAutoRepeat, Qt.GestureFinished)
        event.accepted = isArrow(event.key)
    }

    // Only while the overlay sits on a control: taking it down must not end
    // anything.
    onVisibleChanged: {
        if (!selector || !selector.parent)
            return
        selector.vis = false
        intrf.cancelEdit()
    }
}
