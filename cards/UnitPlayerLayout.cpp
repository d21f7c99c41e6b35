#include "cards/UnitPlayerLayout.h"

#include "cards/TImageList.h"
#include "cards/uPlayerFrame.h"

#include <QLocale>
#include <algorithm>

namespace {

// Player names are compared ignoring case under the user's locale.
bool SameName(const QString &a, const QString &b)
{
    const QLocale locale = QLocale::system();
    return locale.toUpper(a) == locale.toUpper(b);
}

const TImageList *AvatarImageList()
{
    static const TImageList avatars(AvatarImagePaths());
    return &avatars;
}

// Object names allow identifier characters only.
QString IdentifierOf(const QString &text)
{
    QString result;
    result.reserve(text.size());
    for (const QChar c : text) {
        const bool allowed = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_';
        result += allowed ? c : u'_';
    }
    return result;
}

} // namespace

TPlayerLayout::TPlayerLayout(QQmlEngine *engine, QQuickItem *parent)
    : QQuickItem(parent), FEngine(engine), FImageListIcons(AvatarImageList())
{
    FParentFill.Follow(this, parent);
    // Square cells as high as the row until the window sets the cell size.
    FItemHeight = static_cast<float>(height());
    FItemWidth = static_cast<float>(height());
}

QList<TFramePlayer *> TPlayerLayout::Frames() const
{
    QList<TFramePlayer *> frames;
    for (QQuickItem *child : childItems())
        frames << static_cast<TFramePlayer *>(child);
    return frames;
}

void TPlayerLayout::StartDataUpdate()
{
    for (TFramePlayer *frame : Frames())
        frame->SetTouched(false);
}

void TPlayerLayout::UpdatePlayer(const QString &AName, const QString &ANumCards)
{
    if (SameName(AName, FCurrentPlayer))
        return;
    TFramePlayer *frame = FindPlayer(AName);
    if (frame != nullptr) {
        frame->SetCardsLeft(ANumCards);
    } else {
        const int arrival = static_cast<int>(childItems().size());
        frame = new TFramePlayer(FEngine, FImageListIcons);
        frame->setParent(this);
        frame->SetPlayerName(AName);
        frame->setObjectName(UniqueFrameName(AName));
        frame->SetCardsLeft(ANumCards);
        // Avatars go by arrival: the picture is the number of frames now.
        frame->SetImage(arrival);
        frame->setSize(QSizeF(100, 100));
        frame->setParentItem(this);
    }
    frame->setVisible(true);
    frame->SetTouched(true);
}

void TPlayerLayout::EndDataUpdate()
{
    const QList<TFramePlayer *> frames = Frames();
    for (auto it = frames.rbegin(); it != frames.rend(); ++it) {
        if ((*it)->Touched() && !SameName((*it)->PlayerName(), FCurrentPlayer))
            continue;
        // A frame that leaves the row is released rather than kept detached:
        // a returning player gets a new frame anyway.
        (*it)->setParentItem(nullptr);
        (*it)->deleteLater();
    }
}

TFramePlayer *TPlayerLayout::FindPlayer(const QString &AName) const
{
    for (TFramePlayer *frame : Frames())
        if (SameName(frame->PlayerName(), AName))
            return frame;
    return nullptr;
}

QString TPlayerLayout::UniqueFrameName(const QString &AName) const
{
    // Unique among every object the row owns, detached frames awaiting
    // deletion included, compared ignoring case.
    const QString base = QStringLiteral("Player") + IdentifierOf(AName);
    const QObjectList owned = children();
    const auto taken = [&owned](const QString &name) {
        return std::any_of(owned.begin(), owned.end(), [&name](const QObject *object) {
            return object->objectName().compare(name, Qt::CaseInsensitive) == 0;
        });
    };
    QString name = base;
    for (int suffix = 2; taken(name); ++suffix)
        name = QStringLiteral("%1_%2").arg(base).arg(suffix);
    return name;
}

void TPlayerLayout::SetItemWidth(float value)
{
    FItemWidth = value;
    LayoutCells();
}

void TPlayerLayout::SetItemHeight(float value)
{
    FItemHeight = value;
    LayoutCells();
}

void TPlayerLayout::LayoutCells()
{
    qreal x = 0;
    qreal y = 0;
    for (QQuickItem *child : childItems()) {
        if (x > 0 && x + FItemWidth > width()) {
            x = 0;
            y += FItemHeight;
        }
        child->setPosition(QPointF(x, y));
        child->setSize(QSizeF(FItemWidth, FItemHeight));
        x += FItemWidth;
    }
}

void TPlayerLayout::geometryChange(const QRectF &newGeometry, const QRectF &oldGeometry)
{
    QQuickItem::geometryChange(newGeometry, oldGeometry);
    if (newGeometry.size() != oldGeometry.size())
        LayoutCells();
}

void TPlayerLayout::itemChange(ItemChange change, const ItemChangeData &value)
{
    QQuickItem::itemChange(change, value);
    if (change == ItemParentHasChanged)
        FParentFill.Follow(this, value.item);
    else if (change == ItemChildAddedChange || change == ItemChildRemovedChange)
        LayoutCells();
}
