import QtQuick 2.2
import wframe 1.0

Rectangle {
    id: bounds
    visible: false
    width: 200
    height: 200

    property bool selEnable: false

    color: "transparent"
    border.width: 1
    border.color: "transparent"

    WFrame {
        id: wwidget
        objectName: "widget"
    }
}
