import QtQuick 2.2

// The status bar: arrows that step through the pages, the collection title
// that opens the collections menu, and one dot per page.
Rectangle {
    id: statusbar
    anchors.fill: parent
    color: intrf.statusBarColor

    property real ratio: intrf.statusBarHeightRatio

    onHeightChanged: {
        intrf.statusBarArrowHeight = height * 0.375
        intrf.statusBarTextSize = height * 0.3125
    }

    Rectangle {
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        height: 1
        color: intrf.statusBarShadow
    }

    Rectangle {
        id: leftButton
        anchors.left: parent.left
        anchors.top: parent.top
        anchors.bottom: parent.bottom
        width: height
        color: leftArea.pressed ? intrf.accentColor : "transparent"

        Image {
            anchors.centerIn: parent
            height: intrf.statusBarArrowHeight
            width: height * 0.574
            fillMode: Image.PreserveAspectFit
            source: intrf.leftArrow
        }

        MouseArea {
            id: leftArea
            objectName: "leftArrowArea"
            anchors.fill: parent
            onPressed: intrf.postCommand("event", "leftarrow")
        }
    }

    Rectangle {
        id: rightButton
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.bottom: parent.bottom
        width: height
        color: rightArea.pressed ? intrf.accentColor : "transparent"

        Image {
            anchors.centerIn: parent
            height: intrf.statusBarArrowHeight
            width: height * 0.574
            fillMode: Image.PreserveAspectFit
            source: intrf.rightArrow
        }

        MouseArea {
            id: rightArea
            objectName: "rightArrowArea"
            anchors.fill: parent
            onPressed: intrf.postCommand("event", "rightarrow")
        }
    }

    Item {
        id: centre
        anchors.fill: parent
        anchors.leftMargin: statusbar.height * 1.5
        anchors.rightMargin: statusbar.height * 1.5

        Text {
            id: sceneTitle
            objectName: "sceneTitle"
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.top: parent.top
            height: parent.height * 0.5
            text: intrf.sceneTitle
            elide: Text.ElideRight
            horizontalAlignment: Text.AlignHCenter
            verticalAlignment: Text.AlignVCenter
            color: intrf.statusBarTextColor
            font.pixelSize: Math.max(1, intrf.statusBarTextSize)

            MouseArea {
                objectName: "sceneTitleArea"
                anchors.fill: parent
                onPressed: collectionsMenu.popup()
            }
        }

        Item {
            id: indicator
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.top: sceneTitle.bottom
            anchors.bottom: parent.bottom

            Row {
                anchors.centerIn: parent
                spacing: 10

                Repeater {
                    objectName: "pageDots"
                    model: intrf.pageCount

                    Rectangle {
                        width: indicator.height * 0.4375
                        height: width
                        radius: width / 2
                        color: index === intrf.pageIndex ? intrf.accentColor : intrf.pageInActive
                    }
                }
            }
        }
    }

    QmlPopupMenu {
        id: collectionsMenu
        objectName: "collectionsMenu"
        title: qsTr("Collections")
        model: sceneMenuData
        command: "scene"
    }
}
