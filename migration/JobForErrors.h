#pragma once
// Rebuilding the job whose run recorded an error list, so that the error
// viewer can re-execute statements against the same databases.

#include <memory>

class IDBConvert;
class TErrInfoList;

// The job of the configuration file recorded in the error list's tracker,
// loaded and with its naming options applied; none when no file was
// recorded, the file is missing or unreadable, its GUID differs from the
// recorded one (ignoring letter case; a blank recorded GUID matches any), or
// loading fails in any way.
std::unique_ptr<IDBConvert> loadJobForErrors(const TErrInfoList& errors);
