// The game screen: its layout resource, start state, resizing and closing.
#include "cards/UnitCardHandLayout.h"
#include "cards/UnitPlayerLayout.h"
#include "AppTestSupport.h"

#include <QColor>
#include <QGuiApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMetaMethod>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>

namespace {

QString ReadResource(const QString &APath)
{
    QFile file(APath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

// Delegates are items of the view, not QObject children: search the items.
QQuickItem *FindItem(QQuickItem *ARoot, const char *AName)
{
    for (QQuickItem *child : ARoot->childItems()) {
        if (child->objectName() == QLatin1String(AName))
            return child;
        if (QQuickItem *found = FindItem(child, AName))
            return found;
    }
    return nullptr;
}

const QString QmlFolder = QStringLiteral(":/qt/qml/Vant/App/qml");

} // namespace

TEST_F(FormTest, StartStateAfterShowIsTheEmptyTable)
{
    ShowForm();
    struct TVisibility
    {
        QQuickItem *Item;
        const char *Name;
        bool Visible;
    };
    for (const TVisibility &c : {TVisibility{Form->LayoutRegister, "LayoutRegister", false},
                                 {Form->LayoutPlayerList, "LayoutPlayerList", false},
                                 {Form->LayoutPlay, "LayoutPlay", false},
                                 {Form->LayoutKill, "LayoutKill", false},
                                 {Form->LayoutSend, "LayoutSend", false},
                                 {Form->ButtonEndTurn, "ButtonEndTurn", false},
                                 {Form->RectangleBackground, "RectangleBackground", true},
                                 {Form->LayoutTop, "LayoutTop", true},
                                 {Form->ImageDeal, "ImageDeal", true},
                                 {Form->ImageCardDeck, "ImageCardDeck", true},
                                 {Form->ImageBoneYard, "ImageBoneYard", true},
                                 {Form->LayoutCards, "LayoutCards", true},
                                 {Form->ColorButton1, "ColorButton1", true}})
        EXPECT_EQ(c.Item->isVisible(), c.Visible) << c.Name;

    EXPECT_EQ(Form->LayoutStatus->opacity(), 0.0);
    EXPECT_EQ(Form->ColorButton1->property("color").value<QColor>(), QColor::fromRgba(0xFFFF0000));
    EXPECT_EQ(Form->Caption(), "Vant []");
    EXPECT_EQ(Form->LabelDeckCount->property("text").toString(), "0");
    EXPECT_EQ(Form->LabelBoneyardCount->property("text").toString(), "0");
    EXPECT_EQ(Form->LabelWinner->property("text").toString(), "");
    // The player row (no frames yet) under the touch area that takes its double clicks.
    ASSERT_NE(Form->PlayerLayout(), nullptr);
    EXPECT_TRUE(Form->PlayerLayout()->childItems().isEmpty()) << "no player frames";
    EXPECT_EQ(Form->LayoutPlayers->childItems().last(), Form->RectanglePlayerTouchArea.data());
    // The hand row and the in-play row fill their containers, empty.
    ASSERT_NE(Form->CardLayout(), nullptr);
    ASSERT_NE(Form->InPlayLayout(), nullptr);
    EXPECT_EQ(Form->CardLayout()->parentItem(), Form->LayoutCards.data());
    EXPECT_EQ(Form->InPlayLayout()->parentItem(), Form->LayoutInPlay.data());
    EXPECT_TRUE(Form->CardLayout()->childItems().isEmpty());
    EXPECT_TRUE(Form->InPlayLayout()->childItems().isEmpty());
    EXPECT_EQ(Form->CardLayout()->size(), Form->LayoutCards->size());
    EXPECT_FALSE(Form->Window()->windowStates().testFlag(Qt::WindowFullScreen));
    // With the end-turn button hidden the message layers reach the right edge.
    EXPECT_EQ(Form->Layout2->mapToScene({Form->Layout2->width(), 0}).x(), Form->Window()->width());

    EXPECT_EQ(Form->PlayMode(), -1);
    EXPECT_EQ(Form->CardWidth(), 100.0f);
    EXPECT_EQ(Form->CardHeight(), 150.0f);
    EXPECT_EQ(Form->EndTurnDelay(), 5);
    EXPECT_EQ(Form->PlayerID(), 0);
    EXPECT_TRUE(Form->PlayerName().isEmpty());
    EXPECT_FALSE(Form->IsDragging());
    EXPECT_EQ(Form->LastData(), nullptr);
    EXPECT_NE(Form->VantServer(), nullptr);
    EXPECT_EQ(Form->ClientID().size(), 32);
    // Time zero lies so far back that the end-turn cover has long expired.
    EXPECT_GT(Form->LastDataTime().secsTo(QDateTime::currentDateTime()), Form->EndTurnDelay());

    for (auto [timer, interval] : {std::pair{Form->TimerServerWatchdog.data(), 5000},
                                   std::pair{Form->TimerEndTurnClock.data(), 500}}) {
        EXPECT_TRUE(timer->property("running").toBool()) << timer->objectName().toStdString();
        EXPECT_EQ(timer->property("interval").toInt(), interval);
    }
    EXPECT_TRUE(Log.Texts().isEmpty()) << Log.Texts().join(u'\n').toStdString();
}

TEST_F(FormTest, DesignValuesHoldBeforeTheFirstResize)
{
    ShowForm();
    struct TSize
    {
        QQuickItem *Item;
        const char *Name;
        qreal Width;
        qreal Height;
    };
    // -1: follows its alignment.
    for (const TSize &c : {TSize{Form->LayoutTop, "LayoutTop", 1013, 100},
                           {Form->LayoutBottom, "LayoutBottom", 1013, 53},
                           {Form->LayoutCards, "LayoutCards", 1013, 165},
                           {Form->ColorButton1, "ColorButton1", 80, 53},
                           {Form->ButtonEndTurn, "ButtonEndTurn", 84, 53},
                           {Form->Image1, "Image1", 65, -1},
                           {Form->ImageDeal, "ImageDeal", 92, 90},
                           {Form->LayoutRight, "LayoutRight", 281, -1},
                           {Form->LayoutRegister, "LayoutRegister", 289, 209},
                           {Form->Layout3, "Layout3", 464, 326},
                           {Form->Rectangle2, "Rectangle2", 50, 50},
                           {Form->Rectangle4, "Rectangle4", 225, 30},
                           {Form->ImageRegister, "ImageRegister", 106, 50}}) {
        EXPECT_EQ(c.Item->width(), c.Width) << c.Name;
        if (c.Height >= 0) {
            EXPECT_EQ(c.Item->height(), c.Height) << c.Name;
        }
    }
    EXPECT_EQ(Form->ImageDeal->mapToScene({Form->ImageDeal->width(), 0}), QPointF(1013 - 10, 10));
    EXPECT_EQ(Form->LayoutRegister->mapToScene({0, 0}), QPointF((1013 - 289) / 2.0, (597 - 209) / 2.0));
    EXPECT_EQ(Form->Rectangle4->position(), QPointF(32, 97));
    EXPECT_EQ(Form->LayoutCenter->height(), 597 - 100 - 165 - 53);
    // The deck takes what the boneyard and its 10-pixel margin leave.
    EXPECT_EQ(Form->LayoutCardDeck->width(), 281 - Form->LayoutBoneYard->width() - 10);
    EXPECT_EQ(Form->Label3->property("text").toString(), "Defender.  Kill the cards or pick them up");
    EXPECT_EQ(Form->LabelPlayerList->property("text").toString(), "Current Players");
    EXPECT_EQ(Form->LabelEndTurnTimer->property("text").toString(), "5");
    // Showing sends the first "Hello", which writes the status line.
    EXPECT_EQ(Form->LabelStatus->property("text").toString(), "Pinged server");
    EXPECT_EQ(Form->Rectangle5->opacity(), 0.8);
    EXPECT_EQ(Form->Label6->opacity(), 0.5);
    EXPECT_EQ(Form->RectanglePlayerTouchArea->opacity(), 0.0);
    EXPECT_EQ(Form->LabelWinner->property("font").value<QFont>().pointSize(), 50);
    EXPECT_EQ(Form->LabelWinner->property("color").value<QColor>(), QColor("yellow"));
    EXPECT_EQ(Form->LabelWinner->property("font").value<QFont>().family(), "DejaVu Sans");
}

TEST_F(FormTest, ResizeSetsHandAndBarFromOverallHeightAndKeepsDeckSquare)
{
    ShowForm();
    struct TCase
    {
        int OverallHeight;
        qreal Hand;
        qreal Bar;
    };
    for (const TCase &c : {TCase{600, 180, 60}, {800, 240, 80}, {455, 136.5, 45.5}}) {
        const int frame = Form->Window()->frameGeometry().height() - Form->Window()->height();
        Form->Window()->resize(1013, c.OverallHeight - frame);
        ASSERT_TRUE(QTest::qWaitFor([&] { return Form->Window()->contentItem()->height() == c.OverallHeight - frame; }, 2000));
        EXPECT_EQ(Form->LayoutCards->height(), c.Hand) << c.OverallHeight;
        EXPECT_EQ(Form->LayoutBottom->height(), c.Bar) << c.OverallHeight;
        EXPECT_EQ(Form->LayoutTop->height(), 100);
        const qreal band = Form->Window()->height() - 100 - c.Hand - c.Bar;
        EXPECT_EQ(Form->LayoutCenter->height(), band);
        EXPECT_EQ(Form->LayoutRight->height(), band);
        EXPECT_EQ(Form->LayoutRight->width(), band) << "the deck panel is square";
        EXPECT_EQ(Form->LayoutBoneYard->width(), band / 2) << "boneyard and deck share the panel";
        EXPECT_EQ(Form->LayoutPlayerList->height(), Form->Window()->height());
    }
    EXPECT_TRUE(Log.Texts().isEmpty()) << Log.Texts().join(u'\n').toStdString();
}

TEST_F(FormTest, ResizeWithAControlGoneIsOneLogLineNotACrash)
{
    ShowForm();
    // The field loses its control (as when the layout is torn down).
    Form->LayoutCards = nullptr;
    Form->Window()->resize(1013, 700);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Log.Texts().isEmpty(); }, 2000));
    ASSERT_EQ(Log.Texts().size(), 1) << Log.Texts().join(u'\n').toStdString();
    EXPECT_EQ(Log.Texts().front(), "Form Vant Server QQuickWindowQmlImpl control LayoutCards is gone");
    // The program goes on: the next handler runs normally.
    Form->LayoutRight->setWidth(200);
    EXPECT_EQ(Form->LayoutBoneYard->width(), 100);
}

TEST_F(FormTest, EveryEventOfTheLayoutCallsAnExistingHandler)
{
    // Every "form.Name(" in the layout names an invokable handler, and every
    // handler the controls raise is bound somewhere.
    QString qml;
    for (QDirIterator it(QmlFolder, {"*.qml"}); it.hasNext();)
        qml += ReadResource(it.next());
    ASSERT_FALSE(qml.isEmpty());
    QSet<QString> called;
    for (const auto &m : QRegularExpression(R"(form\.(\w+)\()").globalMatch(qml))
        called.insert(m.captured(1));
    QSet<QString> invokable;
    const QMetaObject &meta = TFormRenderGame::staticMetaObject;
    for (int i = meta.methodOffset(); i < meta.methodCount(); ++i)
        if (meta.method(i).methodType() == QMetaMethod::Method)
            invokable.insert(QString::fromLatin1(meta.method(i).name()));
    for (const QString &name : called)
        EXPECT_TRUE(invokable.contains(name)) << name.toStdString();
    for (const char *name :
         {"FormShow", "FormResize", "FormClose", "LayoutRightResize", "LayoutCardDeckResize", "LayoutInPlayResize",
          "FormMouseUp", "LayoutInPlayMouseMove", "LayoutInPlayMouseUp", "ButtonEndTurn2Click",
          "RectangleDisableEndTurnClick", "TimerEndTurnClockTimer", "ImageDealClick", "LayoutMessagesClick",
          "LayoutStatusClick", "ColorButton1Click", "TimerServerWatchdogTimer", "Image1Click", "ButtonRegisterClick",
          "LayoutTopDblClick", "RectanglePlayerTouchAreaDblClick", "LayoutTopGesture", "Rectangle6Click",
          "ListViewPlayerListDeletingItem"})
        EXPECT_TRUE(called.contains(name)) << name;
}

TEST_F(FormTest, ClickingTheControlsRaisesNoWarning)
{
    ShowForm();
    Form->LayoutRegister->setVisible(true);
    for (QQuickItem *item : {Form->ColorButton1.data(), Form->LayoutMessages.data(), Form->Label6.data(),
                             Form->ImageRegister.data(), Form->LayoutInPlay.data()})
        Click(item);
    QTest::mouseDClick(Form->Window(), Qt::LeftButton, {}, QPoint(50, 50));
    Form->LayoutPlayerList->setVisible(true);
    Form->PlayerListModel()->Add(QStringLiteral("<b>Ann</b>"), 7);
    QQuickItem *deleteControl = nullptr;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (deleteControl = FindItem(Form->ListViewPlayerList, "PlayerRowDelete")); }, 2000));
    Click(deleteControl);
    // The handler does not allow the deletion yet, so the row stays.
    EXPECT_EQ(Form->PlayerListModel()->Count(), 1);
    Click(Form->Rectangle6);
    EXPECT_TRUE(Log.Texts().isEmpty()) << Log.Texts().join(u'\n').toStdString();
}

TEST_F(FormTest, ClosingTheWindowEndsTheProgram)
{
    ShowForm();
    // Only the form may end the program here, not Qt's last-window rule.
    QGuiApplication::setQuitOnLastWindowClosed(false);
    QTimer::singleShot(0, Form->Window(), [this] { Form->Window()->close(); });
    // Fails rather than hangs if closing does not quit.
    QTimer::singleShot(5000, [] { QGuiApplication::exit(1); });
    EXPECT_EQ(QGuiApplication::exec(), 0);
    QGuiApplication::setQuitOnLastWindowClosed(true);
}

// A layout that lacks a control, or has it twice or of the wrong type, is
// refused with a message naming the control, its type and the file.
TEST(FormBinding, FaultyLayoutIsRefusedNamingTheControl)
{
    UseBasicStyle();
    struct TCase
    {
        const char *From;
        const char *To;
        const char *Expected;
    };
    const TCase cases[] = {
        {R"(objectName: "LayoutCards")", R"(objectName: "LayoutCardz")", "control LayoutCards of type QQuickItem: missing"},
        {R"(objectName: "Rectangle1")", R"(objectName: "LayoutCards")", "control LayoutCards of type QQuickItem: found 2 times"},
        {R"(objectName: "TimerEndTurnClock")", R"(objectName: "TimerEndTurnClockOld")", "control TimerEndTurnClock of type QObject: missing"},
    };
    for (const TCase &c : cases) {
        QTemporaryDir dir;
        for (QDirIterator it(QmlFolder, {"*.qml"}); it.hasNext();) {
            const QString path = it.next();
            QString text = ReadResource(path);
            if (path.endsWith(u"FormRenderGame.qml"))
                text.replace(QLatin1String(c.From), QLatin1String(c.To));
            QFile out(dir.filePath(QFileInfo(path).fileName()));
            ASSERT_TRUE(out.open(QIODevice::WriteOnly));
            out.write(text.toUtf8());
        }
        const QString file = QUrl::fromLocalFile(dir.filePath("FormRenderGame.qml")).toString();
        try {
            TFormRenderGame form(nullptr, file);
            ADD_FAILURE() << "accepted: " << c.Expected;
        } catch (const EFormLoadError &e) {
            EXPECT_TRUE(QString::fromUtf8(e.what()).contains(QLatin1String(c.Expected))) << e.what();
            EXPECT_TRUE(QString::fromUtf8(e.what()).startsWith(file)) << e.what();
        }
    }
}

// The top strip's swipe recogniser: only a leftward swipe counts.
TEST(GestureArea, OnlyALeftSwipeIsRecognised)
{
    TWarningRecorder warnings;
    QQmlEngine engine;
    QQmlComponent component(&engine);
    component.setData("import QtQuick\nimport \"qrc:/qt/qml/Vant/App/qml\"\n"
                      "Window { width: 400; height: 100; property int swipes: 0\n"
                      "  GestureArea { anchors.fill: parent; onSwipedLeft: swipes++ } }",
                      QUrl("qrc:/GestureTest.qml"));
    std::unique_ptr<QQuickWindow> window(qobject_cast<QQuickWindow *>(component.create()));
    ASSERT_TRUE(window) << component.errorString().toStdString();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    struct TCase
    {
        QPoint From;
        QPoint To;
        int Swipes;
    };
    for (const TCase &c : {TCase{{300, 50}, {100, 50}, 1},
                           {{300, 50}, {230, 50}, 0}, // shorter than the sensitivity
                           {{100, 50}, {300, 50}, 0},
                           {{200, 90}, {190, 5}, 0},
                           {{300, 10}, {200, 95}, 0}}) { // as much down as left
        window->setProperty("swipes", 0);
        QTest::mousePress(window.get(), Qt::LeftButton, {}, c.From);
        QTest::mouseMove(window.get(), (c.From + c.To) / 2);
        QTest::mouseMove(window.get(), c.To);
        QTest::mouseRelease(window.get(), Qt::LeftButton, {}, c.To);
        EXPECT_EQ(window->property("swipes").toInt(), c.Swipes) << c.From.x() << "," << c.From.y() << " to "
                                                                << c.To.x() << "," << c.To.y();
    }
    EXPECT_TRUE(warnings.Messages().isEmpty()) << warnings.Messages().join(u'\n').toStdString();
}
