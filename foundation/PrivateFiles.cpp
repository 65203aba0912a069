#include "foundation/PrivateFiles.h"

#include "foundation/Exception.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QString reasonOf(int error) { return QString::fromLocal8Bit(strerror(error)); }

// Keeps the temporary file until it is renamed.
struct TTemporaryGuard {
    QString path;
    int fd = -1;
    ~TTemporaryGuard()
    {
        if (fd >= 0)
            ::close(fd);
        if (!path.isEmpty())
            ::unlink(QFile::encodeName(path).constData());
    }
};

// Read without setting it: umask() would change it for every thread meanwhile.
mode_t currentUmask()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith("Umask:"))
                return mode_t(line.mid(6).trimmed().toUInt(nullptr, 8));
    }
    return 022;
}

int makeTemporary(const QString& path, QString& temporary)
{
    const QFileInfo info(path);
    QByteArray pattern = QFile::encodeName(info.absolutePath() + QStringLiteral("/.") + info.fileName() +
                                           QStringLiteral(".XXXXXX"));
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC); // 0600 and exclusive
    if (fd >= 0)
        temporary = QFile::decodeName(pattern);
    return fd;
}
} // namespace

unsigned modeOfPermissions(QFileDevice::Permissions p)
{
    unsigned mode = 0;
    if (p & (QFileDevice::ReadOwner | QFileDevice::ReadUser)) mode |= 0400;
    if (p & (QFileDevice::WriteOwner | QFileDevice::WriteUser)) mode |= 0200;
    if (p & (QFileDevice::ExeOwner | QFileDevice::ExeUser)) mode |= 0100;
    if (p & QFileDevice::ReadGroup) mode |= 040;
    if (p & QFileDevice::WriteGroup) mode |= 020;
    if (p & QFileDevice::ExeGroup) mode |= 010;
    if (p & QFileDevice::ReadOther) mode |= 04;
    if (p & QFileDevice::WriteOther) mode |= 02;
    if (p & QFileDevice::ExeOther) mode |= 01;
    return mode;
}

bool makePrivateFolder(const QString& folder, QString* reason)
{
    const QString path = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    const QFileInfo info(path);
    if (info.isDir())
        return true;
    if (info.exists() || info.isSymLink()) {
        if (reason)
            *reason = QStringLiteral("\"%1\" is no folder").arg(path);
        return false;
    }
    const QString parent = info.absolutePath();
    if (parent != path && !makePrivateFolder(parent, reason))
        return false;
    const QByteArray name = QFile::encodeName(path);
    if (::mkdir(name.constData(), 0700) != 0) {
        if (errno == EEXIST && QFileInfo(path).isDir())
            return true; // made meanwhile by someone else
        if (reason)
            *reason = QStringLiteral("Cannot create folder \"%1\": %2").arg(path, reasonOf(errno));
        return false;
    }
    ::chmod(name.constData(), 0700); // the umask may have taken bits of the owner
    return true;
}

std::unique_ptr<QFile> createPrivateFile(const QString& path)
{
    QString reason;
    if (!makePrivateFolder(QFileInfo(path).absolutePath(), &reason))
        throw Exception(QStringLiteral("Cannot create file \"%1\": %2").arg(path, reason));
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        throw Exception(QStringLiteral("Cannot create file \"%1\": %2").arg(path, reasonOf(errno)));
    ::fchmod(fd, 0600);
    auto file = std::make_unique<QFile>(path);
    // Unbuffered: the stream writer buffers already, and a flush must reach the file.
    if (!file->open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        throw Exception(QStringLiteral("Cannot create file \"%1\": %2").arg(path, file->errorString()));
    }
    return file;
}

QString createPrivateTemporaryBeside(const QString& path)
{
    QString temporary;
    const int fd = makeTemporary(path, temporary);
    if (fd < 0)
        throw Exception(QStringLiteral("Cannot create file \"%1\": %2").arg(path, reasonOf(errno)));
    ::close(fd);
    return temporary;
}

void replaceFileAtomically(const QString& path, const QByteArray& bytes, QFileDevice::Permissions permissions)
{
    auto fail = [&](int error) {
        throw Exception(QStringLiteral("Cannot write file \"%1\": %2").arg(path, reasonOf(error)));
    };
    QString reason;
    if (!makePrivateFolder(QFileInfo(path).absolutePath(), &reason))
        throw Exception(QStringLiteral("Cannot write file \"%1\": %2").arg(path, reason));
    TTemporaryGuard temp;
    temp.fd = makeTemporary(path, temp.path);
    if (temp.fd < 0)
        fail(errno);
    mode_t mode = modeOfPermissions(permissions);
    if (permissions == QFileDevice::Permissions()) {
        struct stat old {};
        if (::lstat(QFile::encodeName(path).constData(), &old) == 0 && S_ISREG(old.st_mode)) {
            mode = old.st_mode & 07777;
        } else {
            mode = 0666 & ~currentUmask();
        }
    }
    if (::fchmod(temp.fd, mode) != 0)
        fail(errno);
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(temp.fd, data, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            fail(n < 0 ? errno : ENOSPC);
        data += n;
        left -= n;
    }
    if (::fsync(temp.fd) != 0)
        fail(errno);
    const int closed = ::close(temp.fd);
    temp.fd = -1;
    if (closed != 0)
        fail(errno);
    // rename() replaces a link at the target itself.
    if (::rename(QFile::encodeName(temp.path).constData(), QFile::encodeName(path).constData()) != 0)
        fail(errno);
    temp.path.clear();
}
