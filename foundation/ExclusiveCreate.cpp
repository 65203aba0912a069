#include "foundation/ExclusiveCreate.h"

#include "foundation/Exception.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Far more than any burst of runs in one time stamp; bounds a loop that a
// folder full of planted names could otherwise keep going.
constexpr int kMaxSuffix = 100000;

QString candidateName(const QString& stem, int n, const QString& extension)
{
    return n < 2 ? stem + extension : stem + u'_' + QString::number(n) + extension;
}

[[noreturn]] void raiseCreateFailure(const QString& path, int error)
{
    throw Exception(QStringLiteral("Cannot create \"%1\": %2").arg(path, systemErrorText(error)));
}

} // namespace

QString systemErrorText(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

QString claimFolder(const QString& path)
{
    QString base = path;
    while (base.size() > 1 && base.endsWith(u'/'))
        base.chop(1);
    for (int n = 1; n <= kMaxSuffix; ++n) {
        const QString candidate = candidateName(base, n, QString());
        const QByteArray name = QFile::encodeName(candidate);
        if (::mkdir(name.constData(), 0700) == 0) {
            ::chmod(name.constData(), 0700); // a umask may have taken bits the owner needs
            return candidate;
        }
        if (errno != EEXIST)
            raiseCreateFailure(candidate, errno);
    }
    raiseCreateFailure(base, EEXIST);
}

TClaimedFile claimFile(const QString& stem, const QString& extension)
{
    for (int n = 1; n <= kMaxSuffix; ++n) {
        const QString candidate = candidateName(stem, n, extension);
        const int fd = ::open(QFile::encodeName(candidate).constData(),
                              O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0) {
            ::fchmod(fd, 0600);
            return {fd, 0, candidate};
        }
        if (errno != EEXIST)
            return {-1, errno, candidate};
    }
    return {-1, EEXIST, stem + extension};
}
