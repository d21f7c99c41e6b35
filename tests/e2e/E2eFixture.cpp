#include "E2eFixture.h"

#include "net/TDSClientCallbackChannelManager.h"

#include <QDeadlineTimer>
#include <QQuickStyle>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QUdpSocket>

namespace {

bool Accepts(quint16 APort)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, APort);
    return socket.waitForConnected(200);
}

} // namespace

TServerPorts FreeServerPorts()
{
    TServerPorts ports;
    // Held together, so the two TCP ports differ.
    QTcpServer http;
    QTcpServer push;
    QUdpSocket discovery;
    http.listen(QHostAddress::LocalHost, 0);
    push.listen(QHostAddress::LocalHost, 0);
    discovery.bind(QHostAddress::AnyIPv4, 0);
    ports.Http = http.serverPort();
    ports.Push = push.serverPort();
    ports.Discovery = discovery.localPort();
    return ports;
}

TVantServerProcess::TVantServerProcess(TServerPorts APorts, QStringList AExtraArguments)
    : FPorts(APorts), FExtraArguments(std::move(AExtraArguments))
{
    FProcess.setProgram(QStringLiteral(VANT_SERVER_PATH));
    FProcess.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    FProcess.setStandardOutputFile(QProcess::nullDevice());
}

TVantServerProcess::~TVantServerProcess()
{
    Kill();
}

bool TVantServerProcess::Start(QString &AError, int AMilliseconds)
{
    FProcess.setArguments(QStringList{QStringLiteral("--http-port"), QString::number(FPorts.Http),
                                      QStringLiteral("--push-port"), QString::number(FPorts.Push),
                                      QStringLiteral("--discovery-port"), QString::number(FPorts.Discovery),
                                      QStringLiteral("--host"), QStringLiteral("127.0.0.1")} +
                          FExtraArguments);
    FProcess.start();
    if (!FProcess.waitForStarted(AMilliseconds)) {
        AError = FProcess.errorString();
        return false;
    }
    const QDeadlineTimer deadline(AMilliseconds);
    while (!deadline.hasExpired()) {
        if (FProcess.state() == QProcess::NotRunning) {
            AError = QStringLiteral("vant-server ended with code %1").arg(FProcess.exitCode());
            return false;
        }
        if (Accepts(FPorts.Http) && Accepts(FPorts.Push))
            return true;
        QThread::msleep(20);
    }
    AError = QStringLiteral("vant-server did not listen within %1 ms").arg(AMilliseconds);
    return false;
}

void TVantServerProcess::Kill()
{
    if (FProcess.state() == QProcess::NotRunning)
        return;
    FProcess.kill();
    FProcess.waitForFinished(5000);
}

std::unique_ptr<TFormRenderGame> MakeClientWindow(const TServerPorts &APorts)
{
    static const bool basicStyle = [] {
        QQuickStyle::setStyle(QStringLiteral("Basic"));
        return true;
    }();
    (void)basicStyle;
    auto form = std::make_unique<TFormRenderGame>();
    form->DiscoveryPort = APorts.Discovery;
    for (TDSClientCallbackChannelManager *manager : {form->DSChannelVantUpdate.get(), form->DSChannelVantComm.get()})
        manager->SetDSPort(QString::number(APorts.Push));
    return form;
}

TBareClient::TBareClient(const TServerPorts &APorts) : FProxy(FConnection)
{
    FConnection.SetHost(QStringLiteral("127.0.0.1"));
    FConnection.SetPort(APorts.Http);
}
