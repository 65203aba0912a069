#include "foundation/Errors.h"
#include "foundation/Exception.h"
#include "foundation/StreamObjectFactory.h"
#include "foundation/TypedStream.h"

#include <QBuffer>
#include <gtest/gtest.h>

#include <functional>
#include <limits>

namespace {

QByteArray writeWith(const std::function<void(TWriter&)>& body, int bufferSize = 8192)
{
    QBuffer b;
    b.open(QIODevice::ReadWrite);
    {
        TWriter w(&b, bufferSize);
        body(w);
    }
    return b.data();
}

QByteArray hex(const char* text) { return QByteArray::fromHex(text); }

// Runs the read on the bytes and returns the message it failed with.
QString failureOf(const QByteArray& bytes, const std::function<void(TReader&)>& read)
{
    QBuffer b;
    b.setData(bytes);
    b.open(QIODevice::ReadOnly);
    TReader r(&b, 8192);
    try {
        read(r);
    } catch (const Exception& e) {
        return e.message();
    }
    return QStringLiteral("<no failure>");
}

} // namespace

TEST(TypedStream, IntegersTakeTheSmallestTagAndReadBack)
{
    const struct {
        int32_t value;
        const char* bytes;
    } cases[] = {
        {5, "0205"}, {-1, "02ff"}, {300, "032c01"}, {1973, "03b507"}, {70000, "0470110100"},
        {-128, "0280"}, {127, "027f"}, {-129, "037fff"}, {128, "038000"},
        {-32768, "030080"}, {32767, "03ff7f"}, {-32769, "04ff7fffff"}, {32768, "0400800000"},
        {std::numeric_limits<int32_t>::min(), "0400000080"}, {std::numeric_limits<int32_t>::max(), "04ffffff7f"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        const QByteArray bytes = writeWith([&](TWriter& w) { w.writeInteger(c.value); });
        EXPECT_EQ(bytes.toHex(), QByteArray(c.bytes));
        QBuffer b;
        b.setData(bytes);
        b.open(QIODevice::ReadOnly);
        {
            TReader r(&b, 8192);
            EXPECT_EQ(r.readInteger(), c.value);
        }
        EXPECT_EQ(b.pos(), bytes.size());
    }
}

TEST(TypedStream, StringsChooseTheirTagAndReadBack)
{
    const QString ascii255(255, u'a');
    const QString ascii256(256, u'b');
    const struct {
        QString text;
        QByteArray bytes;
    } cases[] = {
        {QString(), hex("1200000000")},
        {QStringLiteral("abc"), hex("0603616263")},
        {ascii255, hex("06ff") + ascii255.toLatin1()},
        {ascii256, hex("0c00010000") + ascii256.toLatin1()},
        // CJK: 3 UTF-8 bytes per unit, so UTF-16 is shorter.
        {QString::fromUtf8("中文字"), hex("12030000002d4e8765575b")},
        // Four letters, one accented: 5 bytes < 2 x 4.
        {QString::fromUtf8("café"), hex("1405000000636166c3a9")},
        // A single accented letter: 2 bytes is not less than 2 x 1.
        {QString::fromUtf8("é"), hex("1201000000e900")},
        // Outside the basic plane: 4 bytes for 2 units.
        {QString::fromUtf8("😀"), hex("12020000003dd800de")},
        // A lone surrogate has no UTF-8 form; UTF-16 keeps it.
        {QStringLiteral("abcd") + QChar(0xD800), hex("1205000000610062006300640000d8")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.left(8).toStdString());
        const QByteArray bytes = writeWith([&](TWriter& w) { w.writeString(c.text); });
        EXPECT_EQ(bytes.toHex(), c.bytes.toHex());
        QBuffer b;
        b.setData(bytes);
        b.open(QIODevice::ReadOnly);
        TReader r(&b, 8192);
        EXPECT_EQ(r.readString(), c.text);
    }
}

TEST(TypedStream, EightBitTagsAreDecodedAsUtf8)
{
    QBuffer b;
    b.setData(hex("0602c3a9") + hex("0c02000000c3a9"));
    b.open(QIODevice::ReadOnly);
    TReader r(&b, 8192);
    EXPECT_EQ(r.readString(), QString::fromUtf8("é"));
    EXPECT_EQ(r.readString(), QString::fromUtf8("é"));
}

TEST(TypedStream, BooleanTakesAnyTagAndConsumesOnlyTheTag)
{
    EXPECT_EQ(writeWith([](TWriter& w) {
                  w.writeBoolean(true);
                  w.writeBoolean(false);
              }).toHex(),
              "0908");
    QBuffer b;
    b.setData(hex("08000209"));
    b.open(QIODevice::ReadOnly);
    {
        TReader r(&b, 8192);
        EXPECT_FALSE(r.readBoolean());
        EXPECT_FALSE(r.readBoolean());
        EXPECT_FALSE(r.readBoolean()); // tag 2: its payload byte is not read...
        EXPECT_TRUE(r.readBoolean());  // ...so the 09 behind it is the next value
    }
    EXPECT_EQ(b.pos(), 4);
}

TEST(TypedStream, WrongTagIsAnInvalidValue)
{
    const QString invalid = QStringLiteral("Invalid property value");
    EXPECT_EQ(failureOf(hex("0603616263"), [](TReader& r) { r.readInteger(); }), invalid);
    EXPECT_EQ(failureOf(hex("0205"), [](TReader& r) { r.readString(); }), invalid);
    EXPECT_EQ(failureOf(hex("0205"), [](TReader& r) { r.readListBegin(); }), invalid);
    EXPECT_EQ(failureOf(hex("0100"), [](TReader& r) { r.readListEnd(); }), invalid);
    EXPECT_EQ(failureOf(hex("ff"), [](TReader& r) { r.readListEnd(); }), invalid);
}

TEST(TypedStream, ExpectedTagMismatchSkipsTheWholeValue)
{
    QBuffer b;
    b.setData(hex("01 02 05 01 06 01 41 00 00 09"));
    b.open(QIODevice::ReadOnly);
    TReader r(&b, 8192);
    EXPECT_THROW(r.readListEnd(), Exception);
    EXPECT_TRUE(r.readBoolean()); // the nested list was skipped as one value
}

TEST(TypedStream, TruncatedStreamIsAReadError)
{
    const struct {
        const char* bytes;
        std::function<void(TReader&)> read;
    } cases[] = {
        {"", [](TReader& r) { r.readInteger(); }},
        {"", [](TReader& r) { r.readBoolean(); }},
        {"03 2c", [](TReader& r) { r.readInteger(); }},
        {"04 01 02 03", [](TReader& r) { r.readInteger(); }},
        {"06 05 61 62", [](TReader& r) { r.readString(); }},
        {"0c 00 01", [](TReader& r) { r.readString(); }},
        {"12 02 00 00 00 41 00", [](TReader& r) { r.readString(); }},
        // Lengths far beyond the data must fail, not allocate them.
        {"14 ff ff ff 7f 41", [](TReader& r) { r.readString(); }},
        {"12 ff ff ff 3f 41", [](TReader& r) { r.readString(); }},
        {"01 06 01 41", [](TReader& r) {
             r.readListBegin();
             while (!r.endOfList())
                 r.readString();
         }},
        {"00 11 22", [](TReader& r) { r.readRaw(16); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(failureOf(hex(c.bytes), c.read), QStringLiteral("Stream read error"));
    }
}

TEST(TypedStream, DeeplyNestedListsAreSkippedWithoutRecursion)
{
    // Skipping a value of a million nested list starts must end in a read
    // error, not in a stack overflow.
    EXPECT_EQ(failureOf(QByteArray(1 << 20, '\x01'), [](TReader& r) { r.readListEnd(); }),
              QStringLiteral("Stream read error"));
}

TEST(TypedStream, SmallBuffersWriteTheSameBytes)
{
    const QByteArray block(100, 'r');
    const auto body = [&](TWriter& w) {
        for (int i = 0; i < 50; ++i) {
            w.writeInteger(i * 1000);
            w.writeString(QStringLiteral("value %1").arg(i));
        }
        w.writeRaw(block);
        w.writeBoolean(true);
    };
    EXPECT_EQ(writeWith(body, 7), writeWith(body, 8192));
}

TEST(TypedStream, DestroyedReaderLeavesTheStreamBehindTheLastValue)
{
    QBuffer b;
    b.open(QIODevice::ReadWrite);
    {
        TWriter w(&b, 8192);
        w.writeInteger(5);
        w.writeString(QStringLiteral("abc"));
    }
    b.write("RAW");
    b.seek(0);
    {
        TReader r(&b, 8192); // reads ahead the whole buffer
        EXPECT_EQ(r.readInteger(), 5);
    }
    EXPECT_EQ(b.pos(), 2);
    {
        TReader r(&b, 8192);
        EXPECT_EQ(r.readString(), QStringLiteral("abc"));
    }
    EXPECT_EQ(b.read(3), QByteArray("RAW"));
}

namespace {

const QUuid kFieldDefListId(QStringLiteral("{67EEDC05-210B-4662-A9A3-4530CD5FFD89}"));

class TProbeObject : public TStreamObject {
public:
    static inline const QUuid kId{QStringLiteral("{5B0C4C52-1D6E-4E0B-9E59-0F3F1A6E2C11}")};
    int value = 0;
    QUuid classId() const override { return kId; }
    void saveToWriter(TWriter& w) const override
    {
        writeClassHeader(w, kId);
        w.writeInteger(1);
        w.writeInteger(value);
        writeClassEnd(w);
    }
    void loadFromReader(TReader& r, bool headerConsumed) override
    {
        if (!headerConsumed)
            readClassHeader(r, kId);
        readStreamVersion(r, QStringLiteral("TProbeObject"), 1);
        value = r.readInteger();
        readClassEnd(r, QStringLiteral("TProbeObject"));
    }
};

QString messageTextHook(int code)
{
    return code == 100 ? QStringLiteral("Stream version error,class name=\"%s\",allow version=[%s],read version=%d")
                       : QString();
}

} // namespace

TEST(StreamFraming, ClassIdIsStoredInGuidLayout)
{
    const QByteArray bytes = writeWith([](TWriter& w) { writeClassHeader(w, kFieldDefListId); });
    EXPECT_EQ(bytes.toHex(), "03b507" "05dcee670b216246a9a34530cd5ffd89");
    EXPECT_EQ(guidText(guidFromBytes(bytes.mid(3))), QStringLiteral("{67EEDC05-210B-4662-A9A3-4530CD5FFD89}"));
    EXPECT_EQ(writeWith([](TWriter& w) { writeClassEnd(w); }).toHex(), "03bd07");
}

TEST(StreamFraming, HeaderAndEndMismatchesFail)
{
    QByteArray header = writeWith([](TWriter& w) { writeClassHeader(w, kFieldDefListId); });
    EXPECT_EQ(failureOf(header, [](TReader& r) { readClassHeader(r, kFieldDefListId); }), QStringLiteral("<no failure>"));

    QByteArray offByOne = header;
    offByOne[offByOne.size() - 1] = char(offByOne.at(offByOne.size() - 1) ^ 1);
    EXPECT_EQ(failureOf(offByOne, [](TReader& r) { readClassHeader(r, kFieldDefListId); }),
              QStringLiteral("read stream class type error!"));

    const QByteArray wrongMark = writeWith([](TWriter& w) {
        w.writeInteger(1974);
        w.writeRaw(guidToBytes(kFieldDefListId));
    });
    EXPECT_EQ(failureOf(wrongMark, [](TReader& r) { readClassHeader(r, kFieldDefListId); }),
              QStringLiteral("read stream class type error!"));

    EXPECT_EQ(failureOf(hex("03bd07"), [](TReader& r) { readClassEnd(r, QStringLiteral("TErrInfo")); }),
              QStringLiteral("<no failure>"));
    EXPECT_EQ(failureOf(hex("03bc07"), [](TReader& r) { readClassEnd(r, QStringLiteral("TErrInfo")); }),
              QStringLiteral("read stream class end error!class=TErrInfo"));
}

TEST(StreamFraming, StreamVersionErrorUsesMessage100)
{
    const auto readVersion = [](TReader& r) { readStreamVersion(r, QStringLiteral("TErrGroup"), 1); };
    EXPECT_EQ(failureOf(hex("0201"), readVersion), QStringLiteral("<no failure>"));

    const TNumberedTextHook saved = numberedErrorTextHook();
    setNumberedErrorTextHook(nullptr);
    EXPECT_EQ(failureOf(hex("0202"), readVersion), QStringLiteral("Common error,errorcode=100 position=0"));
    setNumberedErrorTextHook(&messageTextHook);
    EXPECT_EQ(failureOf(hex("0202"), readVersion),
              QStringLiteral("Stream version error,class name=\"TErrGroup\",allow version=[1],read version=2"));
    setNumberedErrorTextHook(saved);
}

TEST(StreamFraming, FactoryCreatesRegisteredClassesOnly)
{
    registerStreamClass(TProbeObject::kId, [] { return std::unique_ptr<TStreamObject>(new TProbeObject); });
    TProbeObject probe;
    probe.value = 70000;
    const QByteArray bytes = writeWith([&](TWriter& w) { probe.saveToWriter(w); });

    QBuffer b;
    b.setData(bytes);
    b.open(QIODevice::ReadOnly);
    TReader r(&b, 8192);
    const auto object = readStreamObject(r);
    ASSERT_NE(dynamic_cast<TProbeObject*>(object.get()), nullptr);
    EXPECT_EQ(static_cast<TProbeObject*>(object.get())->value, 70000);

    const QUuid unknown(QStringLiteral("{00000000-1111-2222-3333-444455556666}"));
    try {
        createObjectFromClassId(unknown);
        ADD_FAILURE() << "an unknown id must fail";
    } catch (const Exception& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Unkown class id,id={00000000-1111-2222-3333-444455556666}"));
    }
}
