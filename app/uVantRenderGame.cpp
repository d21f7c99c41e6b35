#include "app/uVantRenderGame.h"

#include "app/uFormControl.h"

#include "cards/TImageList.h"
#include "cards/UnitCardHandLayout.h"
#include "cards/UnitPlayerLayout.h"
#include "log/LoggingUnit.h"
#include "net/ClientClassesUnitREST.h"
#include "net/TDSClientCallbackChannelManager.h"
#include "net/TDSRestConnection.h"
#include "net/TIdUDPServer.h"
#include "platform/TQuickDialogService.h"

#include <QColor>
#include <QCoreApplication>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QVariantMap>

const QString TFormRenderGame::LayoutFile = QStringLiteral("qrc:/qt/qml/Vant/App/qml/FormRenderGame.qml");

namespace {

// The one object named AName under ARoot, which must be a T: none means the
// control was renamed, more than one a copy or a delegate of that name.
template <class T>
T *requireChild(QObject *ARoot, const char *AName, const QString &AFile)
{
    const QList<QObject *> found = ARoot->findChildren<QObject *>(QLatin1String(AName));
    const char *typeName = T::staticMetaObject.className();
    if (found.size() != 1)
        throw EFormLoadError(QStringLiteral("%1: control %2 of type %3: %4")
                                 .arg(AFile, QLatin1String(AName), QLatin1String(typeName),
                                      found.isEmpty() ? QStringLiteral("missing")
                                                      : QStringLiteral("found %1 times").arg(found.size()))
                                 .toStdString());
    T *control = qobject_cast<T *>(found.front());
    if (!control)
        throw EFormLoadError(QStringLiteral("%1: control %2 is a %3, not a %4")
                                 .arg(AFile, QLatin1String(AName),
                                      TExceptionGuard::ClassNameOf(found.front()), QLatin1String(typeName))
                                 .toStdString());
    return control;
}

} // namespace

TFormRenderGame::TFormRenderGame(QObject *AOwner, const QString &ALayoutFile)
    : QObject(AOwner), FLayoutFile(ALayoutFile), FEngine(std::make_unique<QQmlEngine>())
{
    makeComponents();
    QQmlComponent component(FEngine.get(), QUrl(FLayoutFile));
    if (component.isError())
        throw EFormLoadError(component.errorString().toStdString());
    QObject *root = component.createWithInitialProperties(
        QVariantMap{{QStringLiteral("form"), QVariant::fromValue<QObject *>(this)}});
    if (!root)
        throw EFormLoadError(component.errorString().toStdString());
    FWindowOwner.reset(qobject_cast<QQuickWindow *>(root));
    if (!FWindowOwner) {
        delete root;
        throw EFormLoadError(QStringLiteral("%1: the root is not a Window").arg(FLayoutFile).toStdString());
    }
    bindUi();
    // Until now the layout's resize events were not passed on: the
    // handlers need the bound controls.
    root->setProperty("loading", false);
    FormCreate(FormRenderGame);
}

TFormRenderGame::~TFormRenderGame()
{
    FormDestroy(FormRenderGame);
    FAppExceptionScope.reset();
    FDialogServiceInstall.reset();
    FWindowOwner.reset();
}

void TFormRenderGame::makeComponents()
{
    ImageListCards = std::make_unique<TImageList>(CardImagePaths());
    DSRestConnection1 = std::make_unique<TDSRestConnection>();
    DSChannelVantUpdate = std::make_unique<TDSClientCallbackChannelManager>();
    DSChannelVantUpdate->SetChannelName(QStringLiteral("VantUpdate"));
    DSChannelVantUpdate->SetOnServerConnectionError(
        [this](QObject *ASender) { DSChannelVantUpdateServerConnectionError(ASender); });
    DSChannelVantComm = std::make_unique<TDSClientCallbackChannelManager>();
    DSChannelVantComm->SetChannelName(QStringLiteral("VantComm"));
    IdUDPServer1 = std::make_unique<TIdUDPServer>();
    IdUDPServer1->BroadcastEnabled = true;
    IdUDPServer1->OnUDPRead = [this](QObject *AThread, const QByteArray &AData, const TIdSocketHandle &ABinding) {
        IdUDPServer1UDPRead(AThread, AData, ABinding);
    };
    IdUDPServer1->OnUDPException = [this](QObject *AThread, const TIdSocketHandle &ABinding,
                                          const QString &AMessage, const QString &AExceptionClass) {
        IdUDPServer1UDPException(AThread, ABinding, AMessage, AExceptionClass);
    };
    IdUDPServer1->OnStatus = [this](QObject *ASender, TIdStatus AStatus, const QString &AStatusText) {
        IdUDPServer1Status(ASender, static_cast<int>(AStatus), AStatusText);
    };
}

void TFormRenderGame::bindUi()
{
    QQuickWindow *root = FWindowOwner.get();
    FormRenderGame = root;
    const QString &file = FLayoutFile;
    const auto bind = [root, &file](auto &AField, const char *AName) {
        using T = std::remove_pointer_t<decltype(AField.data())>;
        AField = requireChild<T>(root, AName, file);
    };
    bind(RectangleBackground, "RectangleBackground");
    bind(LayoutCards, "LayoutCards");
    bind(LayoutBottom, "LayoutBottom");
    bind(ColorButton1, "ColorButton1");
    bind(Layout2, "Layout2");
    bind(LayoutStatus, "LayoutStatus");
    bind(Rectangle5, "Rectangle5");
    bind(LabelStatus, "LabelStatus");
    bind(Image1, "Image1");
    bind(LayoutMessages, "LayoutMessages");
    bind(LayoutKill, "LayoutKill");
    bind(Label3, "Label3");
    bind(LayoutPlay, "LayoutPlay");
    bind(Label1, "Label1");
    bind(LayoutSend, "LayoutSend");
    bind(Label2, "Label2");
    bind(ButtonEndTurn, "ButtonEndTurn");
    bind(ImagePickUp, "ImagePickUp");
    bind(ImageKill, "ImageKill");
    bind(LabelEndTurn, "LabelEndTurn");
    bind(RectangleDisableEndTurn, "RectangleDisableEndTurn");
    bind(LabelEndTurnTimer, "LabelEndTurnTimer");
    bind(LayoutTop, "LayoutTop");
    bind(LayoutPlayers, "LayoutPlayers");
    bind(RectanglePlayerTouchArea, "RectanglePlayerTouchArea");
    bind(ImageDeal, "ImageDeal");
    bind(Rectangle1, "Rectangle1");
    bind(Label6, "Label6");
    bind(LayoutCenter, "LayoutCenter");
    bind(LayoutRight, "LayoutRight");
    bind(LayoutBoneYard, "LayoutBoneYard");
    bind(ImageBoneYard, "ImageBoneYard");
    bind(LabelBoneyardCount, "LabelBoneyardCount");
    bind(LayoutCardDeck, "LayoutCardDeck");
    bind(ImageCardDeck, "ImageCardDeck");
    bind(Rectangle2, "Rectangle2");
    bind(LabelDeckCount, "LabelDeckCount");
    bind(LayoutInPlay, "LayoutInPlay");
    bind(LabelWinner, "LabelWinner");
    bind(LayoutRegister, "LayoutRegister");
    bind(Rectangle3, "Rectangle3");
    bind(Label4, "Label4");
    bind(Rectangle4, "Rectangle4");
    bind(ComboEditPlayers, "ComboEditPlayers");
    bind(ImageRegister, "ImageRegister");
    bind(LayoutPlayerList, "LayoutPlayerList");
    bind(Rectangle6, "Rectangle6");
    bind(Layout3, "Layout3");
    bind(LabelPlayerList, "LabelPlayerList");
    bind(ListViewPlayerList, "ListViewPlayerList");
    bind(DialogMessage, "DialogMessage");
    bind(TimerServerWatchdog, "TimerServerWatchdog");
    bind(TimerEndTurnClock, "TimerEndTurnClock");
    FloatAnimationRotateCards = TFloatAnimation(requireChild<QObject>(root, "FloatAnimationRotateCards", file));
    FloatAnimationShowStatus = TFloatAnimation(requireChild<QObject>(root, "FloatAnimationShowStatus", file));
    FDialogService = std::make_unique<TQuickDialogService>(DialogMessage);
    FDialogServiceInstall.emplace(*FDialogService);
}

void TFormRenderGame::Show()
{
    RequiredControl(FormRenderGame, "FormRenderGame").show();
}

QString TFormRenderGame::Caption() const
{
    return FormRenderGame ? FormRenderGame->title() : QString();
}

void TFormRenderGame::SetCaption(const QString &ACaption)
{
    RequiredControl(FormRenderGame, "FormRenderGame").setTitle(ACaption);
}

void TFormRenderGame::SetPlayerID(int AValue)
{
    if (std::exchange(FPlayerID, AValue) != AValue)
        emit PlayerIDChanged();
}

void TFormRenderGame::SetClientID(const QString &AValue)
{
    if (std::exchange(FClientID, AValue) != AValue)
        emit ClientIDChanged();
}

void TFormRenderGame::SetPlayMode(int AValue)
{
    if (std::exchange(FPlayMode, AValue) != AValue)
        emit PlayModeChanged();
}

void TFormRenderGame::FormCreate(QObject *Sender)
{
    TExceptionGuard::Run(Sender, [&] {
        QWindow &window = RequiredControl(FormRenderGame, "FormRenderGame");
        window.setWindowStates(window.windowStates() & ~Qt::WindowFullScreen);
        FAppExceptionScope.emplace([this](QObject *ASender, const std::exception &E) { AppException(ASender, E); });
        FVantServer = std::make_unique<TServerMethods1Client>(*DSRestConnection1);
        SetClientID(RandomString(32, ClientIDAlphabet));
        DSChannelVantUpdate->SetManagerId(FClientID + QStringLiteral("-Update"));
        DSChannelVantComm->SetManagerId(FClientID + QStringLiteral("-Comm"));
        SetCaption(QStringLiteral("Vant []"));

        FCardLayout1 = new TCardHandLayout(&RequiredControl(LayoutCards, "LayoutCards"));
        FCardLayout1->SetImageListCards(ImageListCards.get());
        FCardLayout1->SetNamesVisible(false);
        FCardLayout1->OnMouseDown = [this](QObject *S, Qt::MouseButton B, Qt::KeyboardModifiers K, float X, float Y) {
            HandCardMouseDown(S, B, K.toInt(), X, Y);
        };
        FCardLayout1->OnMouseMove = [this](QObject *S, Qt::KeyboardModifiers K, float X, float Y) {
            HandRowMouseMove(S, K.toInt(), X, Y);
        };
        FCardLayout1->OnMouseUp = [this](QObject *S, Qt::MouseButton B, Qt::KeyboardModifiers K, float X, float Y) {
            HandRowMouseUp(S, B, K.toInt(), X, Y);
        };

        FPlayerLayout1 = new TPlayerLayout(FEngine.get(), &RequiredControl(LayoutPlayers, "LayoutPlayers"));
        FPlayerLayout1->SetItemHeight(100);
        FPlayerLayout1->SetItemWidth(100);
        RequiredControl(RectanglePlayerTouchArea, "RectanglePlayerTouchArea").stackAfter(FPlayerLayout1);

        FInPlayLayout1 = new TCardHandLayout(&RequiredControl(LayoutInPlay, "LayoutInPlay"));
        FInPlayLayout1->SetImageListCards(ImageListCards.get());
        FInPlayLayout1->OnMouseMove = [this](QObject *S, Qt::KeyboardModifiers K, float X, float Y) {
            LayoutInPlayMouseMove(S, K.toInt(), X, Y);
        };
        FInPlayLayout1->OnMouseUp = [this](QObject *S, Qt::MouseButton B, Qt::KeyboardModifiers K, float X, float Y) {
            LayoutInPlayMouseUp(S, B, K.toInt(), X, Y);
        };

        FCardWidth = 100;
        FCardHeight = 150;
        SetPlayMode(-1);
        FEndTurnDelay = 5;
        for (TDSClientCallbackChannelManager *manager : {DSChannelVantUpdate.get(), DSChannelVantComm.get()}) {
            manager->SetDSPort(QStringLiteral("211"));
            manager->SetCommunicationProtocol(QStringLiteral("tcp/ip"));
        }
    });
}

void TFormRenderGame::FormShow(QObject *Sender)
{
    TExceptionGuard::Run(Sender, [&] {
        RequiredControl(LayoutRegister, "LayoutRegister").setVisible(false);
        RequiredControl(LayoutPlayerList, "LayoutPlayerList").setVisible(false);
        RequiredControl(LayoutStatus, "LayoutStatus").setOpacity(0);
        SetUpDiscoverySocket();
        RequiredControl(LayoutPlay, "LayoutPlay").setVisible(false);
        RequiredControl(LayoutKill, "LayoutKill").setVisible(false);
        RequiredControl(LayoutSend, "LayoutSend").setVisible(false);
        RequiredControl(ButtonEndTurn, "ButtonEndTurn").setVisible(false);
        RequiredControl(ColorButton1, "ColorButton1").setProperty("color", QColor::fromRgba(0xFFFF0000));
    });
}

void TFormRenderGame::FormResize(QObject *Sender)
{
    TExceptionGuard::Run(Sender, [&] {
        const double height = RequiredControl(FormRenderGame, "FormRenderGame").frameGeometry().height();
        RequiredControl(LayoutCards, "LayoutCards").setHeight(height * 3 / 10);
        RequiredControl(LayoutBottom, "LayoutBottom").setHeight(height / 10);
        QQuickItem &right = RequiredControl(LayoutRight, "LayoutRight");
        right.setWidth(right.height());
    });
}

void TFormRenderGame::LayoutRightResize(QObject *Sender)
{
    TExceptionGuard::Run(Sender, [&] {
        RequiredControl(LayoutBoneYard, "LayoutBoneYard").setWidth(RequiredControl(LayoutRight, "LayoutRight").width() / 2);
    });
}

void TFormRenderGame::LayoutInPlayResize(QObject *Sender)
{
    TExceptionGuard::Run(Sender, [] {});
}

void TFormRenderGame::FormClose(QObject *Sender)
{
    TExceptionGuard::Run(Sender, [] { QCoreApplication::quit(); });
}

void TFormRenderGame::FormDestroy(QObject *Sender)
{
    TExceptionGuard::Run(Sender, [&] {
        // The push callbacks go before the proxy that the server knows us by.
        UnregisterCallbacks();
        FVantServer.reset();
    });
}

void TFormRenderGame::AppException(QObject *Sender, const std::exception &E)
{
    // A failure with no object behind it comes from a queued procedure.
    const QString className = Sender ? TExceptionGuard::ClassNameOf(Sender) : QStringLiteral("TMainThreadQueue");
    TLogging::Send(QStringLiteral("Form Vant Server %1 %2").arg(className, QString::fromUtf8(E.what())),
                   TLogSeverity::info);
}
