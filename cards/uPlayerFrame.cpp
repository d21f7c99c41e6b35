#include "cards/uPlayerFrame.h"

#include "cards/CardsQmlTypes.h"
#include "cards/TBitmapImage.h"
#include "cards/TImageList.h"

#include <QQmlComponent>
#include <QQmlEngine>
#include <stdexcept>

namespace {

const QUrl LayoutUrl(QStringLiteral("qrc:/cards/qml/FramePlayer.qml"));

// Exactly one child of that name and type, or the layout and the code disagree.
template <typename T>
T *RequireChild(QObject *root, const QString &name)
{
    const QList<T *> found = root->findChildren<T *>(name);
    if (found.size() != 1)
        throw std::runtime_error(QStringLiteral("%1 holds %2 %3 named %4")
                                     .arg(LayoutUrl.toString())
                                     .arg(found.size())
                                     .arg(QString::fromLatin1(T::staticMetaObject.className()), name)
                                     .toStdString());
    return found.first();
}

} // namespace

TFramePlayer::TFramePlayer(QQmlEngine *engine, const TImageList *imageListIcons, QQuickItem *parent)
    : QQuickItem(parent), FImageListIcons(imageListIcons)
{
    RegisterCardsQmlTypes();
    QQmlComponent component(engine, LayoutUrl);
    QObject *created = component.create();
    FRoot = qobject_cast<QQuickItem *>(created);
    if (FRoot == nullptr) {
        delete created;
        throw std::runtime_error(QStringLiteral("%1 did not load: %2").arg(LayoutUrl.toString(), component.errorString()).toStdString());
    }
    FRoot->setParent(this);
    FRoot->setParentItem(this);
    FLayout1 = RequireChild<QQuickItem>(FRoot, QStringLiteral("Layout1"));
    FImagePlayer = RequireChild<TBitmapImage>(FRoot, QStringLiteral("ImagePlayer"));
    FLabelCardCount = RequireChild<QQuickItem>(FRoot, QStringLiteral("LabelCardCount"));
    FLabelPlayerName = RequireChild<QQuickItem>(FRoot, QStringLiteral("LabelPlayerName"));
    setSize(FRoot->size());
}

void TFramePlayer::geometryChange(const QRectF &newGeometry, const QRectF &oldGeometry)
{
    QQuickItem::geometryChange(newGeometry, oldGeometry);
    if (FRoot != nullptr)
        FRoot->setSize(newGeometry.size());
}

void TFramePlayer::SetPlayerName(const QString &value)
{
    FPlayerName = value;
    FLabelPlayerName->setProperty("text", value);
}

void TFramePlayer::SetCardsLeft(const QString &value)
{
    FCardsLeft = value;
    FLabelCardCount->setProperty("text", value);
}

void TFramePlayer::SetImage(int AIndex)
{
    if (FImageListIcons == nullptr)
        return;
    // Rendered at the frame's current size; the avatar scales it to fit later.
    const QImage picture = FImageListIcons->Bitmap(AIndex, size());
    if (picture.isNull())
        return;
    FImagePlayer->SetBitmap(picture);
}
