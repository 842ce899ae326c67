import QtQuick 2.2
import wdroplist 1.0

Item {
    id: droplist
    visible: false
    width: 150
    height: 30

    property int currentIndex: -1
    property string currentText: ""
    property int textSize: height * 0.5625
    property bool selEnable: true
    property bool hasBorder: false
    property alias horizontalAlignment: caption.horizontalAlignment

    Rectangle {
        id: box
        anchors.fill: parent
        color: "transparent"
        radius: droplist.height * 0.125
        border.width: droplist.hasBorder ? 1 : 0
        border.color: droplist.hasBorder ? intrf.linkInActive : "transparent"
    }

    Text {
        id: caption
        anchors.fill: parent
        anchors.leftMargin: droplist.height * 0.25
        anchors.rightMargin: arrow.width + droplist.height * 0.3
        text: droplist.currentText
        color: intrf.accentColor
        font.pixelSize: Math.max(1, droplist.textSize)
        horizontalAlignment: Text.AlignLeft
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
    }

    Image {
        id: arrow
        height: droplist.height * 0.375
        width: height * 1.7
        anchors.right: parent.right
        anchors.rightMargin: droplist.height * 0.25
        anchors.verticalCenter: parent.verticalCenter
        source: intrf.downArrow
        fillMode: Image.Stretch
        smooth: true
    }

    MouseArea {
        objectName: "openArea"
        anchors.fill: parent
        enabled: !intrf.editModeEnable
        onClicked: {
            var component = Qt.createComponent("qrc:/qml/objects/QmlPopupList.qml")
            if (component.status === Component.Ready)
                wwidget.popupList(component.createObject(droplist.parent))
        }
    }

    WDropList {
        id: wwidget
        objectName: "widget"
    }
}
