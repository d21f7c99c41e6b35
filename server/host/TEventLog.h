// Where the server's pieces report one short line per request or event. The
// program hands in a sink that writes through the logger when --verbose is
// given and nothing otherwise; tests hand in a collector or nothing.
#pragma once

#include <QString>
#include <functional>

using TEventLog = std::function<void(const QString &line)>;
