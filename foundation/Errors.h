#pragma once
// Raising errors. Every error is an Exception carrying a message; numbered
// errors take their text from the "common error" catalogue through a hook
// that the resource layer fills at start-up.

#include "foundation/TextFormat.h"

#include <QString>
#include <QVariant>

using TNumberedTextHook = QString (*)(int code);

// Numbered-error-text hook; empty until start-up registers it.
TNumberedTextHook numberedErrorTextHook();
void setNumberedErrorTextHook(TNumberedTextHook hook);

[[noreturn]] void raiseMessage(const QString& text);
[[noreturn]] void raiseFormattedMessage(const QString& format, const QVariantList& args);
// Text of the code from the hook, formatted with the arguments. Without the
// hook, or when the catalogue has no text for the code, the fallback of
// raiseCommonErrorCode is raised.
[[noreturn]] void raiseCommonError(int code, int position, const QVariantList& args = {});
[[noreturn]] void raiseCommonErrorCode(int code, int position);
QString commonErrorCodeText(int code, int position);
