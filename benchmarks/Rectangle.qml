import QtQuick 2.2

Rectangle {
    width: 300
    height: 600
    color: "#f0f0f0"
}
