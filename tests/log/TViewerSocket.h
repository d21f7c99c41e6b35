// A bound viewer socket at a fresh temporary path, standing in for the live
// log viewer so tests can read what CodeSite sends.
#pragma once

#include "log/TLogViewMessage.h"

#include <QString>
#include <QTemporaryDir>
#include <optional>

class TViewerSocket
{
public:
    TViewerSocket();
    ~TViewerSocket();
    TViewerSocket(const TViewerSocket &) = delete;
    TViewerSocket &operator=(const TViewerSocket &) = delete;

    QString Path() const { return FPath; }
    // The next message, or none when nothing arrives within two seconds.
    std::optional<TLogViewMessage> Receive();

private:
    QTemporaryDir FDir;
    QString FPath;
    int FFd = -1;
};
