import QtQuick
import QtQuick.Controls

// A row of the player list: the player's name as plain text, removed by a
// swipe to the left or by its delete control.
SwipeDelegate {
    id: row

    required property int index
    required property var model
    property string fontFamily

    signal deleteRequested(int row)

    height: 40
    text: row.model.text
    background: Rectangle { color: row.down ? "#303030" : "transparent" }
    contentItem: Text {
        text: row.text
        textFormat: Text.PlainText
        color: "yellow"
        font.family: row.fontFamily
        font.pointSize: 20
        font.bold: true
        elide: Text.ElideRight
        verticalAlignment: Text.AlignVCenter
        rightPadding: deleteButton.width
    }

    swipe.right: Rectangle {
        width: 100
        height: row.height
        anchors.right: parent.right
        color: "#b00020"

        Text {
            anchors.centerIn: parent
            text: "Delete"
            color: "white"
            font.family: row.fontFamily
            font.pointSize: 14
        }
        MouseArea {
            anchors.fill: parent
            onClicked: row.deleteRequested(row.index)
        }
    }

    ToolButton {
        id: deleteButton
        objectName: "PlayerRowDelete"
        anchors.right: parent.right
        anchors.verticalCenter: parent.verticalCenter
        text: "\u2715"
        palette.buttonText: "white"
        onClicked: row.deleteRequested(row.index)
    }
}
