#include "platform/db/DbQueryOptions.h"

QString DbQueryOptions::option(const QString& provider, const QString& name) const
{
    const qsizetype prefixed = options.indexOfName(provider + u'.' + name);
    if (prefixed >= 0)
        return options.valueFromIndex(prefixed);
    return options.value(name);
}
