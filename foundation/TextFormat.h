#pragma once
// printf-like formatting of looked-up texts (%s, %d, %u, %x, %%), with the
// width and precision forms the tables use. An argument that does not fit its
// placeholder, or a missing argument, raises an Exception as the platform's
// format error would.

#include <QString>
#include <QVariant>
#include <initializer_list>

QString formatText(const QString& format, const QVariantList& args);
inline QString formatText(const QString& format, std::initializer_list<QVariant> args)
{
    return formatText(format, QVariantList(args));
}
