#pragma once
// The typed value stream inside every binary file of the system: a one-byte
// tag and a payload fixed by the tag, little-endian; plus the object framing
// (class header 1973 + 16-byte class id, stream version, class end 1981).

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QUuid>

#include <cstdint>

namespace ValueTag {
enum : uint8_t {
    Null = 0, List = 1, Int8 = 2, Int16 = 3, Int32 = 4, Extended = 5, String = 6, Ident = 7,
    False = 8, True = 9, Binary = 10, Set = 11, LString = 12, Nil = 13, Collection = 14,
    Single = 15, Currency = 16, Date = 17, WString = 18, Int64 = 19, Utf8String = 20, Double = 21
};
}

constexpr int kClassHeaderMark = 1973;
constexpr int kClassEndMark = 1981;

// Writes values through a buffer; the buffer goes to the device when full,
// on flush and on destruction.
class TWriter {
public:
    TWriter(QIODevice* device, int bufferSize);
    ~TWriter();
    TWriter(const TWriter&) = delete;
    TWriter& operator=(const TWriter&) = delete;

    void writeInteger(int32_t value);
    void writeString(const QString& value);
    void writeBoolean(bool value);
    void writeListBegin() { writeTag(ValueTag::List); }
    void writeListEnd() { writeTag(ValueTag::Null); }
    void writeRaw(const void* data, qsizetype count);
    void writeRaw(const QByteArray& bytes) { writeRaw(bytes.constData(), bytes.size()); }
    void writeTag(uint8_t tag) { writeRaw(&tag, 1); }
    void flush();

private:
    QIODevice* m_device; // not owned
    QByteArray m_buffer;
    qsizetype m_capacity;
};

// Reads values through a buffer. On destruction it moves the device back by
// the bytes it read ahead, so the device stands right after the last value.
class TReader {
public:
    TReader(QIODevice* device, int bufferSize);
    ~TReader();
    TReader(const TReader&) = delete;
    TReader& operator=(const TReader&) = delete;

    int32_t readInteger();
    QString readString();
    bool readBoolean();
    void readListBegin() { expectTag(ValueTag::List); }
    void readListEnd() { expectTag(ValueTag::Null); }
    bool endOfList() { return peekTag() == ValueTag::Null; }
    void readRaw(void* data, qsizetype count);
    QByteArray readRaw(qsizetype count);
    uint8_t peekTag();
    uint8_t readTag();
    // Skips the whole value that starts at the current position.
    void skipValue();

private:
    void expectTag(uint8_t tag);
    bool fill(qsizetype needed); // makes at least needed bytes available
    void require(qsizetype needed);

    QIODevice* m_device; // not owned
    QByteArray m_buffer;
    qsizetype m_pos = 0;
    qsizetype m_capacity;
};

// 16-byte GUID in the in-memory layout (first three fields little-endian).
QByteArray guidToBytes(const QUuid& id);
QUuid guidFromBytes(const QByteArray& bytes);
QString guidText(const QUuid& id); // registry form, braces, upper case

// Framing.
void writeClassHeader(TWriter& writer, const QUuid& classId);
void readClassHeader(TReader& reader, const QUuid& expected);
QUuid readClassHeaderAny(TReader& reader); // the id of whatever header stands here
void writeClassEnd(TWriter& writer);
void readClassEnd(TReader& reader, const QString& className);
int readStreamVersion(TReader& reader, const QString& className, int expected);
