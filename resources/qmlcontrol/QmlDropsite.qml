import QtQuick 2.2
import wdropsite 1.0

Rectangle {
    id: dropsite
    visible: false
    width: 200
    height: 200

    property bool enableDrop: true
    property bool enableProperties: false
    property real textScale: 1.0
    property string label: ""
    property int textFormat: Text.RichText
    property bool selEnable: false

    // Once it holds a control the site steps out of sight.
    radius: 4 * intrf.pixelScale
    border.width: enableDrop ? 1 : 0
    border.color: enableDrop ? intrf.borderColor : "transparent"
    gradient: Gradient {
        GradientStop { position: 0.0; color: dropsite.enableDrop ? intrf.fieldColor : "transparent" }
        GradientStop { position: 1.0; color: dropsite.enableDrop ? intrf.canvasColor : "transparent" }
    }

    Text {
        objectName: "siteLabel"
        anchors.centerIn: parent
        visible: dropsite.enableDrop
        text: dropsite.label
        textFormat: dropsite.textFormat
        color: intrf.textColor
        font.pixelSize: Math.max(1, intrf.textSize * dropsite.textScale)
    }

    DropArea {
        objectName: "siteDropArea"
        anchors.fill: parent
        keys: ["application/dropsite"]
        onDropped: {
            intrf.dropSite(drop.text, drop.getDataAsString("application/dropsite"), wwidget)
            drop.acceptProposedAction()
        }
    }

    WDropSite {
        id: wwidget
        objectName: "widget"
    }
}
