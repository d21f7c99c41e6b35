import QtQuick

// A card count over the deck or the boneyard picture.
Text {
    anchors.fill: parent
    text: "0"
    textFormat: Text.PlainText
    font.family: "DejaVu Sans"
    font.pointSize: 30
    font.bold: true
    horizontalAlignment: Text.AlignHCenter
    verticalAlignment: Text.AlignVCenter
}
