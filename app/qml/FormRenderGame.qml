import QtQuick
import QtQuick.Controls

// The game screen. Every control carries its name as objectName; the C++
// form (TFormRenderGame) binds them by name and receives every event
// through its handlers, called by name.
Window {
    id: formRenderGame
    objectName: "FormRenderGame"

    required property QtObject form

    // True while the tree is being built: layout changes then raise no
    // resize events (the C++ form clears it once it has bound the controls).
    property bool loading: true
    property bool shown: false
    readonly property string fontFamily: "DejaVu Sans"
    readonly property string picturePath: "qrc:/res/pictures/"

    width: 1013
    height: 597
    visible: false
    color: "black"
    title: "FormRenderGame"

    onWidthChanged: if (!loading) formRenderGame.form.FormResize(formRenderGame)
    onHeightChanged: if (!loading) formRenderGame.form.FormResize(formRenderGame)
    onVisibleChanged: {
        if (visible && !shown) {
            shown = true
            formRenderGame.form.FormShow(formRenderGame)
        }
    }
    onClosing: formRenderGame.form.FormClose(formRenderGame)

    // Releases over no other control reach the window.
    MouseArea {
        anchors.fill: parent
        onReleased: (mouse) => formRenderGame.form.FormMouseUp(formRenderGame, mouse.button, mouse.modifiers, mouse.x, mouse.y)
    }

    Rectangle {
        id: rectangleBackground
        objectName: "RectangleBackground"
        anchors.fill: parent
        color: "#0d3b22"

        Image {
            anchors.fill: parent
            source: formRenderGame.picturePath + "background.svg"
            sourceSize.width: width
            sourceSize.height: height
            fillMode: Image.Stretch
        }
    }

    Item {
        id: layoutCards
        objectName: "LayoutCards"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: layoutBottom.top
        height: 165
    }

    Item {
        id: layoutBottom
        objectName: "LayoutBottom"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        height: 53

        Rectangle {
            id: colorButton1
            objectName: "ColorButton1"
            anchors.left: parent.left
            anchors.top: parent.top
            anchors.bottom: parent.bottom
            width: 80
            color: "black"
            border.color: "#a0a0a0"
            border.width: 3

            MouseArea {
                anchors.fill: parent
                onClicked: formRenderGame.form.ColorButton1Click(colorButton1)
            }
        }

        Item {
            id: layout2
            objectName: "Layout2"
            anchors.left: colorButton1.right
            anchors.right: buttonEndTurn.visible ? buttonEndTurn.left : parent.right
            anchors.top: parent.top
            anchors.bottom: parent.bottom

            Item {
                id: layoutStatus
                objectName: "LayoutStatus"
                anchors.fill: parent

                MouseArea {
                    anchors.fill: parent
                    onClicked: formRenderGame.form.LayoutStatusClick(layoutStatus)
                }

                Rectangle {
                    id: rectangle5
                    objectName: "Rectangle5"
                    anchors.fill: parent
                    color: "black"
                    opacity: 0.8
                }

                NumberAnimation {
                    objectName: "FloatAnimationShowStatus"
                    target: layoutStatus
                    property: "opacity"
                    from: 0
                    to: 1
                    duration: 200
                }

                Text {
                    id: labelStatus
                    objectName: "LabelStatus"
                    anchors.left: parent.left
                    anchors.right: image1.left
                    anchors.top: parent.top
                    anchors.bottom: parent.bottom
                    text: "LabelStatus"
                    textFormat: Text.PlainText
                    color: "white"
                    font.family: formRenderGame.fontFamily
                    font.pointSize: 12
                    horizontalAlignment: Text.AlignHCenter
                    verticalAlignment: Text.AlignVCenter
                    maximumLineCount: 1
                    elide: Text.ElideRight
                }

                Image {
                    id: image1
                    objectName: "Image1"
                    anchors.right: parent.right
                    anchors.top: parent.top
                    anchors.bottom: parent.bottom
                    width: 65
                    source: formRenderGame.picturePath + "server.svg"
                    sourceSize.width: 128
                    sourceSize.height: 128
                    fillMode: Image.PreserveAspectFit

                    MouseArea {
                        anchors.fill: parent
                        onClicked: formRenderGame.form.Image1Click(image1)
                    }
                }
            }

            Item {
                id: layoutMessages
                objectName: "LayoutMessages"
                anchors.fill: parent

                MouseArea {
                    anchors.fill: parent
                    onClicked: formRenderGame.form.LayoutMessagesClick(layoutMessages)
                }

                MessagePanel {
                    objectName: "LayoutKill"
                    labelName: "Label3"
                    text: "Defender.  Kill the cards or pick them up"
                }
                MessagePanel {
                    objectName: "LayoutPlay"
                    labelName: "Label1"
                    text: "You can play cards of the same value as already played"
                }
                MessagePanel {
                    objectName: "LayoutSend"
                    labelName: "Label2"
                    text: "Send cards to next player"
                }
            }
        }

        Item {
            id: buttonEndTurn
            objectName: "ButtonEndTurn"
            anchors.right: parent.right
            anchors.top: parent.top
            anchors.bottom: parent.bottom
            width: 84

            Image {
                objectName: "ImagePickUp"
                anchors.fill: parent
                source: formRenderGame.picturePath + "pickup.svg"
                sourceSize.width: width
                sourceSize.height: height
                fillMode: Image.PreserveAspectFit
            }
            Image {
                objectName: "ImageKill"
                anchors.fill: parent
                source: formRenderGame.picturePath + "kill.svg"
                sourceSize.width: width
                sourceSize.height: height
                fillMode: Image.PreserveAspectFit
            }
            Text {
                objectName: "LabelEndTurn"
                anchors.fill: parent
                text: "Label"
                textFormat: Text.PlainText
                color: "yellow"
                font.family: formRenderGame.fontFamily
                font.pointSize: 18
                font.bold: true
                horizontalAlignment: Text.AlignHCenter
                verticalAlignment: Text.AlignVCenter
                fontSizeMode: Text.Fit
                minimumPointSize: 8
            }
            // The picture, the knife and the caption answer the same click.
            MouseArea {
                anchors.fill: parent
                onClicked: formRenderGame.form.ButtonEndTurn2Click(buttonEndTurn)
            }

            Rectangle {
                id: rectangleDisableEndTurn
                objectName: "RectangleDisableEndTurn"
                anchors.fill: parent
                color: "black"
                opacity: 0.5

                MouseArea {
                    anchors.fill: parent
                    onClicked: formRenderGame.form.RectangleDisableEndTurnClick(rectangleDisableEndTurn)
                }

                Text {
                    objectName: "LabelEndTurnTimer"
                    anchors.fill: parent
                    text: "5"
                    textFormat: Text.PlainText
                    color: "red"
                    font.family: formRenderGame.fontFamily
                    font.pointSize: 30
                    font.bold: true
                    horizontalAlignment: Text.AlignHCenter
                    verticalAlignment: Text.AlignVCenter
                }
            }
        }
    }

    Item {
        id: layoutTop
        objectName: "LayoutTop"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        height: 100

        GestureArea {
            anchors.fill: parent
            onDoubleClicked: formRenderGame.form.LayoutTopDblClick(layoutTop)
            onSwipedLeft: formRenderGame.form.LayoutTopGesture(layoutTop, 1)
        }

        Item {
            id: layoutPlayers
            objectName: "LayoutPlayers"
            anchors.left: parent.left
            anchors.right: imageDeal.left
            anchors.top: parent.top
            anchors.bottom: parent.bottom

            // In front of the player row, so that double clicks and swipes
            // on the strip reach it.
            Rectangle {
                id: rectanglePlayerTouchArea
                objectName: "RectanglePlayerTouchArea"
                x: 0
                y: 0
                z: 1
                width: 1013
                height: 100
                color: "black"
                opacity: 0

                GestureArea {
                    anchors.fill: parent
                    onDoubleClicked: formRenderGame.form.RectanglePlayerTouchAreaDblClick(rectanglePlayerTouchArea)
                    onSwipedLeft: formRenderGame.form.LayoutTopGesture(layoutTop, 1)
                }
            }
        }

        Image {
            id: imageDeal
            objectName: "ImageDeal"
            anchors.right: parent.right
            anchors.top: parent.top
            anchors.rightMargin: 10
            anchors.topMargin: 10
            width: 92
            height: 90
            source: formRenderGame.picturePath + "deal.svg"
            sourceSize.width: width
            sourceSize.height: height
            fillMode: Image.Stretch

            MouseArea {
                anchors.fill: parent
                onClicked: formRenderGame.form.ImageDealClick(imageDeal)
            }

            Rectangle {
                objectName: "Rectangle1"
                anchors.fill: parent
                color: "black"
                opacity: 0.5
            }

            Text {
                id: label6
                objectName: "Label6"
                anchors.fill: parent
                text: "Deal"
                textFormat: Text.PlainText
                color: "yellow"
                opacity: 0.5
                font.family: formRenderGame.fontFamily
                font.pointSize: 30
                font.bold: true
                // 30 pt bold is wider than the button; keep it inside.
                fontSizeMode: Text.HorizontalFit
                minimumPointSize: 10
                horizontalAlignment: Text.AlignHCenter
                verticalAlignment: Text.AlignVCenter

                MouseArea {
                    anchors.fill: parent
                    onClicked: formRenderGame.form.ImageDealClick(label6)
                }
            }
        }
    }

    Item {
        id: layoutCenter
        objectName: "LayoutCenter"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: layoutTop.bottom
        anchors.bottom: layoutCards.top

        // Named "right" but aligned to the left of the centre band.
        Item {
            id: layoutRight
            objectName: "LayoutRight"
            anchors.left: parent.left
            anchors.top: parent.top
            anchors.bottom: parent.bottom
            width: 281

            onWidthChanged: if (!formRenderGame.loading) formRenderGame.form.LayoutRightResize(layoutRight)
            onHeightChanged: if (!formRenderGame.loading) formRenderGame.form.LayoutRightResize(layoutRight)

            Item {
                id: layoutBoneYard
                objectName: "LayoutBoneYard"
                anchors.right: parent.right
                anchors.top: parent.top
                anchors.bottom: parent.bottom
                width: 145

                Image {
                    objectName: "ImageBoneYard"
                    anchors.fill: parent
                    source: formRenderGame.picturePath + "boneyard.svg"
                    sourceSize.width: width
                    sourceSize.height: height
                    fillMode: Image.PreserveAspectFit

                    CountLabel {
                        objectName: "LabelBoneyardCount"
                        color: "yellow"
                    }
                }
            }

            Item {
                id: layoutCardDeck
                objectName: "LayoutCardDeck"
                anchors.left: parent.left
                anchors.right: layoutBoneYard.left
                // The boneyard's left margin.
                anchors.rightMargin: 10
                anchors.top: parent.top
                anchors.bottom: parent.bottom

                onWidthChanged: if (!formRenderGame.loading) formRenderGame.form.LayoutCardDeckResize(layoutCardDeck)
                onHeightChanged: if (!formRenderGame.loading) formRenderGame.form.LayoutCardDeckResize(layoutCardDeck)

                Image {
                    objectName: "ImageCardDeck"
                    anchors.fill: parent
                    source: formRenderGame.picturePath + "deck.svg"
                    sourceSize.width: width
                    sourceSize.height: height
                    fillMode: Image.PreserveAspectFit

                    Rectangle {
                        objectName: "Rectangle2"
                        anchors.centerIn: parent
                        width: 50
                        height: 50
                        color: "black"
                        opacity: 0.5
                        border.width: 0
                    }

                    CountLabel {
                        objectName: "LabelDeckCount"
                        color: "white"
                    }
                }
            }
        }

        Item {
            id: layoutInPlay
            objectName: "LayoutInPlay"
            anchors.left: layoutRight.right
            anchors.right: parent.right
            anchors.top: parent.top
            anchors.bottom: parent.bottom

            onWidthChanged: if (!formRenderGame.loading) formRenderGame.form.LayoutInPlayResize(layoutInPlay)
            onHeightChanged: if (!formRenderGame.loading) formRenderGame.form.LayoutInPlayResize(layoutInPlay)

            MouseArea {
                anchors.fill: parent
                hoverEnabled: true
                onPositionChanged: (mouse) => formRenderGame.form.LayoutInPlayMouseMove(layoutInPlay, mouse.modifiers, mouse.x, mouse.y)
                onReleased: (mouse) => formRenderGame.form.LayoutInPlayMouseUp(layoutInPlay, mouse.button, mouse.modifiers, mouse.x, mouse.y)
            }

            NumberAnimation {
                objectName: "FloatAnimationRotateCards"
                target: layoutInPlay
                property: "rotation"
                from: 0
                to: 180
                duration: 200
            }

            Text {
                objectName: "LabelWinner"
                anchors.fill: parent
                text: ""
                textFormat: Text.PlainText
                color: "yellow"
                font.family: formRenderGame.fontFamily
                font.pointSize: 50
                font.bold: true
                horizontalAlignment: Text.AlignHCenter
                verticalAlignment: Text.AlignVCenter
                wrapMode: Text.WordWrap
                fontSizeMode: Text.Fit
                minimumPointSize: 12
            }
        }
    }

    Item {
        id: layoutRegister
        objectName: "LayoutRegister"
        anchors.centerIn: parent
        width: 289
        height: 209

        Rectangle {
            objectName: "Rectangle3"
            anchors.fill: parent
            color: "black"
            opacity: 0.5
        }

        Text {
            objectName: "Label4"
            x: 32
            y: 48
            width: 225
            height: 33
            text: "Enter Your Name"
            textFormat: Text.PlainText
            color: "white"
            font.family: formRenderGame.fontFamily
            font.pointSize: 24
            fontSizeMode: Text.Fit
            minimumPointSize: 8
        }

        Rectangle {
            objectName: "Rectangle4"
            x: 32
            y: 97
            width: 225
            height: 30
            color: "black"

            ComboBox {
                objectName: "ComboEditPlayers"
                anchors.fill: parent
                editable: true
                currentIndex: -1
                font.family: formRenderGame.fontFamily
                palette.text: "white"
                palette.buttonText: "white"
                palette.base: "black"
                palette.button: "black"
                palette.window: "#202020"
                palette.windowText: "white"
            }
        }

        Image {
            id: imageRegister
            objectName: "ImageRegister"
            x: 88
            y: 144
            width: 106
            height: 50
            source: formRenderGame.picturePath + "register.svg"
            sourceSize.width: 404
            sourceSize.height: 196
            fillMode: Image.Stretch

            MouseArea {
                anchors.fill: parent
                onClicked: formRenderGame.form.ButtonRegisterClick(imageRegister)
            }
        }
    }

    Item {
        id: layoutPlayerList
        objectName: "LayoutPlayerList"
        anchors.fill: parent
        visible: false

        Rectangle {
            id: rectangle6
            objectName: "Rectangle6"
            anchors.fill: parent
            color: "black"
            opacity: 0.5

            MouseArea {
                anchors.fill: parent
                onClicked: formRenderGame.form.Rectangle6Click(rectangle6)
            }
        }

        Item {
            objectName: "Layout3"
            anchors.centerIn: parent
            width: 464
            height: 326

            Text {
                id: labelPlayerList
                objectName: "LabelPlayerList"
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.top: parent.top
                height: 25
                text: "Current Players"
                textFormat: Text.PlainText
                color: "white"
                font.family: formRenderGame.fontFamily
                font.pointSize: 20
                font.bold: true
                horizontalAlignment: Text.AlignHCenter
                verticalAlignment: Text.AlignVCenter
            }

            ListView {
                id: listViewPlayerList
                objectName: "ListViewPlayerList"
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.top: labelPlayerList.bottom
                anchors.bottom: parent.bottom
                clip: true
                model: formRenderGame.form.PlayerListModel
                delegate: PlayerRow {
                    width: listViewPlayerList.width
                    fontFamily: formRenderGame.fontFamily
                    onDeleteRequested: (row) => {
                        if (formRenderGame.form.ListViewPlayerListDeletingItem(listViewPlayerList, row))
                            listViewPlayerList.model.Delete(row)
                    }
                }
            }
        }
    }

    Timer {
        id: timerServerWatchdog
        objectName: "TimerServerWatchdog"
        interval: 5000
        running: true
        repeat: true
        onTriggered: formRenderGame.form.TimerServerWatchdogTimer(timerServerWatchdog)
    }

    Timer {
        id: timerEndTurnClock
        objectName: "TimerEndTurnClock"
        interval: 500
        running: true
        repeat: true
        onTriggered: formRenderGame.form.TimerEndTurnClockTimer(timerEndTurnClock)
    }

    MessageBox {
        objectName: "DialogMessage"
        fontFamily: formRenderGame.fontFamily
    }
}
