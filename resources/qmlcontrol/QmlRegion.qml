import QtQuick 2.2
import wregion 1.0

// A free-form hot spot. The polygon is drawn by the native item; in edit mode
// the region edits itself (vertices, insert, delete, drag) instead of taking
// a selection overlay.
Item {
    id: region
    visible: false
    width: 120
    height: 90
    z: 5

    property color fieldColor: intrf.fieldColor
    property color borderColor: intrf.borderColor
    property real borderWidth: 1
    property real trueWidth: borderWidth * intrf.pixelScale
    property bool selEnable: false
    // The vertices as the native item last set them, for QML that wants them.
    property var model: []

    onFieldColorChanged: wwidget.setFieldColor(fieldColor)
    onBorderColorChanged: wwidget.setBorderColor(borderColor)
    onTrueWidthChanged: wwidget.setBorderWidth(trueWidth)
    // The first frame draws in the colours given at creation.
    Component.onCompleted: {
        wwidget.setFieldColor(fieldColor)
        wwidget.setBorderColor(borderColor)
        wwidget.setBorderWidth(trueWidth)
    }

    WRegion {
        id: wwidget
        objectName: "widget"
        anchors.fill: parent
    }

    // Reaches 3 pixels beyond the item so handles on its boundary can be
    // grabbed; the native side takes the 3 pixels off again.
    MouseArea {
        objectName: "regionArea"
        anchors.fill: parent
        anchors.margins: -3

        onPressed: {
            if (intrf.editModeEnable) {
                mouse.accepted = wwidget.editWidget(mouse.x, mouse.y, mouse.modifiers,
                                                    Qt.GestureStarted)
                if (mouse.accepted)
                    region.forceActiveFocus()
            } else {
                mouse.accepted = wwidget.outputPressed(mouse.x, mouse.y)
            }
        }
        onPositionChanged: {
            if (intrf.editModeEnable)
                wwidget.editWidget(mouse.x, mouse.y, mouse.modifiers, Qt.GestureUpdated)
        }
        onReleased: {
            if (intrf.editModeEnable)
                wwidget.editWidget(mouse.x, mouse.y, mouse.modifiers, Qt.GestureFinished)
        }
        onDoubleClicked: intrf.doubleClickControl()
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

    // Only while the region sits on a canvas: taking it down must not end
    // anything.
    onVisibleChanged: {
        if (!region.parent)
            return
        intrf.cancelEdit()
    }
}
