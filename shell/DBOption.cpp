#include "shell/DBOption.h"

#include <QDateTime>

void TDBOption::computeSuffix()
{
    suffixText = timeSuffix
        ? QStringLiteral("_") + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMddHHmm"))
        : QString();
}

TDBOption& dbOption()
{
    static TDBOption option;
    return option;
}
