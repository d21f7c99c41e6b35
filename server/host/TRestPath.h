// The raw request path of the REST face, split on "/" first and each segment
// percent-decoded by itself, so an encoded "/" stays inside its value.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// Decodes one path segment: %XX (either case of hex) becomes its byte, "+"
// stays "+", the bytes are read as UTF-8. Nothing for a "%" without two hex
// digits after it.
std::optional<QString> DecodeSegment(const QByteArray &segment);

// The segments of a raw path after its leading "/"; a trailing "/" ends the
// path and adds no empty segment.
QList<QByteArray> SplitRawPath(const QByteArray &rawPath);
