import QtQuick
import QtQuick.Controls

// The window's message dialog, driven by TQuickDialogService: a modal
// dialog with OK, or Yes and No, showing its text as plain text.
Dialog {
    id: box

    // TMsgDlgType: warning, error, information, confirmation.
    property int dialogType: 0
    property string messageText
    property bool yesNo: false
    // TMsgDlgBtn: OK, Yes, No.
    property int defaultButton: 0
    property string fontFamily

    parent: Overlay.overlay
    anchors.centerIn: parent
    width: Math.min(480, parent ? parent.width - 40 : 480)
    modal: true
    closePolicy: Popup.CloseOnEscape
    title: ["Warning", "Error", "Information", "Confirmation"][dialogType] ?? ""
    font.family: fontFamily
    standardButtons: yesNo ? (Dialog.Yes | Dialog.No) : Dialog.Ok

    onOpened: {
        const button = standardButton([Dialog.Ok, Dialog.Yes, Dialog.No][defaultButton] ?? Dialog.Ok)
        if (button)
            button.forceActiveFocus()
    }

    Label {
        objectName: "DialogMessageText"
        width: box.availableWidth
        text: box.messageText
        textFormat: Text.PlainText
        wrapMode: Text.Wrap
    }
}
