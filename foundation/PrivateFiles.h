#pragma once
// Files and folders only their owner can read, whatever the umask: error
// files keep refused rows' data, configuration files and packages hold
// passwords. Replacing a file goes through a temporary name and a rename, so
// a reader never sees half a file and a symbolic link at the target is
// replaced, never followed.

#include <QByteArray>
#include <QFileDevice>
#include <QString>

#include <memory>

class QFile;

// The folder and every missing one above it, each made 0700; false with the
// reason when one cannot be made or the path is no folder.
bool makePrivateFolder(const QString& folder, QString* reason = nullptr);

// A new file made 0600 for writing (exclusive, links not followed: the caller
// removes an old one first); its folder is made private when missing. Raises
// with the path and the reason.
std::unique_ptr<QFile> createPrivateFile(const QString& path);

// Writes the bytes to a temporary file beside path, syncs it and renames it
// onto path. Permissions 0: those of the file replaced, else the umask's
// default. Raises with the path and the reason; the temporary file is gone then.
void replaceFileAtomically(const QString& path, const QByteArray& bytes,
                           QFileDevice::Permissions permissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner);

// An empty 0600 file with a fresh name "<dir>/.<name of path>.XXXXXX" beside
// path (raises); callers fill it and rename it.
QString createPrivateTemporaryBeside(const QString& path);

// The mode bits of the Qt permissions (owner, group, others).
unsigned modeOfPermissions(QFileDevice::Permissions permissions);
