// The panel of one other player: avatar, card count over it, name below. Its
// child items come from the QML layout cards/qml/FramePlayer.qml, created with
// the QQmlEngine given to the constructor.
#pragma once

#include <QQuickItem>
#include <QString>

class QQmlEngine;
class TBitmapImage;
class TImageList;

class TFramePlayer : public QQuickItem
{
    Q_OBJECT

public:
    // Throws std::runtime_error, with the QML errors, if the layout does not load.
    TFramePlayer(QQmlEngine *engine, const TImageList *imageListIcons, QQuickItem *parent = nullptr);

    QString PlayerName() const { return FPlayerName; }
    void SetPlayerName(const QString &value);
    QString CardsLeft() const { return FCardsLeft; }
    void SetCardsLeft(const QString &value);
    // Outside the avatar list (or without a picture) the avatar stays as it was.
    void SetImage(int AIndex);
    int PlayerID() const { return FPlayerID; }
    void SetPlayerID(int value) { FPlayerID = value; }
    bool Touched() const { return FBoolean; }
    void SetTouched(bool value) { FBoolean = value; }

    const TImageList *ImageListIcons() const { return FImageListIcons; }
    TBitmapImage *ImagePlayer() const { return FImagePlayer; }
    QQuickItem *LabelCardCount() const { return FLabelCardCount; }
    QQuickItem *LabelPlayerName() const { return FLabelPlayerName; }
    QQuickItem *Layout1() const { return FLayout1; }

protected:
    void geometryChange(const QRectF &newGeometry, const QRectF &oldGeometry) override;

private:
    const TImageList *FImageListIcons;
    QQuickItem *FRoot = nullptr;
    TBitmapImage *FImagePlayer = nullptr;
    QQuickItem *FLabelCardCount = nullptr;
    QQuickItem *FLabelPlayerName = nullptr;
    QQuickItem *FLayout1 = nullptr;
    QString FPlayerName;
    int FPlayerID = 0;
    QString FCardsLeft;
    bool FBoolean = false;
};
