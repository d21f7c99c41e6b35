// The one guard: an exception escaping a click, a timer tick or a queued
// procedure becomes exactly one AppException log line and nothing else.
#include "AppTestSupport.h"
#include "platform/TMainThreadQueue.h"
#include "tests/common/TDialogServiceDouble.h"

#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickWindow>
#include <stdexcept>

namespace {

// Stands in for a handler of the form that fails: it runs through the
// same guard as every handler of the window.
class TFailingHandlers : public QObject
{
    Q_OBJECT

public:
    int Calls = 0;
    Q_INVOKABLE void Fail(QObject *Sender)
    {
        TExceptionGuard::Run(Sender, [this] {
            ++Calls;
            throw std::runtime_error("server gone");
        });
    }
};

class GuardTest : public FormTest
{
protected:
    // A small window whose click and timer call the failing handler.
    std::unique_ptr<QQuickWindow> LoadWindow(const QByteArray &ABody)
    {
        QQmlComponent component(&FEngine);
        component.setData("import QtQuick\nWindow { width: 100; height: 100; required property QtObject handlers\n"
                              + ABody + "}",
                          QUrl("qrc:/GuardTest.qml"));
        auto *window = qobject_cast<QQuickWindow *>(component.createWithInitialProperties(
            {{"handlers", QVariant::fromValue<QObject *>(&Handlers)}}));
        EXPECT_TRUE(window) << component.errorString().toStdString();
        return std::unique_ptr<QQuickWindow>(window);
    }

    TFailingHandlers Handlers;
    TDialogServiceDouble Dialogs;

private:
    QQmlEngine FEngine;
};

} // namespace

TEST_F(GuardTest, ClickHandlerFailureIsOneLogLine)
{
    auto window = LoadWindow(R"(MouseArea { objectName: "Area"; anchors.fill: parent; onClicked: handlers.Fail(this) })");
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    QTest::mouseClick(window.get(), Qt::LeftButton, {}, QPoint(50, 50));
    ASSERT_EQ(Handlers.Calls, 1);
    EXPECT_EQ(Log.Texts(), QStringList{"Form Vant Server QQuickMouseArea server gone"});
    EXPECT_TRUE(Dialogs.Calls.empty());
    // The program goes on: the next click is handled (and fails) again.
    QTest::mouseClick(window.get(), Qt::LeftButton, {}, QPoint(50, 50));
    EXPECT_EQ(Log.Texts().size(), 2);
}

TEST_F(GuardTest, TimerHandlerFailureIsOneLogLine)
{
    auto window = LoadWindow("Timer { interval: 1; running: true; onTriggered: handlers.Fail(this) }");
    ASSERT_TRUE(QTest::qWaitFor([this] { return Handlers.Calls == 1; }, 2000));
    EXPECT_EQ(Log.Texts(), QStringList{"Form Vant Server QQmlTimer server gone"});
    EXPECT_TRUE(Dialogs.Calls.empty());
}

TEST_F(GuardTest, QueuedProcedureFailureIsOneLogLineAndTheQueueGoesOn)
{
    QStringList ran;
    TMainThreadQueue::Queue([&] { ran << "first"; throw std::runtime_error("no document"); });
    TMainThreadQueue::Queue([&] { ran << "second"; throw 42; });
    TMainThreadQueue::Queue([&] { ran << "third"; });
    EXPECT_TRUE(ran.isEmpty()) << "queued work runs later, not at once";
    ASSERT_TRUE(QTest::qWaitFor([&] { return ran.size() == 3; }, 2000));
    EXPECT_EQ(ran, (QStringList{"first", "second", "third"}));
    EXPECT_EQ(Log.Texts(), (QStringList{"Form Vant Server TMainThreadQueue no document",
                                        "Form Vant Server TMainThreadQueue unknown exception"}));
    EXPECT_TRUE(Dialogs.Calls.empty());
}

TEST_F(GuardTest, MessageIsLoggedAsGivenEvenWithPercentSigns)
{
    TExceptionGuard::Run(nullptr, [] { throw std::runtime_error("50% of %1 done"); });
    EXPECT_EQ(Log.Texts(), QStringList{"Form Vant Server TMainThreadQueue 50% of %1 done"});
}

// Once the window is gone its handler is no longer installed: a later
// failure is still logged, and nothing calls into the destroyed window.
TEST(GuardLifetime, HandlerEndsWithTheWindow)
{
    UseBasicStyle();
    TLogCapture log;
    {
        TFormRenderGame form;
    }
    TExceptionGuard::Run(nullptr, [] { throw std::runtime_error("late"); });
    EXPECT_EQ(log.Texts(), QStringList{"Unhandled exception: late"});
}

#include "TestExceptionGuard.moc"
