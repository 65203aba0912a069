#include "ScopedUmask.h"

#include "foundation/Exception.h"
#include "foundation/ExclusiveCreate.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

mode_t modeOf(const QString& path)
{
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
}

} // namespace

TEST(ExclusiveCreate, TakenNamesMoveOnAndModesIgnoreTheUmask)
{
    QTemporaryDir dir;
    const QString base = dir.path() + QStringLiteral("/2026-01-02@03_04");
    for (const mode_t mask : {mode_t(022), mode_t(077), mode_t(0777)}) {
        const TScopedUmask umask(mask);
        const QString folder = claimFolder(base + QStringLiteral("/"));
        const TClaimedFile file = claimFile(base + QStringLiteral(" log"), QStringLiteral(".log"));
        ASSERT_GE(file.fd, 0) << file.error;
        ::close(file.fd);
        EXPECT_EQ(modeOf(folder), mode_t(0700)) << folder.toStdString();
        EXPECT_EQ(modeOf(file.path), mode_t(0600)) << file.path.toStdString();
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
              (QStringList{QStringLiteral("2026-01-02@03_04"), QStringLiteral("2026-01-02@03_04_2"),
                           QStringLiteral("2026-01-02@03_04_3")}));
    EXPECT_TRUE(QFileInfo::exists(base + QStringLiteral(" log_3.log")));
}

// A link planted at the name is a taken name: never followed, its target untouched.
TEST(ExclusiveCreate, LinkAtTheNameIsSkippedNotFollowed)
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("target"));
    QFile t(target);
    ASSERT_TRUE(t.open(QIODevice::WriteOnly));
    t.write("keep");
    t.close();
    const QString stem = dir.filePath(QStringLiteral("run"));
    ASSERT_TRUE(QFile::link(target, stem + QStringLiteral(".log")));
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("nowhere")), stem + QStringLiteral("_2.log")));

    const TClaimedFile file = claimFile(stem, QStringLiteral(".log"));
    ASSERT_GE(file.fd, 0);
    EXPECT_EQ(::write(file.fd, "new", 3), 3);
    ::close(file.fd);
    EXPECT_EQ(file.path, stem + QStringLiteral("_3.log"));
    ASSERT_TRUE(t.open(QIODevice::ReadOnly));
    EXPECT_EQ(t.readAll(), QByteArray("keep"));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("nowhere"))));
}

// Claims racing for one name each end with a name of their own.
TEST(ExclusiveCreate, ConcurrentClaimsNeverShare)
{
    QTemporaryDir dir;
    constexpr int kClaims = 16;
    std::vector<QString> folders(kClaims), files(kClaims);
    std::vector<std::thread> threads;
    for (int i = 0; i < kClaims; ++i) {
        threads.emplace_back([&, i] {
            folders[size_t(i)] = claimFolder(dir.filePath(QStringLiteral("run")));
            const TClaimedFile file = claimFile(dir.filePath(QStringLiteral("run")), QStringLiteral(".log"));
            files[size_t(i)] = file.path;
            if (file.fd >= 0)
                ::close(file.fd);
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(QSet<QString>(folders.begin(), folders.end()).size(), kClaims);
    EXPECT_EQ(QSet<QString>(files.begin(), files.end()).size(), kClaims);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), kClaims);
}

TEST(ExclusiveCreate, OtherFailuresAreReported)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("missing/run"));
    const TClaimedFile file = claimFile(missing, QStringLiteral(".log"));
    EXPECT_EQ(file.fd, -1);
    EXPECT_EQ(file.error, ENOENT);
    EXPECT_EQ(file.path, missing + QStringLiteral(".log"));
    try {
        claimFolder(missing);
        FAIL() << "a folder under a missing parent was claimed";
    } catch (const Exception& e) {
        EXPECT_TRUE(e.message().contains(missing)) << e.message().toStdString();
        EXPECT_TRUE(e.message().contains(systemErrorText(ENOENT))) << e.message().toStdString();
    }
}
