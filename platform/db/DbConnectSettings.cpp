#include "platform/db/DbConnectSettings.h"

QString DbConnectSettings::option(const QString& name) const
{
    askedOptions.insert(name.toLower());
    askedOptions.insert((providerName + u'.' + name).toLower());
    const qsizetype prefixed = options.indexOfName(providerName + u'.' + name);
    if (prefixed >= 0)
        return options.valueFromIndex(prefixed);
    return options.value(name);
}

bool DbConnectSettings::boolOption(const QString& name, bool fallback) const
{
    const QString v = option(name).trimmed();
    if (v.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 || v == QLatin1String("1"))
        return true;
    if (v.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0 || v == QLatin1String("0"))
        return false;
    return fallback;
}

int DbConnectSettings::intOption(const QString& name, int fallback) const
{
    bool ok = false;
    const int v = option(name).trimmed().toInt(&ok);
    return ok ? v : fallback;
}
