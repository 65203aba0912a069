#include "foundation/TextFormat.h"

#include "foundation/Exception.h"

namespace {

[[noreturn]] void formatError(const QString& format)
{
    throw Exception(QStringLiteral("Format '%1' invalid or incompatible with argument").arg(format));
}

bool isIntegral(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::LongLong: case QMetaType::ULongLong:
    case QMetaType::Long: case QMetaType::ULong: case QMetaType::Short: case QMetaType::UShort:
    case QMetaType::Char: case QMetaType::SChar: case QMetaType::UChar:
        return true;
    default:
        return false;
    }
}

// %u and %x show a negative value in its two's complement of the argument's
// own width, as a 32-bit argument is 32 bits wide.
quint64 unsignedValue(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::Int: return quint32(v.toInt());
    case QMetaType::Short: return quint16(v.value<short>());
    case QMetaType::Char: case QMetaType::SChar: return quint8(v.value<signed char>());
    default: return v.toULongLong();
    }
}

} // namespace

QString formatText(const QString& format, const QVariantList& args)
{
    QString out;
    out.reserve(format.size() + 16);
    int next = 0;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c != u'%') {
            out += c;
            continue;
        }
        if (++i >= format.size())
            formatError(format);
        if (format.at(i) == u'%') {
            out += u'%';
            continue;
        }
        bool leftAlign = false;
        if (format.at(i) == u'-') {
            leftAlign = true;
            ++i;
        }
        int width = 0;
        while (i < format.size() && format.at(i).isDigit())
            width = width * 10 + format.at(i++).digitValue();
        int precision = -1;
        if (i < format.size() && format.at(i) == u'.') {
            precision = 0;
            ++i;
            while (i < format.size() && format.at(i).isDigit())
                precision = precision * 10 + format.at(i++).digitValue();
        }
        if (i >= format.size() || next >= args.size())
            formatError(format);
        const QVariant& arg = args.at(next++);
        QString piece;
        switch (format.at(i).toLower().unicode()) {
        case 's':
            if (arg.typeId() != QMetaType::QString && arg.typeId() != QMetaType::QByteArray
                && arg.typeId() != QMetaType::QChar)
                formatError(format);
            piece = arg.toString();
            if (precision >= 0)
                piece.truncate(precision);
            break;
        case 'd':
        case 'u':
            if (!isIntegral(arg))
                formatError(format);
            piece = format.at(i).toLower() == u'u' ? QString::number(unsignedValue(arg))
                                                    : QString::number(arg.toLongLong());
            if (precision > 0 && piece.size() < precision)
                piece = piece.rightJustified(precision, u'0');
            break;
        case 'x':
            if (!isIntegral(arg))
                formatError(format);
            piece = QString::number(unsignedValue(arg), 16).toUpper();
            if (precision > 0 && piece.size() < precision)
                piece = piece.rightJustified(precision, u'0');
            break;
        default:
            formatError(format);
        }
        if (piece.size() < width)
            piece = leftAlign ? piece.leftJustified(width) : piece.rightJustified(width);
        out += piece;
    }
    return out;
}
