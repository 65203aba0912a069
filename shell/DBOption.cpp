#include "shell/DBOption.h"

#include <QDateTime>

void TDBOption::computeSuffix()
{
    m_timeSuffix = timeSuffix
        ? QStringLiteral("_") + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMddHHmm"))
        : QString();
    m_suffixNumber = 1;
    suffixText = m_timeSuffix;
}

void TDBOption::nextSuffix()
{
    const QString current = m_suffixNumber < 2 ? m_timeSuffix : m_timeSuffix + u'_' + QString::number(m_suffixNumber);
    if (suffixText != current) { // set by hand since computeSuffix: count on from it
        m_timeSuffix = suffixText;
        m_suffixNumber = 1;
    }
    suffixText = m_timeSuffix + u'_' + QString::number(++m_suffixNumber);
}

TDBOption& dbOption()
{
    static TDBOption option;
    return option;
}
