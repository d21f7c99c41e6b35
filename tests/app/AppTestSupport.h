// Shared helpers of the window tests: QML warnings fail the test, log lines
// are captured, and the real window is loaded offscreen.
#pragma once

#include "app/uVantRenderGame.h"
#include "log/LoggingUnit.h"
#include "tests/common/TWarningRecorder.h"

#include <QQuickStyle>
#include <QStringList>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>

// Readable failure messages for Qt texts.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString &AText, std::ostream *AOut)
{
    *AOut << '"' << AText.toStdString() << '"';
}
inline void PrintTo(const QStringList &ATexts, std::ostream *AOut)
{
    *AOut << '[' << ATexts.join(QStringLiteral(" | ")).toStdString() << ']';
}
QT_END_NAMESPACE

// The texts the logger sends (after the player-name prefix and ':').
class TLogCapture
{
public:
    TLogCapture()
    {
        TLogging::ResetForTests();
        TLogging::SetDebugSink([this](const QString &text) { FTexts.append(text.section(u':', 1)); });
    }
    ~TLogCapture() { TLogging::ResetForTests(); }
    TLogCapture(const TLogCapture &) = delete;
    TLogCapture &operator=(const TLogCapture &) = delete;

    const QStringList &Texts() const { return FTexts; }
    void Clear() { FTexts.clear(); }

private:
    QStringList FTexts;
};

inline void UseBasicStyle()
{
    static const bool once = [] {
        QQuickStyle::setStyle(QStringLiteral("Basic"));
        return true;
    }();
    (void)once;
}

// The real window, loaded from its resource; no QML warning may appear
// while a test runs.
class FormTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        UseBasicStyle();
        Form = std::make_unique<TFormRenderGame>();
    }
    void TearDown() override
    {
        Form.reset();
        EXPECT_TRUE(Warnings.Messages().isEmpty()) << Warnings.Messages().join(u'\n').toStdString();
    }
    void ShowForm()
    {
        Form->Show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Form->Window()));
        // Showing binds the discovery socket and sends the first "Hello",
        // which log; the tests of discovery look at those lines themselves.
        Log.Clear();
    }
    void Click(QQuickItem *AItem)
    {
        const QPointF centre = AItem->mapToScene(QPointF(AItem->width() / 2, AItem->height() / 2));
        QTest::mouseClick(Form->Window(), Qt::LeftButton, {}, centre.toPoint());
    }

    TWarningRecorder Warnings;
    TLogCapture Log;
    std::unique_ptr<TFormRenderGame> Form;
};
