import QtQuick 2.2
import mqmlinterface 1.0
import "objects"

// The canvas: a top row, the control area and a bottom row. The rows are the
// documents named by topRow and bottomRow; "?" or an empty path leaves a row
// empty.
Canvas {
    id: canvas
    width: 282
    height: 502

    property string topRow: ""
    property string bottomRow: ""
    property var topObject: null
    property var bottomObject: null

    function loadComponent(path, owner) {
        var component = Qt.createComponent(path)
        if (component.status === Component.Ready)
            return component.createObject(owner)
        if (component.status === Component.Error)
            console.warn(component.errorString())
        return 0
    }

    function loadRow(path, owner) {
        if (path === "" || path === "?")
            return null
        var row = loadComponent(path, owner)
        return row ? row : null
    }

    function resetCanvas() {
        topRow = intrf.topRow
        bottomRow = intrf.bottomRow
    }

    // Takes the row off the canvas at once; destroying it is deferred.
    function unloadRow(row) {
        if (!row)
            return
        row.visible = false
        row.parent = null
        row.destroy()
    }

    function reloadCanvas() {
        unloadRow(topObject)
        unloadRow(bottomObject)
        topObject = loadRow(topRow, topArea)
        bottomObject = loadRow(bottomRow, bottomArea)
    }

    onWidthChanged: intrf.canvasResize()
    onHeightChanged: intrf.canvasResize()

    Item {
        id: topArea
        objectName: "topArea"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        height: canvas.topObject ? canvas.height * canvas.topObject.ratio : 0
    }

    Item {
        id: content
        objectName: "contentSlot"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: topArea.bottom
        anchors.bottom: bottomArea.top
        z: -1

        QmlControlObject {
            id: controlObject
            anchors.fill: parent
        }
    }

    Item {
        id: bottomArea
        objectName: "bottomArea"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        height: canvas.bottomObject ? canvas.height * canvas.bottomObject.ratio : 0
    }

    Component.onCompleted: {
        resetCanvas()
        reloadCanvas()
        intrf.setObject("QmlCanvas", canvas)
    }
}
