// The platform stand-ins the window rests on.
#include "AppTestSupport.h"
#include "platform/TBatchUpdate.h"
#include "platform/TMainThreadQueue.h"
#include "platform/TRandom.h"

#include <QThread>
#include <set>
#include <stdexcept>
#include <thread>
#include <vector>

TEST(Random, SameSeedSameDrawsAndEveryValueInRange)
{
    const auto draws = [](std::uint64_t seed) {
        TRandom::SetSeed(seed);
        std::vector<int> out;
        for (int i = 0; i < 2000; ++i)
            out.push_back(TRandom::Random(62));
        return out;
    };
    const std::vector<int> first = draws(7);
    EXPECT_EQ(first, draws(7));
    EXPECT_NE(first, draws(8));
    const std::set<int> seen(first.begin(), first.end());
    EXPECT_EQ(seen.size(), 62u);
    EXPECT_EQ(*seen.begin(), 0);
    EXPECT_EQ(*seen.rbegin(), 61);
    for (int n : {1, 0, -5})
        EXPECT_EQ(TRandom::Random(n), 0) << n;
}

TEST(MainThreadQueue, WorkFromAnotherThreadRunsOnTheMainThreadInOrder)
{
    EXPECT_TRUE(TMainThreadQueue::IsMainThread());
    std::vector<int> order;
    std::vector<bool> onMain;
    bool otherIsMain = true;
    std::thread worker([&] {
        otherIsMain = TMainThreadQueue::IsMainThread();
        for (int i = 0; i < 50; ++i)
            TMainThreadQueue::Queue([&, i] {
                order.push_back(i);
                onMain.push_back(TMainThreadQueue::IsMainThread());
            });
    });
    worker.join();
    EXPECT_FALSE(otherIsMain);
    ASSERT_TRUE(QTest::qWaitFor([&] { return order.size() == 50; }, 2000));
    for (int i = 0; i < 50; ++i) {
        EXPECT_EQ(order[i], i);
        EXPECT_TRUE(onMain[i]);
    }
}

TEST_F(FormTest, BatchUpdateEndsOnEveryWayOut)
{
    {
        TBatchUpdate outer(*Form);
        TBatchUpdate inner(*Form);
        EXPECT_EQ(Form->UpdateDepth(), 2);
    }
    EXPECT_EQ(Form->UpdateDepth(), 0);
    try {
        TBatchUpdate batch(*Form);
        throw std::runtime_error("failed half way");
    } catch (const std::runtime_error &) {
    }
    EXPECT_EQ(Form->UpdateDepth(), 0);
}

TEST_F(FormTest, FloatAnimationRunsForwardsAndInverse)
{
    ShowForm();
    TFloatAnimation &show = Form->FloatAnimationShowStatus;
    show.Start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !show.Running(); }, 2000));
    EXPECT_EQ(Form->LayoutStatus->opacity(), 1.0);
    show.SetInverse(true);
    show.Start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !show.Running(); }, 2000));
    EXPECT_EQ(Form->LayoutStatus->opacity(), 0.0);

    TFloatAnimation &rotate = Form->FloatAnimationRotateCards;
    rotate.Start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !rotate.Running(); }, 2000));
    EXPECT_EQ(Form->LayoutInPlay->rotation(), 180.0);
}

// The real dialog inside the window: plain text, the buttons asked for, the
// answer to the right caller, one dialog at a time.
TEST_F(FormTest, DialogShowsPlainTextAndReportsTheAnswer)
{
    ShowForm();
    TDialogService *service = TDialogService::Current();
    ASSERT_NE(service, nullptr);
    std::vector<std::pair<int, TModalResult>> answers;
    service->MessageDialog("<b>Not your turn</b>", TMsgDlgType::mtWarning, TMsgDlgButtons::mbOK, TMsgDlgBtn::mbOK, 0,
                           [&](TModalResult r) { answers.emplace_back(1, r); });
    service->MessageDialog("Deal again?", TMsgDlgType::mtConfirmation, TMsgDlgButtons::mbYesNo, TMsgDlgBtn::mbNo, 0,
                           [&](TModalResult r) { answers.emplace_back(2, r); });
    QObject *dialog = Form->DialogMessage;
    auto *text = dialog->findChild<QQuickItem *>(QStringLiteral("DialogMessageText"));
    ASSERT_NE(text, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog->property("opened").toBool(); }, 2000));
    EXPECT_EQ(text->property("text").toString(), "<b>Not your turn</b>");
    EXPECT_EQ(text->property("textFormat").toInt(), Qt::PlainText);
    EXPECT_EQ(dialog->property("title").toString(), "Warning");
    EXPECT_TRUE(dialog->property("modal").toBool());

    QMetaObject::invokeMethod(dialog, "accept");
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0], std::pair(1, TModalResult::mrOk));
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog->property("opened").toBool(); }, 2000));
    EXPECT_EQ(text->property("text").toString(), "Deal again?");
    EXPECT_TRUE(dialog->property("yesNo").toBool());
    QMetaObject::invokeMethod(dialog, "reject");
    ASSERT_EQ(answers.size(), 2u);
    EXPECT_EQ(answers[1], std::pair(2, TModalResult::mrNo));
}
