#include "migration/ExecProcess.h"

#include "foundation/StringResource.h"
#include "foundation/TextFormat.h"

QString execConvertText(const QString& key, const QVariantList& args)
{
    const QString format =
        resourceText(QStringLiteral("CopyConvertUIResource"), QStringLiteral("execConvert"), key);
    return args.isEmpty() ? format : formatText(format, args);
}
