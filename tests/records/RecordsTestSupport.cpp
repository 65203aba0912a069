#include "RecordsTestSupport.h"

#include <QLocale>

namespace {
// Locale texts are checked against a fixed locale.
const bool g_localeFixed = [] {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    return true;
}();
} // namespace

QByteArray hexBytes(const char* text)
{
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

QString hexText(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

QByteArray writtenBytes(const std::function<void(TWriter&)>& write)
{
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    {
        TWriter writer(&buffer, 4096);
        write(writer);
    }
    return out;
}

bool readBytes(const QByteArray& bytes, const std::function<void(TReader&)>& read)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    {
        TReader reader(&buffer, 4096);
        read(reader);
    }
    return buffer.pos() == copy.size();
}
