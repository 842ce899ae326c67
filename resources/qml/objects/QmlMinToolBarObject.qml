import QtQuick 2.2

// The minimal tool bar: connection indicator and set-up menu button only.
Rectangle {
    id: toolbar
    anchors.fill: parent
    color: intrf.toolBarColor

    property real ratio: intrf.toolBarHeightRatio * 0.625
    property real spacing: width * intrf.toolBarSpacingRatio

    onHeightChanged: intrf.toolBarImageSize = height * 0.7

    Rectangle {
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        height: 1
        color: intrf.toolBarShadow
    }

    Image {
        id: connected
        objectName: "connected"
        anchors.right: setup.left
        anchors.rightMargin: toolbar.spacing * 2
        anchors.verticalCenter: parent.verticalCenter
        height: intrf.toolBarImageSize
        width: height
        fillMode: Image.PreserveAspectFit
        source: intrf.connectInd
        Component.onCompleted: intrf.setObject("Connected", connected)
    }

    Image {
        id: setup
        objectName: "setupButton"
        anchors.right: parent.right
        anchors.rightMargin: toolbar.spacing * 2
        anchors.verticalCenter: parent.verticalCenter
        height: intrf.toolBarImageSize
        width: height
        fillMode: Image.PreserveAspectFit
        source: intrf.setupButton

        MouseArea {
            objectName: "setupButtonArea"
            anchors.fill: parent
            anchors.margins: -10
            onClicked: {
                intrf.closeSignal()
                setupMenu.popup()
            }
        }
    }

    QmlPopupMenu {
        id: setupMenu
        objectName: "setupMenu"
        title: qsTr("Setup")
        model: setupMenuData
        onChosen: function(entry) { intrf.setupMenuChoice(entry.id) }
    }
}
