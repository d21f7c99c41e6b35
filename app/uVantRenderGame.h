// The game screen: the program's one window. The layout lives in
// app/qml/FormRenderGame.qml; this class owns the QML engine, binds every
// named control to its field in bindUi, and holds the window's state and
// handlers. QML calls the handlers by name (form.ButtonEndTurn2Click(...));
// each handler runs its body through TExceptionGuard, so an exception
// becomes one AppException log line and never reaches Qt or QML.
//
// The handler bodies are spread over one file per area:
//   uVantRenderGame.cpp           start-up, screen, AppException
//   uVantRenderGameUpdate.cpp     table update
//   uVantRenderGameDrag.cpp       card drag and drop
//   uVantRenderGameTurn.cpp       turn controls
//   uVantRenderGameDiscovery.cpp  server discovery
//   uVantRenderGameRegister.cpp   registration and push channels
//   uVantRenderGamePlayerList.cpp player list panel
#pragma once

#include "app/TPlayerListModel.h"
#include "platform/TDialogService.h"
#include "platform/TExceptionGuard.h"
#include "platform/TFloatAnimation.h"
#include "platform/TJSONValue.h"

#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <QQuickItem>
#include <QQuickWindow>
#include <QString>
#include <exception>
#include <memory>
#include <optional>

class QQmlEngine;
class TCard;
class TCardHandLayout;
class TDSClientCallbackChannelManager;
class TDSRestConnection;
class TIdUDPServer;
class TImageList;
class TPlayerLayout;
class TQuickDialogService;
class TServerMethods1Client;
struct TIdSocketHandle;

// The layout resource could not be loaded or lacks a control: the message
// names the control, the type and the file. The program ends with it.
class EFormLoadError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// The characters of the client id, and a text of ALength of them drawn
// uniformly by the runtime's random source.
inline const QString ClientIDAlphabet =
    QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ1234567890");
QString RandomString(int ALength, const QString &AAlphabet);

class TFormRenderGame : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int PlayerID READ PlayerID WRITE SetPlayerID NOTIFY PlayerIDChanged)
    Q_PROPERTY(QString ClientID READ ClientID WRITE SetClientID NOTIFY ClientIDChanged)
    Q_PROPERTY(QString PlayerName READ PlayerName WRITE SetPlayerName NOTIFY PlayerNameChanged)
    Q_PROPERTY(int PlayMode READ PlayMode WRITE SetPlayMode NOTIFY PlayModeChanged)
    Q_PROPERTY(TPlayerListModel *PlayerListModel READ PlayerListModel CONSTANT)

public:
    // The layout resource every form loads.
    static const QString LayoutFile;

    // Loads the layout (hidden) and runs FormCreate. Throws EFormLoadError
    // when the layout does not load or a control is missing. Tests may load
    // another layout file.
    explicit TFormRenderGame(QObject *AOwner = nullptr, const QString &ALayoutFile = LayoutFile);
    // Runs FormDestroy, then frees the window and its engine.
    ~TFormRenderGame() override;

    // Shows the window; the first showing runs FormShow.
    void Show();
    QQuickWindow *Window() const { return FormRenderGame; }
    QString Caption() const;
    void SetCaption(const QString &ACaption);

    // Batch updates of the window (TBatchUpdate drives them).
    void BeginUpdate() { ++FUpdateDepth; }
    void EndUpdate() { --FUpdateDepth; }
    int UpdateDepth() const { return FUpdateDepth; }

    // Properties.
    int PlayerID() const { return FPlayerID; }
    void SetPlayerID(int AValue);
    QString ClientID() const { return FClientID; }
    void SetClientID(const QString &AValue);
    QString PlayerName() const { return FPlayerName; }
    void SetPlayerName(const QString &AName);
    bool IsDragging() const { return FIsDragging; }
    void SetIsDragging(bool AValue) { FIsDragging = AValue; }
    float CardWidth() const { return FCardWidth; }
    void SetCardWidth(float AValue) { FCardWidth = AValue; }
    float CardHeight() const { return FCardHeight; }
    void SetCardHeight(float AValue) { FCardHeight = AValue; }
    int PlayMode() const { return FPlayMode; }
    void SetPlayMode(int AValue);
    TServerMethods1Client *VantServer() const { return FVantServer.get(); }
    TJSONValuePtr LastData() const { return FLastData; }
    void SetLastData(TJSONValuePtr AValue) { FLastData = std::move(AValue); }
    QDateTime LastDataTime() const { return FLastDataTime; }
    void SetLastDataTime(const QDateTime &AValue) { FLastDataTime = AValue; }
    qint64 EndTurnDelay() const { return FEndTurnDelay; }
    void SetEndTurnDelay(qint64 AValue) { FEndTurnDelay = AValue; }
    TPlayerListModel *PlayerListModel() { return &FPlayerListModel; }

    // Handlers of the window's own events.
    Q_INVOKABLE void FormCreate(QObject *Sender);
    Q_INVOKABLE void FormShow(QObject *Sender);
    Q_INVOKABLE void FormResize(QObject *Sender);
    Q_INVOKABLE void FormClose(QObject *Sender);
    Q_INVOKABLE void FormDestroy(QObject *Sender);
    Q_INVOKABLE void LayoutRightResize(QObject *Sender);
    Q_INVOKABLE void LayoutCardDeckResize(QObject *Sender);
    Q_INVOKABLE void LayoutInPlayResize(QObject *Sender);

    // Card drag and drop. Button is a Qt::MouseButton, Shift the
    // Qt::KeyboardModifiers, X and Y in the receiving control's coordinates.
    Q_INVOKABLE void FormMouseUp(QObject *Sender, int Button, int Shift, float X, float Y);
    Q_INVOKABLE void HandCardMouseDown(QObject *Sender, int Button, int Shift, float X, float Y);
    Q_INVOKABLE void HandCardMouseMove(QObject *Sender, int Shift, float X, float Y);
    Q_INVOKABLE void HandCardMouseUp(QObject *Sender, int Button, int Shift, float X, float Y);
    Q_INVOKABLE void LayoutInPlayMouseMove(QObject *Sender, int Shift, float X, float Y);
    Q_INVOKABLE void LayoutInPlayMouseUp(QObject *Sender, int Button, int Shift, float X, float Y);

    // Turn controls.
    Q_INVOKABLE void ButtonEndTurn2Click(QObject *Sender);
    Q_INVOKABLE void RectangleDisableEndTurnClick(QObject *Sender);
    Q_INVOKABLE void TimerEndTurnClockTimer(QObject *Sender);
    Q_INVOKABLE void ImageDealClick(QObject *Sender);
    Q_INVOKABLE void LayoutMessagesClick(QObject *Sender);
    Q_INVOKABLE void LayoutStatusClick(QObject *Sender);
    Q_INVOKABLE void ColorButton1Click(QObject *Sender);

    // Server discovery.
    Q_INVOKABLE void TimerServerWatchdogTimer(QObject *Sender);
    Q_INVOKABLE void Image1Click(QObject *Sender);
    void IdUDPServer1UDPRead(QObject *AThread, const QByteArray &AData, const TIdSocketHandle &ABinding);
    void IdUDPServer1UDPException(QObject *AThread, const TIdSocketHandle &ABinding, const QString &AMessage,
                                  const QString &AExceptionClass);
    void IdUDPServer1Status(QObject *ASender, int AStatus, const QString &AStatusText);

    // Registration and push channels.
    Q_INVOKABLE void ButtonRegisterClick(QObject *Sender);
    Q_INVOKABLE void DSChannelVantUpdateServerConnectionError(QObject *Sender);

    // Player list panel. GestureID 1 is the left swipe. Deleting returns
    // ACanDelete: whether the list removes the row.
    Q_INVOKABLE void LayoutTopDblClick(QObject *Sender);
    Q_INVOKABLE void RectanglePlayerTouchAreaDblClick(QObject *Sender);
    Q_INVOKABLE void LayoutTopGesture(QObject *Sender, int GestureID);
    Q_INVOKABLE void Rectangle6Click(QObject *Sender);
    Q_INVOKABLE bool ListViewPlayerListDeletingItem(QObject *Sender, int AIndex);

    // Table update: Update on the main thread only; QueueUpdate from any
    // thread, returning at once.
    void Update(const TJSONValue &AValue);
    void QueueUpdate(TJSONValue AValue);

    // The application-wide exception event: one log line, nothing shown.
    void AppException(QObject *Sender, const std::exception &E);

    // The controls, each bound by bindUi to the control of the same name.
    QPointer<QQuickWindow> FormRenderGame;
    QPointer<QQuickItem> RectangleBackground;
    QPointer<QQuickItem> LayoutCards;
    QPointer<QQuickItem> LayoutBottom;
    QPointer<QQuickItem> ColorButton1;
    QPointer<QQuickItem> Layout2;
    QPointer<QQuickItem> LayoutStatus;
    QPointer<QQuickItem> Rectangle5;
    QPointer<QQuickItem> LabelStatus;
    QPointer<QQuickItem> Image1;
    QPointer<QQuickItem> LayoutMessages;
    QPointer<QQuickItem> LayoutKill;
    QPointer<QQuickItem> Label3;
    QPointer<QQuickItem> LayoutPlay;
    QPointer<QQuickItem> Label1;
    QPointer<QQuickItem> LayoutSend;
    QPointer<QQuickItem> Label2;
    QPointer<QQuickItem> ButtonEndTurn;
    QPointer<QQuickItem> ImagePickUp;
    QPointer<QQuickItem> ImageKill;
    QPointer<QQuickItem> LabelEndTurn;
    QPointer<QQuickItem> RectangleDisableEndTurn;
    QPointer<QQuickItem> LabelEndTurnTimer;
    QPointer<QQuickItem> LayoutTop;
    QPointer<QQuickItem> LayoutPlayers;
    QPointer<QQuickItem> RectanglePlayerTouchArea;
    QPointer<QQuickItem> ImageDeal;
    QPointer<QQuickItem> Rectangle1;
    QPointer<QQuickItem> Label6;
    QPointer<QQuickItem> LayoutCenter;
    QPointer<QQuickItem> LayoutRight;
    QPointer<QQuickItem> LayoutBoneYard;
    QPointer<QQuickItem> ImageBoneYard;
    QPointer<QQuickItem> LabelBoneyardCount;
    QPointer<QQuickItem> LayoutCardDeck;
    QPointer<QQuickItem> ImageCardDeck;
    QPointer<QQuickItem> Rectangle2;
    QPointer<QQuickItem> LabelDeckCount;
    QPointer<QQuickItem> LayoutInPlay;
    QPointer<QQuickItem> LabelWinner;
    QPointer<QQuickItem> LayoutRegister;
    QPointer<QQuickItem> Rectangle3;
    QPointer<QQuickItem> Label4;
    QPointer<QQuickItem> Rectangle4;
    QPointer<QQuickItem> ComboEditPlayers;
    QPointer<QQuickItem> ImageRegister;
    QPointer<QQuickItem> LayoutPlayerList;
    QPointer<QQuickItem> Rectangle6;
    QPointer<QQuickItem> Layout3;
    QPointer<QQuickItem> LabelPlayerList;
    QPointer<QQuickItem> ListViewPlayerList;
    QPointer<QObject> DialogMessage;
    QPointer<QObject> TimerServerWatchdog;
    QPointer<QObject> TimerEndTurnClock;
    TFloatAnimation FloatAnimationRotateCards;
    TFloatAnimation FloatAnimationShowStatus;
    // The window's non-visual components, made with it (design values set
    // in the constructor). The REST connection outlives the proxy.
    std::unique_ptr<TImageList> ImageListCards;
    std::unique_ptr<TDSRestConnection> DSRestConnection1;
    std::unique_ptr<TDSClientCallbackChannelManager> DSChannelVantUpdate;
    std::unique_ptr<TDSClientCallbackChannelManager> DSChannelVantComm;
    std::unique_ptr<TIdUDPServer> IdUDPServer1;

    // registration and discovery
    // The UDP port the "Hello" broadcast goes to. The game's port by
    // design; tests point it at their own server's port before Show(), so
    // that test programs running side by side never meet on 15999.
    quint16 DiscoveryPort = 15999;

signals:
    void PlayerIDChanged();
    void ClientIDChanged();
    void PlayerNameChanged();
    void PlayModeChanged();

public:
    // Operations the handlers use (public so that tests can drive them).
    QString PlayModeName(int AMode) const;
    void ShowTrumpCard(int ACardIndex);
    void StopDragging();
    void PingServer();
    void RegisterCallbacks();
    void UnregisterCallbacks();
    void ShowPlayerList();

    // drag, turn controls, player list
    // The hand row keeps the pointer grab after a press, so its moves and
    // release are passed on by where the pointer is: over the in-play area
    // to the LayoutInPlay handlers (in in-play coordinates), over the hand
    // to the hand handlers; a release anywhere else ends the drag.
    void HandRowMouseMove(QObject *Sender, int Shift, float X, float Y);
    void HandRowMouseUp(QObject *Sender, int Button, int Shift, float X, float Y);
    // The drag card, or null before the first press on a card.
    TCard *DragCard() const { return FDragCard; }
    // A server's refusal, in the warning dialog.
    static void ShowWarning(const QString &AText);
    // The result text of a server call; no value reads as the empty text.
    static QString ResultText(const TJSONValuePtr &AValue);
    // Puts AItem above its siblings.
    static void BringToFront(QQuickItem &AItem);
    // The proxy for a server call; throws when it is gone.
    TServerMethods1Client &RequiredVantServer() const;

    // The card rows and the player row, made by FormCreate.
    TCardHandLayout *CardLayout() const { return FCardLayout1; }
    TCardHandLayout *InPlayLayout() const { return FInPlayLayout1; }
    TPlayerLayout *PlayerLayout() const { return FPlayerLayout1; }

private:
    void bindUi();
    void makeComponents();
    // Binds the discovery socket and sends the first "Hello" (FormShow).
    void SetUpDiscoverySocket();

    QString FLayoutFile;
    std::unique_ptr<QQmlEngine> FEngine;
    std::unique_ptr<QQuickWindow> FWindowOwner;
    std::unique_ptr<TQuickDialogService> FDialogService;
    std::optional<TDialogService::TInstall> FDialogServiceInstall;
    std::optional<TExceptionGuard::THandlerScope> FAppExceptionScope;
    TPlayerListModel FPlayerListModel;
    int FUpdateDepth = 0;

    // The window's fields, in the order the game screen declares them.
    bool FCallbackChannelRegistered = false;
    bool FCommChannelRegistered = false;
    TCardHandLayout *FCardLayout1 = nullptr;
    TCardHandLayout *FInPlayLayout1 = nullptr;
    TPlayerLayout *FPlayerLayout1 = nullptr;
    QString FPlayerName;
    int FPlayerID = 0;
    bool FIsDragging = false;
    int FDragSourceID = 0;
    TCard *FDragCard = nullptr;
    float FCardHeight = 150;
    float FCardWidth = 100;
    int FPlayMode = -1;
    std::unique_ptr<TServerMethods1Client> FVantServer;
    TJSONValuePtr FLastData;
    // Time zero: the epoch, so that elapsed-time arithmetic on it works.
    QDateTime FLastDataTime = QDateTime::fromMSecsSinceEpoch(0);
    qint64 FEndTurnDelay = 5;
    QString FClientID;
    QString FCurrentPlayer;

    // table update: the steps of Update that draw one part of the table.
    void UpdatePlayMode(int AMode);
    void UpdatePlayerRow(const TJSONValue &ADoc);
    void UpdateHand(const TJSONValue &ACards);
    void UpdateInPlay(const TJSONValue &APlays);
    void UpdateWinnerText(const TJSONValue *ALoser);
};
