// A bound control that running code needs. It is gone only when the layout
// was torn down, which must fail the handler rather than crash it.
#pragma once

#include <QPointer>
#include <stdexcept>
#include <string>

template <class T>
T &RequiredControl(const QPointer<T> &AControl, const char *AName)
{
    if (!AControl)
        throw std::runtime_error(std::string("control ") + AName + " is gone");
    return *AControl;
}
