#pragma once
// Names a process claims for itself. The folder or file is created in one
// step that fails when the name is taken, so two processes that pick the same
// time-stamped name at the same moment never share it: a taken name moves on
// to "<name>_2", "<name>_3", ...

#include <QString>

// Creates the folder (its parent must exist) with mode 0700 whatever the
// umask; returns the path claimed, without a trailing '/'. Raises when no
// name can be created for another reason than being taken.
QString claimFolder(const QString& path);

// Creates stem + extension, else stem + "_2" + extension ..., exclusively and
// without following a link at the name, mode 0600 whatever the umask, open
// for writing. The caller owns fd. When no name can be created, fd is -1,
// error the errno and path the name that failed.
struct TClaimedFile {
    int fd = -1;
    int error = 0;
    QString path;
};
TClaimedFile claimFile(const QString& stem, const QString& extension);

// The text of errno, for messages that name a failed file operation.
QString systemErrorText(int error);
