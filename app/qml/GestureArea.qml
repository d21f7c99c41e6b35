import QtQuick

// Double clicks and the standard leftward swipe (gesture id 1) on a strip.
// Other swipe directions are ignored.
MouseArea {
    id: area

    signal swipedLeft()

    // How far, in pixels, the pointer must travel to the left.
    property real sensitivity: 80
    property point pressPoint

    onPressed: (mouse) => { area.pressPoint = Qt.point(mouse.x, mouse.y) }
    onReleased: (mouse) => {
        const dx = mouse.x - area.pressPoint.x
        const dy = mouse.y - area.pressPoint.y
        if (dx <= -area.sensitivity && Math.abs(dy) < Math.abs(dx) / 2)
            area.swipedLeft()
    }
}
