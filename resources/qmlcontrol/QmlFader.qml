import QtQuick 2.2
import wslider 1.0

Item {
    id: fader
    visible: false
    width: 25
    height: 320
    enabled: !intrf.editModeEnable

    property real minimumValue: 0
    property real maximumValue: 128
    property int value: 0
    property int scrollby: 2
    property real knobSize: width
    property color knobColor: intrf.canvasColor
    property real scale: 1
    property bool invert: true
    property bool bipolar: false
    property bool selEnable: false

    // The knob's travel: its top edge runs from 0 to travel.
    readonly property real travel: Math.max(0, height - knobSize)

    function recompute() {
        scale = travel > 0 ? (maximumValue - minimumValue) / travel : 1
        placeKnob()
    }
    function placeKnob() {
        var p = scale !== 0 ? (value - minimumValue) / scale : 0
        if (invert)
            p = travel - p
        knob.y = Math.max(0, Math.min(travel, p))
    }
    function valueAt(p) {
        if (invert)
            p = travel - p
        return Math.round(scale * p + minimumValue)
    }
    function offsetValue(offset) {
        value = Math.max(minimumValue, Math.min(maximumValue, value + offset))
        placeKnob()
    }

    onHeightChanged: recompute()
    onKnobSizeChanged: recompute()
    onMinimumValueChanged: recompute()
    onMaximumValueChanged: recompute()
    onInvertChanged: placeKnob()
    Component.onCompleted: recompute()
    onValueChanged: {
        if (!dragArea.dragging)
            placeKnob()
        wwidget.outputValue(value)
    }

    Rectangle {
        id: groove
        width: fader.width / 4
        height: fader.travel
        anchors.horizontalCenter: parent.horizontalCenter
        y: fader.knobSize / 2
        border.width: 1
        border.color: intrf.borderColor
        color: "transparent"

        // Split at the knob's centre: the minimum's side in the accent colour.
        readonly property real split: knob.y
        readonly property color farColor: fader.bipolar ? intrf.accentColor : intrf.grooveColor1

        Rectangle {
            x: 1
            y: 1
            width: parent.width - 2
            height: Math.max(0, groove.split - 1)
            color: fader.invert ? groove.farColor : intrf.accentColor
        }
        Rectangle {
            x: 1
            y: groove.split
            width: parent.width - 2
            height: Math.max(0, groove.height - groove.split - 1)
            color: fader.invert ? intrf.accentColor : groove.farColor
        }
    }

    Rectangle {
        id: knob
        width: fader.knobSize
        height: fader.knobSize
        radius: fader.knobSize / 2
        anchors.horizontalCenter: parent.horizontalCenter
        color: fader.knobColor
        border.color: intrf.accentColor
        border.width: 2 * intrf.pixelScale
    }

    MouseArea {
        id: dragArea
        objectName: "dragArea"
        property bool dragging: false
        property real pressY: 0
        property real pressKnobY: 0
        // The knob is easier to catch than to see.
        readonly property real senseWidth: fader.knobSize * 1.75
        readonly property real senseHeight: fader.knobSize * 2.5

        width: fader.width * 1.75
        height: fader.height + senseHeight - fader.knobSize
        anchors.centerIn: parent

        onPressed: {
            var top = (height - fader.height) / 2
            var centreY = top + knob.y + fader.knobSize / 2
            dragging = Math.abs(mouse.x - width / 2) <= senseWidth / 2 &&
                    Math.abs(mouse.y - centreY) <= senseHeight / 2
            pressY = mouse.y
            pressKnobY = knob.y
            mouse.accepted = dragging
        }
        onPositionChanged: {
            if (!dragging)
                return
            var p = Math.max(0, Math.min(fader.travel, pressKnobY + mouse.y - pressY))
            knob.y = p
            fader.value = fader.valueAt(p)
        }
        onReleased: {
            dragging = false
            fader.placeKnob()
        }
        onCanceled: {
            dragging = false
            fader.placeKnob()
        }
    }

    WSlider {
        id: wwidget
        objectName: "widget"
    }
}
