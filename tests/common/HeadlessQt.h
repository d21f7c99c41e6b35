// Headless Qt for the test and benchmark programs: no real window and no GPU,
// unless the environment asks for them.
#pragma once

#include <QByteArray>
#include <QtGlobal>

inline void UseHeadlessQt()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND"))
        qputenv("QT_QUICK_BACKEND", "software");
}
