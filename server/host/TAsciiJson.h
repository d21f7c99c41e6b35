// JSON text as the platform writes it on the wire: pure ASCII, every character
// outside 32-126 as \uXXXX (one escape per UTF-16 unit) and "/" as "\/", so
// clients that read replies through an 8-bit code page still get every name.
#pragma once

#include "platform/TJSONValue.h"

#include <QByteArray>

QByteArray AsciiJson(const TJSONValue &value);
