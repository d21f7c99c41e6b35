#include "ServerTestSupport.h"

#include <QTcpSocket>
#include <QTest>
#include <QUrl>

namespace {

constexpr int TimeoutMs = 5000;

// The status and body of a complete reply in `data`, or nothing yet.
std::optional<THttpReply> CompleteReply(const QByteArray &data)
{
    const qsizetype headerEnd = data.indexOf("\r\n\r\n");
    if (headerEnd < 0)
        return std::nullopt;
    const QByteArray header = data.left(headerEnd).toLower();
    const qsizetype lengthAt = header.indexOf("content-length:");
    if (lengthAt < 0)
        return std::nullopt;
    const qsizetype lineEnd = header.indexOf("\r\n", lengthAt);
    const qsizetype valueStart = lengthAt + static_cast<qsizetype>(sizeof("content-length:") - 1);
    const qsizetype length = header.mid(valueStart, lineEnd < 0 ? -1 : lineEnd - valueStart).trimmed().toLongLong();
    if (data.size() < headerEnd + 4 + length)
        return std::nullopt;
    return THttpReply{data.mid(9, 3).toInt(), data.mid(headerEnd + 4, length)};
}

} // namespace

THttpReply HttpExchange(quint16 port, const QByteArray &request)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    if (!socket.waitForConnected(TimeoutMs))
        return {};
    socket.write(request);
    QByteArray received;
    std::optional<THttpReply> reply;
    (void)QTest::qWaitFor([&] {
        if (socket.isOpen())
            received += socket.readAll();
        reply = CompleteReply(received);
        return reply.has_value() || socket.state() != QAbstractSocket::ConnectedState;
    }, TimeoutMs);
    return reply.value_or(THttpReply{});
}

THttpReply HttpGet(quint16 port, const QByteArray &path)
{
    return HttpExchange(port, "GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n");
}

bool OpenRawWebSocket(QTcpSocket &socket, quint16 port, const QByteArray &managerId)
{
    socket.connectToHost(QHostAddress::LocalHost, port);
    if (!socket.waitForConnected(TimeoutMs))
        return false;
    socket.write("GET /?managerId=" + managerId + " HTTP/1.1\r\nHost: 127.0.0.1\r\nUpgrade: websocket\r\n"
                 "Connection: Upgrade\r\nSec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n"
                 "Sec-WebSocket-Version: 13\r\n\r\n");
    return QTest::qWaitFor([&] { return socket.bytesAvailable() > 0; }, TimeoutMs);
}

void SendMaskedText(QTcpSocket &socket, const QByteArray &text)
{
    Q_ASSERT(text.size() < 126);
    socket.write(QByteArray("\x81") + char(0x80 | text.size()) + QByteArray(4, '\0') + text);
}

TPushClient::TPushClient(quint16 port, const QString &managerId)
{
    connect(&FSocket, &QWebSocket::connected, this, [this] { FSettled = true; });
    connect(&FSocket, &QWebSocket::disconnected, this, [this] { FSettled = true; });
    connect(&FSocket, &QWebSocket::textMessageReceived, this, [this](const QString &text) {
        FMessages.append(vantjson::Parse(text.toStdString()));
    });
    QUrl url(QStringLiteral("ws://127.0.0.1/"));
    url.setPort(port);
    if (!managerId.isEmpty())
        url.setQuery(QStringLiteral("managerId=") + managerId);
    FSocket.open(url);
    (void)QTest::qWaitFor([this] { return FSettled; }, TimeoutMs);
}

void TPushClient::Send(const QByteArray &text)
{
    FSocket.sendTextMessage(QString::fromUtf8(text));
}

TJSONValue TPushClient::WaitFor(const std::function<bool(const TJSONValue &)> &match, int timeoutMs)
{
    TJSONValue found;
    (void)QTest::qWaitFor([&] {
        for (const TJSONValue &message : FMessages) {
            if (match(message)) {
                found = message;
                return true;
            }
        }
        return false;
    }, timeoutMs);
    return found;
}

TJSONValue TPushClient::WaitForType(const char *type, int timeoutMs)
{
    return WaitFor([type](const TJSONValue &m) { return m.value("type", "") == type; }, timeoutMs);
}
