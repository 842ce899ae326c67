import QtQuick 2.2
import wimage 1.0

Item {
    id: imageItem
    visible: false
    width: 75
    height: 20

    property real imageSize: 1.0
    property string path: ""
    property real ratio: 1
    property bool selEnable: true

    Image {
        id: picture
        anchors.centerIn: parent
        height: imageItem.height * imageItem.imageSize
        width: height * imageItem.ratio
        source: imageItem.path
        fillMode: Image.PreserveAspectFit
        smooth: true
        asynchronous: false
        onStatusChanged: {
            if (status === Image.Ready && sourceSize.height > 0)
                imageItem.ratio = sourceSize.width / sourceSize.height
        }
    }

    WImage {
        id: wwidget
        objectName: "widget"
    }
}
