// One player's panel: the avatar with the card count written large over it,
// the name below. Texts come from the network and are shown as plain text;
// the design font sizes are maxima, shrunk to fit a small cell.
import QtQuick
import VantCards

Item {
    width: 320
    height: 240

    Text {
        id: labelPlayerName
        objectName: "LabelPlayerName"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        height: 40
        textFormat: Text.PlainText
        font.pixelSize: 30
        font.bold: true
        color: "yellow"
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        fontSizeMode: Text.Fit
        minimumPixelSize: 12
        elide: Text.ElideRight
    }

    Item {
        objectName: "Layout1"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.bottom: labelPlayerName.top

        BitmapImage {
            objectName: "ImagePlayer"
            anchors.fill: parent

            Text {
                objectName: "LabelCardCount"
                anchors.fill: parent
                text: "XXX Cards Left"
                textFormat: Text.PlainText
                font.pixelSize: 40
                font.bold: true
                color: "white"
                // An outline keeps the count readable over light avatars.
                style: Text.Outline
                styleColor: "black"
                horizontalAlignment: Text.AlignHCenter
                verticalAlignment: Text.AlignVCenter
                wrapMode: Text.Wrap
                fontSizeMode: Text.Fit
                minimumPixelSize: 8
                elide: Text.ElideRight
            }
        }
    }
}
