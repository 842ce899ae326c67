import QtQuick 2.2

// The standard tool bar: header title, connection indicator and the set-up
// menu button.
Rectangle {
    id: toolbar
    anchors.fill: parent
    color: intrf.toolBarColor

    property real ratio: intrf.toolBarHeightRatio
    property real spacing: width * intrf.toolBarSpacingRatio

    onHeightChanged: {
        intrf.toolBarImageSize = height * 0.4375
        intrf.toolBarTextSize = height * 0.375
    }

    Rectangle {
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        height: 1
        color: intrf.toolBarShadow
    }

    Text {
        id: title
        objectName: "headerTitle"
        anchors.left: parent.left
        anchors.right: connected.left
        anchors.leftMargin: toolbar.spacing * 2
        anchors.rightMargin: toolbar.spacing
        anchors.verticalCenter: parent.verticalCenter
        text: intrf.headerTitle
        elide: Text.ElideRight
        horizontalAlignment: Text.AlignLeft
        color: intrf.toolBarTextColor
        font.pixelSize: Math.max(1, intrf.toolBarTextSize)
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
