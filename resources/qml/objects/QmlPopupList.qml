import QtQuick 2.2

// The choices of a drop list over the whole canvas. A press highlights an
// entry, its release chooses it; a click beside the list, or cancel, closes
// it without a choice.
Item {
    id: popuplist
    anchors.fill: parent
    z: 10

    property alias model: list.model
    property alias index: list.currentIndex
    property bool cancel: false

    signal listClick(int index)

    onCancelChanged: {
        if (cancel)
            listClick(-1)
    }

    Rectangle {
        anchors.fill: parent
        color: intrf.nullRegionColor
    }

    MouseArea {
        objectName: "outsideArea"
        anchors.fill: parent
        onClicked: popuplist.listClick(-1)
    }

    Rectangle {
        id: box
        anchors.centerIn: parent
        width: parent.width * 0.8
        height: Math.min(list.count * 3 * intrf.menuTextSize, parent.height * 0.75)
        color: intrf.menuColor
        radius: intrf.controlRadius
        border.color: intrf.menuLineColor
        border.width: 1
        clip: true

        // Clicks inside the box but off the entries keep the list open.
        MouseArea {
            anchors.fill: parent
        }

        ListView {
            id: list
            objectName: "popupListView"
            anchors.fill: parent
            boundsBehavior: Flickable.StopAtBounds
            delegate: Rectangle {
                width: list.width
                height: 3 * intrf.menuTextSize
                color: index === list.currentIndex ? intrf.accentColor : "transparent"

                Text {
                    anchors.fill: parent
                    anchors.leftMargin: intrf.menuTextSize
                    anchors.rightMargin: intrf.menuTextSize
                    text: modelData
                    color: intrf.menuTextColor
                    font.pixelSize: Math.max(1, intrf.menuTextSize)
                    verticalAlignment: Text.AlignVCenter
                    elide: Text.ElideRight
                }

                MouseArea {
                    anchors.fill: parent
                    onPressed: list.currentIndex = index
                    onReleased: popuplist.listClick(index)
                }
            }
        }
    }
}
