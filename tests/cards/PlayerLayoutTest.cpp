#include "cards/TBitmapImage.h"
#include "cards/TImageList.h"
#include "cards/UnitPlayerLayout.h"
#include "cards/uPlayerFrame.h"

#include <QCoreApplication>
#include <QPointer>
#include <QQmlEngine>
#include <QQmlError>
#include <QQuickItem>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

// A player row 320 wide in a plain parent, cells 100 x 100 as the window sets them.
class PlayerRow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QObject::connect(&engine, &QQmlEngine::warnings, [this](const QList<QQmlError> &warnings) {
            for (const QQmlError &w : warnings)
                qmlWarnings << w.toString();
        });
        parent.setSize(QSizeF(320, 100));
        row = new TPlayerLayout(&engine, &parent);
        row->SetItemHeight(100);
        row->SetItemWidth(100);
    }

    void TearDown() override { EXPECT_TRUE(qmlWarnings.isEmpty()) << qmlWarnings.join('\n').toStdString(); }

    void Refill(const QStringList &names)
    {
        row->StartDataUpdate();
        for (const QString &name : names)
            row->UpdatePlayer(name, QString::number(name.size()));
        row->EndDataUpdate();
    }

    QStringList Names() const
    {
        QStringList names;
        for (TFramePlayer *frame : row->Frames())
            names << frame->PlayerName();
        return names;
    }

    // Frames render their avatar at the frame's design size, before the row sizes them.
    static QImage Avatar(int index) { return Icons().Bitmap(index, QSizeF(320, 240)); }
    static const TImageList &Icons()
    {
        static const TImageList icons(AvatarImagePaths());
        return icons;
    }

    QStringList qmlWarnings; // outlives the engine that writes to it
    QQmlEngine engine;
    QQuickItem parent;
    TPlayerLayout *row = nullptr;
};

TEST_F(PlayerRow, LocalPlayerNeverGetsAFrame)
{
    row->SetCurrentPlayer("Anna");
    Refill({"ANNA", "anna", "Bob"});
    EXPECT_EQ(Names(), QStringList{"Bob"});

    // A frame made before the name became the local player's goes at the end of the refill.
    row->SetCurrentPlayer(QString());
    row->StartDataUpdate();
    row->UpdatePlayer("anna", "3");
    row->UpdatePlayer("Bob", "4");
    row->SetCurrentPlayer("Anna");
    row->EndDataUpdate();
    EXPECT_EQ(Names(), QStringList{"Bob"});

    // An empty name is the local player's while that is empty too.
    row->SetCurrentPlayer(QString());
    Refill({"", "Bob"});
    EXPECT_EQ(Names(), QStringList{"Bob"});
}

TEST_F(PlayerRow, NamesMatchIgnoringCaseAndKeepTheirFirstSpelling)
{
    row->StartDataUpdate();
    row->UpdatePlayer("Bob", "5");
    row->UpdatePlayer("BOB", "7");
    row->EndDataUpdate();
    ASSERT_EQ(row->Frames().size(), 1);
    TFramePlayer *bob = row->Frames().first();
    EXPECT_EQ(bob->PlayerName(), "Bob");
    EXPECT_EQ(bob->LabelPlayerName()->property("text").toString(), "Bob");
    EXPECT_EQ(bob->LabelCardCount()->property("text").toString(), "7");
    EXPECT_EQ(row->FindPlayer("bOb"), bob);
    EXPECT_EQ(row->FindPlayer("Carl"), nullptr);
    // Linguistic upper-casing: ß becomes SS.
    Refill({"Straße", "STRASSE"});
    EXPECT_EQ(Names(), QStringList{"Straße"});
}

TEST_F(PlayerRow, AvatarsGoByArrivalAndStayWithTheirFrames)
{
    ASSERT_EQ(Icons().Count(), 19);
    ASSERT_FALSE(Avatar(0).isNull());
    Refill({"A", "B", "C"});
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(row->Frames()[i]->ImagePlayer()->Bitmap(), Avatar(i)) << i;

    const QList<TFramePlayer *> before = row->Frames();
    Refill({"A", "C", "D"});
    ASSERT_EQ(row->Frames().size(), 3);
    EXPECT_EQ(row->Frames()[0], before[0]);
    EXPECT_EQ(row->Frames()[1], before[2]);
    EXPECT_EQ(row->Frames()[1]->ImagePlayer()->Bitmap(), Avatar(2));
    // B leaves only at the end of the refill: D is the fourth arrival.
    EXPECT_EQ(row->Frames()[2]->ImagePlayer()->Bitmap(), Avatar(3));
    EXPECT_EQ(Names(), (QStringList{"A", "C", "D"}));

    // Three frames when E arrives: E shows the picture D already shows.
    Refill({"A", "C", "D", "E"});
    EXPECT_EQ(row->Frames()[3]->ImagePlayer()->Bitmap(), Avatar(3));

    TFramePlayer *a = row->Frames()[0];
    a->SetImage(19);
    a->SetImage(-1);
    EXPECT_EQ(a->ImagePlayer()->Bitmap(), Avatar(0));
}

TEST_F(PlayerRow, TwentiethPlayerHasNoAvatar)
{
    QStringList names;
    for (int i = 0; i < 20; ++i)
        names << QStringLiteral("P%1").arg(i);
    Refill(names);
    ASSERT_EQ(row->Frames().size(), 20);
    EXPECT_FALSE(row->Frames()[18]->ImagePlayer()->Bitmap().isNull());
    EXPECT_TRUE(row->Frames()[19]->ImagePlayer()->Bitmap().isNull());
}

TEST_F(PlayerRow, GridOfEqualCellsWrapsAtTheRightEdge)
{
    Refill({"A", "B", "C", "D"});
    const QList<TFramePlayer *> frames = row->Frames();
    EXPECT_EQ(frames[0]->position(), QPointF(0, 0));
    EXPECT_EQ(frames[2]->position(), QPointF(200, 0));
    EXPECT_EQ(frames[3]->position(), QPointF(0, 100));
    for (TFramePlayer *frame : frames)
        EXPECT_EQ(frame->size(), QSizeF(100, 100));

    parent.setWidth(400);
    EXPECT_EQ(row->width(), 400);
    EXPECT_EQ(frames[3]->position(), QPointF(300, 0));

    // Frames that leave are released, not kept detached.
    const QPointer<TFramePlayer> left = frames[0];
    Refill({});
    EXPECT_TRUE(row->Frames().isEmpty());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(left.isNull());
}

TEST_F(PlayerRow, CardCountReplacesTheDesignText)
{
    row->StartDataUpdate();
    row->UpdatePlayer("Bob", "7");
    row->EndDataUpdate();
    TFramePlayer *bob = row->Frames().first();
    EXPECT_EQ(bob->CardsLeft(), "7");
    EXPECT_EQ(bob->LabelCardCount()->property("text").toString(), "7");
}

// Names from the network may hold markup, blanks, punctuation or other
// scripts, and may equal the name of a frame that has just left.
TEST_F(PlayerRow, AnyNameIsShownAsPlainTextUnderAUniqueObjectName)
{
    const QStringList names{"<b>x</b>", "<img src=x>", "a b", "a-b", "Ünal", "名前", ""};
    row->SetCurrentPlayer("local");
    Refill(names);
    ASSERT_EQ(row->Frames().size(), names.size());
    Refill({"BOB"});
    Refill({});
    Refill({"Bob"}); // BOB's frame has left the row but is not yet released.

    QStringList objectNames;
    for (QObject *child : row->children())
        if (qobject_cast<TFramePlayer *>(child) != nullptr)
            objectNames << child->objectName().toUpper();
    objectNames.removeDuplicates();
    EXPECT_EQ(objectNames.size(), names.size() + 2);
    for (const QString &name : objectNames) {
        EXPECT_TRUE(name.startsWith("PLAYER")) << name.toStdString();
        EXPECT_FALSE(name.contains(QRegularExpression("[^A-Z0-9_]"))) << name.toStdString();
    }

    Refill(names);
    for (int i = 0; i < names.size(); ++i) {
        QQuickItem *label = row->Frames()[i]->LabelPlayerName();
        EXPECT_EQ(label->property("text").toString(), names[i]);
        EXPECT_EQ(label->property("textFormat").toInt(), 0 /* Text.PlainText */);
        EXPECT_EQ(row->Frames()[i]->LabelCardCount()->property("textFormat").toInt(), 0);
    }
}

} // namespace
