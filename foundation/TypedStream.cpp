#include "foundation/TypedStream.h"

#include "foundation/Errors.h"
#include "foundation/Exception.h"

#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <limits>

namespace {
[[noreturn]] void invalidValue() { throw Exception(QStringLiteral("Invalid property value")); }
[[noreturn]] void readError() { throw Exception(QStringLiteral("Stream read error")); }

bool isAscii(const QByteArray& bytes)
{
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}
} // namespace

// ---- TWriter ----

TWriter::TWriter(QIODevice* device, int bufferSize)
    : m_device(device), m_capacity(bufferSize > 0 ? bufferSize : 4096)
{
    m_buffer.reserve(m_capacity);
}

TWriter::~TWriter()
{
    try {
        flush();
    } catch (...) {
        // A destructor must not throw; an explicit flush reports the failure.
    }
}

void TWriter::flush()
{
    if (m_buffer.isEmpty())
        return;
    const qsizetype size = m_buffer.size();
    const qint64 written = m_device->write(m_buffer);
    m_buffer.clear();
    if (written != size)
        throw Exception(QStringLiteral("Stream write error"));
}

void TWriter::writeRaw(const void* data, qsizetype count)
{
    if (count <= 0)
        return;
    if (m_buffer.size() + count > m_capacity) {
        flush();
        if (count >= m_capacity) {
            if (m_device->write(static_cast<const char*>(data), count) != count)
                throw Exception(QStringLiteral("Stream write error"));
            return;
        }
    }
    m_buffer.append(static_cast<const char*>(data), count);
}

void TWriter::writeInteger(int32_t value)
{
    uint8_t bytes[5];
    if (value >= -128 && value <= 127) {
        bytes[0] = ValueTag::Int8;
        bytes[1] = static_cast<uint8_t>(static_cast<int8_t>(value));
        writeRaw(bytes, 2);
    } else if (value >= -32768 && value <= 32767) {
        bytes[0] = ValueTag::Int16;
        qToLittleEndian<int16_t>(static_cast<int16_t>(value), bytes + 1);
        writeRaw(bytes, 3);
    } else {
        bytes[0] = ValueTag::Int32;
        qToLittleEndian<int32_t>(value, bytes + 1);
        writeRaw(bytes, 5);
    }
}

void TWriter::writeString(const QString& value)
{
    const QByteArray utf8 = value.toUtf8();
    const qsizetype units = value.size();
    // A lone surrogate has no UTF-8 form; only the UTF-16 form keeps it.
    if (utf8.size() < 2 * units && QStringView(value).isValidUtf16()) {
        uint8_t head[5];
        if (isAscii(utf8)) {
            if (utf8.size() <= 255) {
                head[0] = ValueTag::String;
                head[1] = static_cast<uint8_t>(utf8.size());
                writeRaw(head, 2);
            } else {
                head[0] = ValueTag::LString;
                qToLittleEndian<uint32_t>(static_cast<uint32_t>(utf8.size()), head + 1);
                writeRaw(head, 5);
            }
        } else {
            head[0] = ValueTag::Utf8String;
            qToLittleEndian<uint32_t>(static_cast<uint32_t>(utf8.size()), head + 1);
            writeRaw(head, 5);
        }
        writeRaw(utf8);
        return;
    }
    uint8_t head[5];
    head[0] = ValueTag::WString;
    qToLittleEndian<uint32_t>(static_cast<uint32_t>(units), head + 1);
    writeRaw(head, 5);
    QByteArray utf16(units * 2, Qt::Uninitialized);
    qToLittleEndian<char16_t>(value.utf16(), units, utf16.data());
    writeRaw(utf16);
}

void TWriter::writeBoolean(bool value)
{
    writeTag(value ? ValueTag::True : ValueTag::False);
}

// ---- TReader ----

TReader::TReader(QIODevice* device, int bufferSize)
    : m_device(device), m_capacity(bufferSize > 0 ? bufferSize : 4096)
{
}

TReader::~TReader()
{
    const qsizetype unread = m_buffer.size() - m_pos;
    if (unread > 0 && !m_device->isSequential())
        m_device->seek(m_device->pos() - unread);
}

bool TReader::fill(qsizetype needed)
{
    if (m_buffer.size() - m_pos >= needed)
        return true;
    m_buffer.remove(0, m_pos);
    m_pos = 0;
    // A damaged length field must not make us allocate what the device cannot
    // deliver: on a random-access device the shortfall is known up front.
    if (!m_device->isSequential() && m_buffer.size() + m_device->bytesAvailable() < needed)
        return false;
    qsizetype want = std::max(needed, m_capacity) - m_buffer.size();
    if (!m_device->isSequential())
        want = std::min<qsizetype>(want, m_device->bytesAvailable());
    // Sequential devices deliver in pieces; grow in steps so that a bogus
    // length costs at most what actually arrives.
    const qsizetype step = std::max<qsizetype>(m_capacity, 1 << 16);
    while (want > 0) {
        const qsizetype old = m_buffer.size();
        const qsizetype chunk = std::min(want, step);
        m_buffer.resize(old + chunk);
        const qint64 n = m_device->read(m_buffer.data() + old, chunk);
        m_buffer.resize(old + std::max<qint64>(n, 0));
        if (n <= 0 || m_buffer.size() >= needed)
            break;
        want -= n;
    }
    return m_buffer.size() >= needed;
}

void TReader::require(qsizetype needed)
{
    if (!fill(needed))
        readError();
}

void TReader::readRaw(void* data, qsizetype count)
{
    if (count <= 0)
        return;
    require(count);
    std::memcpy(data, m_buffer.constData() + m_pos, count);
    m_pos += count;
}

QByteArray TReader::readRaw(qsizetype count)
{
    if (count < 0)
        readError();
    QByteArray out(count, Qt::Uninitialized);
    readRaw(out.data(), count);
    return out;
}

uint8_t TReader::peekTag()
{
    require(1);
    return static_cast<uint8_t>(m_buffer.at(m_pos));
}

uint8_t TReader::readTag()
{
    const uint8_t tag = peekTag();
    ++m_pos;
    return tag;
}

int32_t TReader::readInteger()
{
    const uint8_t tag = peekTag();
    switch (tag) {
    case ValueTag::Int8: {
        ++m_pos;
        int8_t v;
        readRaw(&v, 1);
        return v;
    }
    case ValueTag::Int16: {
        ++m_pos;
        uint8_t b[2];
        readRaw(b, 2);
        return qFromLittleEndian<int16_t>(b);
    }
    case ValueTag::Int32: {
        ++m_pos;
        uint8_t b[4];
        readRaw(b, 4);
        return qFromLittleEndian<int32_t>(b);
    }
    default:
        invalidValue();
    }
}

QString TReader::readString()
{
    const uint8_t tag = peekTag();
    switch (tag) {
    case ValueTag::String: {
        ++m_pos;
        uint8_t n;
        readRaw(&n, 1);
        return QString::fromUtf8(readRaw(n));
    }
    case ValueTag::LString:
    case ValueTag::Utf8String: {
        ++m_pos;
        uint8_t b[4];
        readRaw(b, 4);
        const uint32_t n = qFromLittleEndian<uint32_t>(b);
        if (n > uint32_t(std::numeric_limits<int32_t>::max()))
            readError();
        return QString::fromUtf8(readRaw(qsizetype(n)));
    }
    case ValueTag::WString: {
        ++m_pos;
        uint8_t b[4];
        readRaw(b, 4);
        const uint32_t n = qFromLittleEndian<uint32_t>(b);
        if (n > uint32_t(std::numeric_limits<int32_t>::max() / 2))
            readError();
        const QByteArray bytes = readRaw(qsizetype(n) * 2);
        QString out(qsizetype(n), Qt::Uninitialized);
        qFromLittleEndian<char16_t>(bytes.constData(), n, out.data());
        return out;
    }
    default:
        invalidValue();
    }
}

bool TReader::readBoolean()
{
    return readTag() == ValueTag::True;
}

void TReader::expectTag(uint8_t tag)
{
    if (peekTag() == tag) {
        ++m_pos;
        return;
    }
    skipValue();
    invalidValue();
}

void TReader::skipValue()
{
    auto skip = [this](qsizetype n) {
        require(n);
        m_pos += n;
    };
    auto len32 = [this]() {
        uint8_t b[4];
        readRaw(b, 4);
        return qsizetype(qFromLittleEndian<uint32_t>(b));
    };
    // Nested lists are tracked by depth, not recursion: a damaged stream of
    // list tags must not exhaust the call stack.
    qsizetype depth = 0;
    do {
        switch (readTag()) {
        case ValueTag::Null:
            if (depth > 0)
                --depth;
            break;
        case ValueTag::List: case ValueTag::Collection:
            ++depth;
            break;
        case ValueTag::False: case ValueTag::True: case ValueTag::Nil:
            break;
        case ValueTag::Int8: skip(1); break;
        case ValueTag::Int16: skip(2); break;
        case ValueTag::Int32: case ValueTag::Single: skip(4); break;
        case ValueTag::Extended: skip(10); break;
        case ValueTag::Int64: case ValueTag::Currency: case ValueTag::Date: case ValueTag::Double: skip(8); break;
        case ValueTag::String: case ValueTag::Ident: {
            uint8_t n;
            readRaw(&n, 1);
            skip(n);
            break;
        }
        case ValueTag::Binary: case ValueTag::LString: case ValueTag::Utf8String:
            skip(len32());
            break;
        case ValueTag::WString:
            skip(len32() * 2);
            break;
        case ValueTag::Set:
            for (;;) {
                uint8_t n;
                readRaw(&n, 1);
                if (n == 0)
                    break;
                skip(n);
            }
            break;
        default:
            invalidValue();
        }
    } while (depth > 0);
}

// ---- GUIDs and framing ----

QByteArray guidToBytes(const QUuid& id)
{
    QByteArray out(16, Qt::Uninitialized);
    auto* p = reinterpret_cast<uchar*>(out.data());
    qToLittleEndian<uint32_t>(id.data1, p);
    qToLittleEndian<uint16_t>(id.data2, p + 4);
    qToLittleEndian<uint16_t>(id.data3, p + 6);
    std::memcpy(p + 8, id.data4, 8);
    return out;
}

QUuid guidFromBytes(const QByteArray& bytes)
{
    if (bytes.size() != 16)
        return QUuid();
    const auto* p = reinterpret_cast<const uchar*>(bytes.constData());
    return QUuid(qFromLittleEndian<uint32_t>(p), qFromLittleEndian<uint16_t>(p + 4),
                 qFromLittleEndian<uint16_t>(p + 6), p[8], p[9], p[10], p[11], p[12], p[13], p[14], p[15]);
}

QString guidText(const QUuid& id)
{
    return id.toString(QUuid::WithBraces).toUpper();
}

void writeClassHeader(TWriter& writer, const QUuid& classId)
{
    writer.writeInteger(kClassHeaderMark);
    writer.writeRaw(guidToBytes(classId));
}

QUuid readClassHeaderAny(TReader& reader)
{
    if (reader.readInteger() != kClassHeaderMark)
        throw Exception(QStringLiteral("read stream class type error!"));
    return guidFromBytes(reader.readRaw(16));
}

void readClassHeader(TReader& reader, const QUuid& expected)
{
    if (readClassHeaderAny(reader) != expected)
        throw Exception(QStringLiteral("read stream class type error!"));
}

void writeClassEnd(TWriter& writer)
{
    writer.writeInteger(kClassEndMark);
}

void readClassEnd(TReader& reader, const QString& className)
{
    if (reader.readInteger() != kClassEndMark)
        throw Exception(QStringLiteral("read stream class end error!class=%1").arg(className));
}

int readStreamVersion(TReader& reader, const QString& className, int expected)
{
    const int version = reader.readInteger();
    if (version != expected)
        raiseCommonError(100, 0, {className, QString::number(expected), version});
    return version;
}
