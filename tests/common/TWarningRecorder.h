// Records every warning Qt reports (QML binding and type errors, elements
// QtSvg ignores) while it lives, and restores the previous handler on every
// way out.
#pragma once

#include <QStringList>
#include <QtGlobal>

class TWarningRecorder
{
public:
    TWarningRecorder() { FPrevious = qInstallMessageHandler(&Record); Messages().clear(); }
    ~TWarningRecorder() { qInstallMessageHandler(FPrevious); }
    TWarningRecorder(const TWarningRecorder &) = delete;
    TWarningRecorder &operator=(const TWarningRecorder &) = delete;

    static QStringList &Messages()
    {
        static QStringList messages;
        return messages;
    }

private:
    static void Record(QtMsgType type, const QMessageLogContext &, const QString &message)
    {
        if (type != QtDebugMsg && type != QtInfoMsg)
            Messages().append(message);
    }
    QtMessageHandler FPrevious;
};
