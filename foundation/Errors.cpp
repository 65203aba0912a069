#include "foundation/Errors.h"

#include "foundation/Exception.h"

namespace {
TNumberedTextHook g_numberedTextHook = nullptr;
}

TNumberedTextHook numberedErrorTextHook() { return g_numberedTextHook; }
void setNumberedErrorTextHook(TNumberedTextHook hook) { g_numberedTextHook = hook; }

void raiseMessage(const QString& text) { throw Exception(text); }

void raiseFormattedMessage(const QString& format, const QVariantList& args)
{
    throw Exception(formatText(format, args));
}

QString commonErrorCodeText(int code, int position)
{
    return QStringLiteral("Common error,errorcode=%1 position=%2").arg(code).arg(position);
}

void raiseCommonError(int code, int position, const QVariantList& args)
{
    const QString text = g_numberedTextHook ? g_numberedTextHook(code) : QString();
    if (text.isEmpty())
        raiseCommonErrorCode(code, position);
    throw Exception(formatText(text, args));
}

void raiseCommonErrorCode(int code, int position)
{
    throw Exception(commonErrorCodeText(code, position));
}
