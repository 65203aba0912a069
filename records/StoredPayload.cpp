#include "records/StoredPayload.h"

#include "foundation/Exception.h"
#include "foundation/TypedStream.h"

#include <QBuffer>
#include <QtEndian>
#include <cstring>

QByteArray int32Payload(int32_t value)
{
    QByteArray out(4, Qt::Uninitialized);
    qToLittleEndian<int32_t>(value, out.data());
    return out;
}

QByteArray int64Payload(int64_t value)
{
    QByteArray out(8, Qt::Uninitialized);
    qToLittleEndian<int64_t>(value, out.data());
    return out;
}

QByteArray doublePayload(double value)
{
    uint64_t bits;
    std::memcpy(&bits, &value, 8);
    QByteArray out(8, Qt::Uninitialized);
    qToLittleEndian<uint64_t>(bits, out.data());
    return out;
}

QByteArray booleanPayload(bool value)
{
    return QByteArray(1, value ? '\x01' : '\x00');
}

QByteArray textPayload(const QString& text)
{
    QByteArray out(text.size() * 2, Qt::Uninitialized);
    qToLittleEndian<char16_t>(text.utf16(), text.size(), out.data());
    return out;
}

int32_t int32FromPayload(const QByteArray& payload)
{
    return qFromLittleEndian<int32_t>(payload.constData());
}

int64_t int64FromPayload(const QByteArray& payload)
{
    return qFromLittleEndian<int64_t>(payload.constData());
}

double doubleFromPayload(const QByteArray& payload)
{
    const uint64_t bits = qFromLittleEndian<uint64_t>(payload.constData());
    double value;
    std::memcpy(&value, &bits, 8);
    return value;
}

QString textFromPayload(const QByteArray& payload)
{
    const qsizetype units = payload.size() / 2;
    QString out(units, Qt::Uninitialized);
    qFromLittleEndian<char16_t>(payload.constData(), units, out.data());
    return out;
}

int fixedPayloadSize(TReadDataFieldType type)
{
    switch (type) {
    case rftInteger: return 4;
    case rftExtended: return 10;
    case rftInt64: return 8;
    case rftBoolean: return 1;
    case rftFloat: return 8;
    case rftBCD: return 34;
    case rftDate: case rftTime: case rftDateTime: return 8;
    case rttTimeStamp: return 16;
    default: return -1;
    }
}

void writeStoredValue(TWriter& writer, int index, int fieldType, bool isNull, const QByteArray& payload)
{
    writer.writeInteger(1);
    writer.writeInteger(index);
    writer.writeInteger(fieldType);
    writer.writeBoolean(isNull);
    if (isNull)
        return;
    writer.writeInteger(int32_t(payload.size()));
    writer.writeRaw(payload);
}

QByteArray readPayloadBytes(TReader& reader, int32_t size)
{
    if (size < 0)
        throw Exception(QStringLiteral("Stream read error"));
    constexpr qsizetype kPiece = 1 << 20;
    QByteArray out;
    while (out.size() < size) {
        const qsizetype n = std::min<qsizetype>(kPiece, size - out.size());
        out.append(reader.readRaw(n));
    }
    return out;
}

QByteArray bytesWrittenBy(const std::function<void(TWriter&)>& write)
{
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    TWriter writer(&buffer, 65536);
    write(writer);
    writer.flush();
    return out;
}
