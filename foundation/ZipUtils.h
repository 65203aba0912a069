#pragma once
// Zip archives (libzip). Member names are written with '/'; lookups ignore
// case and treat '\' and '/' alike. Extraction never writes outside the
// target folder.

#include <QString>
#include <memory>

class QBuffer;

int zipFolder(const QString& folder, const QString& zipFile);        // 0, -1, -2, -3
int unzipAll(const QString& destinationFolder, const QString& zipFile); // 0 or -3
bool zipContains(const QString& zipFile, const QString& memberName);
std::unique_ptr<QBuffer> unzipMemberToStream(const QString& zipFile, const QString& memberName);
