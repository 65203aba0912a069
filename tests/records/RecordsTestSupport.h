#pragma once
// Shared helpers of the record tests: hex bytes, in-memory streams, a
// temporary work folder.

#include "foundation/TypedStream.h"

#include <QBuffer>
#include <QByteArray>
#include <QTemporaryDir>
#include <functional>
#include <ostream>

// Readable QString values in test failures.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

// "03 B5 07" -> bytes
QByteArray hexBytes(const char* text);
QString hexText(const QByteArray& bytes);

// Bytes that a writer callback produced.
QByteArray writtenBytes(const std::function<void(TWriter&)>& write);
// Runs a reader callback over bytes; returns whether it consumed them all.
bool readBytes(const QByteArray& bytes, const std::function<void(TReader&)>& read);
