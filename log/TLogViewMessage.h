// One message for the live log viewer, as it travels in one datagram.
//
// Wire format: one compact JSON object per datagram, UTF-8, for example
//   {"pid":123,"kind":"send","text":"info:Anna:hello"}
//   {"pid":123,"kind":"send","text":"info::x","class":"QTimer","name":"clock"}
//   {"pid":123,"kind":"enter","text":"ButtonRegisterClick"}
//   {"pid":123,"kind":"exit","text":"ButtonRegisterClick"}
// "class" and "name" appear only on a message sent with an object: the
// object's class name and objectName ("class" is "" for no object).
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

struct TLogViewMessage
{
    enum class TKind { send, enter, exit };

    qint64 pid = 0;
    TKind kind = TKind::send;
    QString text;
    bool hasObject = false;
    QString objectClass;
    QString objectName;

    QByteArray ToDatagram() const;
    // Empty for a datagram that is not a well-formed message.
    static std::optional<TLogViewMessage> FromDatagram(const QByteArray &datagram);

    // One console line, e.g. "[pid 123] info::hello", "[pid 123] -> Method".
    // Control characters are escaped, so a message is always one line and
    // cannot drive the terminal.
    QString DisplayLine() const;
};
