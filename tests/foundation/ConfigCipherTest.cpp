#include "foundation/AES.h"
#include "foundation/KwStringsComponent.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

TAESKey keyFromHex(const char* text)
{
    const QByteArray bytes = QByteArray::fromHex(text);
    TAESKey key{};
    std::copy(bytes.begin(), bytes.end(), key.begin());
    return key;
}

QByteArray encrypt(const QByteArray& plain, const TAESKey& key = configKey())
{
    QBuffer in;
    in.setData(plain);
    in.open(QIODevice::ReadOnly);
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    encryptStream(in, 0, key, out);
    return out.data();
}

QByteArray decrypt(const QByteArray& cipher, const TAESKey& key = configKey())
{
    QBuffer in;
    in.setData(cipher);
    in.open(QIODevice::ReadOnly);
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    decryptStream(in, 0, key, out);
    return out.data();
}

// A one-section table whose stream form is 6 + line + 2 + 1 bytes long.
void oneSection(TKwStringsComponent& t, int lineLength)
{
    t.addSection(QStringLiteral("A"), QString(lineLength, u'x'));
}

QByteArray plainForm(const TKwStringsComponent& t)
{
    QBuffer b;
    b.open(QIODevice::ReadWrite);
    t.saveToStream(b);
    return b.data();
}

QByteArray envelopeHead(quint32 magic = kConfigMagic)
{
    uchar m[4];
    qToLittleEndian<quint32>(magic, m);
    return configSignature() + QByteArray(reinterpret_cast<const char*>(m), 4);
}

void loadFrom(TKwStringsComponent& t, const QByteArray& bytes)
{
    QBuffer b;
    b.setData(bytes);
    b.open(QIODevice::ReadOnly);
    loadEncryptedTable(t, b);
}

QString failureOfLoad(const QByteArray& bytes)
{
    TKwStringsComponent t;
    try {
        loadFrom(t, bytes);
    } catch (const Exception& e) {
        return e.message();
    }
    return QStringLiteral("<no failure>");
}

} // namespace

TEST(ConfigCipher, Aes128MatchesThePublishedVector)
{
    // FIPS-197 appendix C.1.
    const TAESKey key = keyFromHex("000102030405060708090a0b0c0d0e0f");
    const QByteArray plain = QByteArray::fromHex("00112233445566778899aabbccddeeff");
    EXPECT_EQ(encrypt(plain, key).toHex(), "69c4e0d86a7b0430d8cdb78070b4c55a");
    EXPECT_EQ(decrypt(QByteArray::fromHex("69c4e0d86a7b0430d8cdb78070b4c55a"), key), plain);
}

TEST(ConfigCipher, KeyIsTheUpperCasedPassphraseCutOrFilledTo16Bytes)
{
    const TAESKey key = deriveKey(QString::fromLatin1(kConfigPassphrase));
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(key.data()), 16), QByteArray("LW%7PZ!KQ#M2@RV9"));
    EXPECT_EQ(configKey(), key);

    const TAESKey shortKey = deriveKey(QString::fromUtf8("äb"));
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(shortKey.data()), 16).toHex(),
              "c3a44200000000000000000000000000"); // only a to z change case
}

TEST(ConfigCipher, BlocksAreEnciphered16BytesAtATimeWithZeroPadding)
{
    const QByteArray block = QByteArray("0123456789abcdef");
    const QByteArray twice = encrypt(block + block);
    ASSERT_EQ(twice.size(), 32);
    EXPECT_EQ(twice.left(16), twice.mid(16)); // electronic codebook: no chaining
    EXPECT_NE(twice.left(16), block);

    const QByteArray padded = encrypt(QByteArray("abc"));
    ASSERT_EQ(padded.size(), 16);
    EXPECT_EQ(decrypt(padded), QByteArray("abc") + QByteArray(13, '\0'));

    EXPECT_TRUE(encrypt(QByteArray()).isEmpty());
    EXPECT_TRUE(decrypt(QByteArray()).isEmpty());
}

TEST(ConfigCipher, RangeIsCountBytesFromTheCurrentPosition)
{
    QBuffer in;
    in.setData(QByteArray(40, 'q'));
    in.open(QIODevice::ReadOnly);
    in.seek(30);
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    encryptStream(in, 100, configKey(), out); // only the 10 bytes left
    EXPECT_EQ(out.data().size(), 16);

    QBuffer cipher;
    cipher.setData(QByteArray(17, 'c'));
    cipher.open(QIODevice::ReadOnly);
    QBuffer sink;
    sink.open(QIODevice::WriteOnly);
    try {
        decryptStream(cipher, 0, configKey(), sink);
        ADD_FAILURE() << "17 bytes must not decipher";
    } catch (const EAESError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Buffer size is Invalid"));
    }
    EXPECT_TRUE(sink.data().isEmpty());
}

TEST(ConfigCipher, EnvelopeSizeFollowsTheStreamForm)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const struct {
        int lineLength;
        qsizetype streamSize;
        qint64 fileSize;
    } cases[] = {{23, 32, 52}, {24, 33, 68}, {7, 16, 36}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lineLength);
        TKwStringsComponent t;
        oneSection(t, c.lineLength);
        ASSERT_EQ(plainForm(t).size(), c.streamSize);
        const QString file = dir.filePath(QStringLiteral("c%1.Tvcfg").arg(c.lineLength));
        saveEncryptedTable(t, file);
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.size(), c.fileSize);
        EXPECT_TRUE(isEncryptedEnvelope(f.peek(20)));

        TKwStringsComponent back;
        loadEncryptedTable(back, f);
        ASSERT_EQ(back.sectionCount(), 1);
        EXPECT_EQ(back.sectionAt(0)->text(), t.sectionAt(0)->text());
    }
}

TEST(ConfigCipher, PlainFormsAreReadAsTheyStand)
{
    // A whole plain table file, and one of 19 bytes that can hold no envelope.
    TKwStringsComponent t;
    t.addSection(QStringLiteral("A"), QStringLiteral("0123456789"));
    const QByteArray plain = plainForm(t);
    ASSERT_EQ(plain.size(), 19);
    TKwStringsComponent back;
    loadFrom(back, plain);
    EXPECT_EQ(back.findSectionLines(QStringLiteral("a"))->at(0), QStringLiteral("0123456789"));

    // 19 bytes starting with the signature are still taken as plain.
    EXPECT_EQ(failureOfLoad(configSignature() + QByteArray("\x20\xBE\x9A", 3)),
              QStringLiteral("Invalid property value"));

    // Signature right, magic number wrong: the plain form from offset 20.
    TKwStringsComponent behind;
    loadFrom(behind, envelopeHead(kConfigMagic + 1) + plain);
    EXPECT_EQ(behind.sectionName(0), QStringLiteral("A"));
}

TEST(ConfigCipher, DamagedBodiesFailWithTheStreamErrors)
{
    TKwStringsComponent t;
    oneSection(t, 40);
    const QByteArray good = encryptedTableBytes(t);

    EXPECT_EQ(failureOfLoad(good.left(good.size() - 1)), QStringLiteral("Buffer size is Invalid"));
    EXPECT_EQ(failureOfLoad(good.left(good.size() - 16)), QStringLiteral("Stream read error"));
    EXPECT_EQ(failureOfLoad(envelopeHead()), QStringLiteral("Stream read error"));
    // A length that claims more than the body holds.
    EXPECT_EQ(failureOfLoad(envelopeHead() + encrypt(QByteArray::fromHex("0112ffff0000"))),
              QStringLiteral("Stream read error"));
    // Enciphered with another key, the body is no table stream.
    const QString wrongKey = failureOfLoad(envelopeHead() + encrypt(plainForm(t), keyFromHex("00")));
    EXPECT_TRUE(wrongKey == QStringLiteral("Invalid property value") || wrongKey == QStringLiteral("Stream read error"))
        << wrongKey.toStdString();
}
