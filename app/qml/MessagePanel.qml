import QtQuick

// One of the three turn messages of the bottom bar, filling it.
Item {
    id: panel

    required property string labelName
    required property string text

    anchors.fill: parent

    Text {
        objectName: panel.labelName
        anchors.fill: parent
        text: panel.text
        textFormat: Text.PlainText
        color: "white"
        font.family: "DejaVu Sans"
        font.pointSize: 24
        font.bold: true
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        // The longest message is wider than the bar at 24 pt.
        fontSizeMode: Text.Fit
        minimumPointSize: 10
    }
}
