#pragma once
// Configuration cipher: AES-128 in electronic-codebook mode over streams,
// zero padding, the key derived from a fixed passphrase, and the envelope of
// an enciphered configuration (signature GUID, magic number, blocks).

#include "foundation/Exception.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <array>

class TKwStringsComponent;

class EAESError : public Exception {
public:
    using Exception::Exception;
};

using TAESKey = std::array<unsigned char, 16>;

constexpr quint32 kConfigMagic = 10141216;
extern const char kConfigPassphrase[];

TAESKey deriveKey(const QString& passphrase);
// Process-wide key, derived once at start-up.
void initConfigKey();
const TAESKey& configKey();

// count 0: the whole source from position 0; else min(count, bytes left).
void encryptStream(QIODevice& source, qint64 count, const TAESKey& key, QIODevice& target);
void decryptStream(QIODevice& source, qint64 count, const TAESKey& key, QIODevice& target);

QByteArray configSignature(); // 16 bytes
// The enciphered envelope of a table, as bytes.
QByteArray encryptedTableBytes(const TKwStringsComponent& table);
// Creates or replaces the file; an existing file is replaced only once the new
// content is complete; a symbolic link at fileName is replaced, not followed.
// permissions 0 keeps those of the file replaced, else the platform default.
void saveEncryptedTable(const TKwStringsComponent& table, const QString& fileName, int permissions = 0);
// Reads an enciphered or plain table from the stream.
void loadEncryptedTable(TKwStringsComponent& table, QIODevice& stream);
bool isEncryptedEnvelope(const QByteArray& head);
