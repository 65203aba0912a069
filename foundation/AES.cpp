#include "foundation/AES.h"

#include "foundation/KwStringsComponent.h"
#include "foundation/PrivateFiles.h"

#include <QBuffer>
#include <QFile>
#include <QtEndian>

#include <openssl/evp.h>
#include <memory>

const char kConfigPassphrase[] = "Lw%7pz!Kq#m2@Rv9y";

namespace {

TAESKey g_configKey{};
bool g_configKeyReady = false;

struct CipherCtx {
    std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)> ctx;
    CipherCtx(const TAESKey& key, bool encrypt) : ctx(EVP_CIPHER_CTX_new(), &EVP_CIPHER_CTX_free)
    {
        if (!ctx || EVP_CipherInit_ex(ctx.get(), EVP_aes_128_ecb(), nullptr, key.data(), nullptr, encrypt ? 1 : 0) != 1)
            throw EAESError(QStringLiteral("AES initialisation failed"));
        EVP_CIPHER_CTX_set_padding(ctx.get(), 0);
    }
    void block(const unsigned char* in, unsigned char* out)
    {
        int len = 0;
        if (EVP_CipherUpdate(ctx.get(), out, &len, in, 16) != 1 || len != 16)
            throw EAESError(QStringLiteral("AES block operation failed"));
    }
};

qint64 rangeOf(QIODevice& source, qint64 count)
{
    if (count == 0) {
        source.seek(0);
        return source.size();
    }
    return std::min(count, source.size() - source.pos());
}

void readBlock(QIODevice& source, unsigned char* buf, qint64 n)
{
    if (source.read(reinterpret_cast<char*>(buf), n) != n)
        throw Exception(QStringLiteral("Read stream error"));
}

void writeBlock(QIODevice& target, const unsigned char* buf)
{
    if (target.write(reinterpret_cast<const char*>(buf), 16) != 16)
        throw Exception(QStringLiteral("Write stream error"));
}

} // namespace

TAESKey deriveKey(const QString& passphrase)
{
    QString upper = passphrase;
    for (QChar& c : upper)
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - 32);
    const QByteArray utf8 = upper.toUtf8();
    TAESKey key{};
    for (int i = 0; i < 16 && i < utf8.size(); ++i)
        key[size_t(i)] = static_cast<unsigned char>(utf8.at(i));
    return key;
}

void initConfigKey()
{
    g_configKey = deriveKey(QString::fromLatin1(kConfigPassphrase));
    g_configKeyReady = true;
}

const TAESKey& configKey()
{
    if (!g_configKeyReady)
        initConfigKey();
    return g_configKey;
}

void encryptStream(QIODevice& source, qint64 count, const TAESKey& key, QIODevice& target)
{
    qint64 left = rangeOf(source, count);
    if (left <= 0)
        return;
    CipherCtx cipher(key, true);
    unsigned char in[16], out[16];
    while (left >= 16) {
        readBlock(source, in, 16);
        cipher.block(in, out);
        writeBlock(target, out);
        left -= 16;
    }
    if (left > 0) {
        std::fill(std::begin(in), std::end(in), 0);
        readBlock(source, in, left);
        cipher.block(in, out);
        writeBlock(target, out);
    }
}

void decryptStream(QIODevice& source, qint64 count, const TAESKey& key, QIODevice& target)
{
    qint64 left = rangeOf(source, count);
    if (left <= 0)
        return;
    if (left % 16 != 0)
        throw EAESError(QStringLiteral("Buffer size is Invalid"));
    CipherCtx cipher(key, false);
    unsigned char in[16], out[16];
    while (left > 0) {
        readBlock(source, in, 16);
        cipher.block(in, out);
        writeBlock(target, out);
        left -= 16;
    }
}

QByteArray configSignature()
{
    static const unsigned char sig[16] = {0xB3, 0x17, 0x2A, 0x42, 0xE0, 0xDB, 0xD5, 0x41,
                                          0xAA, 0x28, 0xED, 0x97, 0xE3, 0xC1, 0xAE, 0x38};
    return QByteArray(reinterpret_cast<const char*>(sig), 16);
}

bool isEncryptedEnvelope(const QByteArray& head)
{
    return head.size() >= 20 && head.left(16) == configSignature()
        && qFromLittleEndian<quint32>(head.constData() + 16) == kConfigMagic;
}

QByteArray encryptedTableBytes(const TKwStringsComponent& table)
{
    QBuffer plain;
    plain.open(QIODevice::ReadWrite);
    table.saveToStream(plain);
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    out.write(configSignature());
    uchar magic[4];
    qToLittleEndian<quint32>(kConfigMagic, magic);
    out.write(reinterpret_cast<const char*>(magic), 4);
    encryptStream(plain, 0, configKey(), out);
    return out.data();
}

void saveEncryptedTable(const TKwStringsComponent& table, const QString& fileName, int permissions)
{
    // Not QSaveFile: it writes through a symbolic link onto the link's target.
    replaceFileAtomically(fileName, encryptedTableBytes(table), QFileDevice::Permissions(permissions));
}

void loadEncryptedTable(TKwStringsComponent& table, QIODevice& stream)
{
    stream.seek(0);
    bool enciphered = false;
    if (stream.size() >= 20) {
        const QByteArray sig = stream.read(16);
        if (sig == configSignature()) {
            const QByteArray magic = stream.read(4);
            enciphered = magic.size() == 4 && qFromLittleEndian<quint32>(magic.constData()) == kConfigMagic;
        } else {
            stream.seek(0);
        }
    }
    if (!enciphered) {
        table.loadFromStream(stream);
        return;
    }
    QBuffer plain;
    plain.open(QIODevice::ReadWrite);
    const qint64 body = stream.size() - stream.pos();
    if (body > 0) // a count of 0 would mean the whole stream
        decryptStream(stream, body, configKey(), plain);
    plain.seek(0);
    table.loadFromStream(plain);
}
