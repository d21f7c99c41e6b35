// The discovery socket: binds UDP ports, sends plain datagrams (also to the
// limited broadcast address) and hands each received datagram to OnUDPRead.
//
// Threads: the component lives on the main thread and raises every event
// there, one datagram at a time in the order received; an event handler that
// runs a nested event loop does not get a second datagram before it returns.
//
// Each datagram is read into a buffer of 8192 bytes: the bytes of a bigger
// datagram beyond the first 8192 are dropped.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

class QUdpSocket;

// A socket failure: binding, sending; the message says why
// (e.g. "Address already in use").
class EIdSocketError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// One local address and port to listen on; for a received datagram also the
// address and port it came from.
struct TIdSocketHandle
{
    QString IP = QStringLiteral("0.0.0.0");
    quint16 Port = 0;
    QString PeerIP;
    quint16 PeerPort = 0;
};

enum class TIdStatus { hsConnected, hsDisconnected };

class TIdUDPServer : public QObject
{
    Q_OBJECT

public:
    static constexpr qint64 BufferSize = 8192;

    // AThread is the component itself (it has no listener thread of its own).
    using TUDPReadEvent = std::function<void(QObject *AThread, const QByteArray &AData, const TIdSocketHandle &ABinding)>;
    using TUDPExceptionEvent = std::function<void(QObject *AThread, const TIdSocketHandle &ABinding,
                                                  const QString &AMessage, const QString &AExceptionClass)>;
    using TStatusEvent = std::function<void(QObject *ASender, TIdStatus AStatus, const QString &AStatusText)>;

    explicit TIdUDPServer(QObject *AParent = nullptr);
    ~TIdUDPServer() override;

    // Kept as a design value: the sockets may always send to a broadcast address.
    bool BroadcastEnabled = false;
    // Bound only when Bindings is empty.
    quint16 DefaultPort = 15999;
    // Edit while inactive; the ports take effect at the next activation.
    std::vector<TIdSocketHandle> Bindings;

    TUDPReadEvent OnUDPRead;
    TUDPExceptionEvent OnUDPException;
    TStatusEvent OnStatus;

    bool Active() const;
    // True binds every binding (all or none); a failure throws EIdSocketError
    // and leaves the component inactive. False closes the sockets.
    void SetActive(bool AValue);

    // Both send from the first binding's socket. When the component is not
    // active they first try once more to bind; if that fails they throw
    // EIdSocketError, as they do when the datagram cannot be sent.
    void Broadcast(const QByteArray &AData, quint16 APort);
    void SendBuffer(const QString &AHost, quint16 APort, const QByteArray &AData);

private:
    struct TListener;

    void Send(const QString &AHost, quint16 APort, const QByteArray &AData);
    void ReadPending();
    void RaiseStatus(TIdStatus AStatus, const QString &AText);

    std::vector<std::unique_ptr<TListener>> FListeners;
    bool FReading = false;
};
