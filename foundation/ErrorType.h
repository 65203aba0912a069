#pragma once
// The kinds of failure a run records. The numbers are stored in error files
// and name the catalogue's error-type texts, so they never change.

enum class TErrorType : int {
    Insert = 1,
    ReadData = 2,
    ReadMetadata = 3,
    CreateTable = 4,
    PrimaryKeyNames = 5,
    Parameter = 6,
    DropTable = 7,
    DeleteRows = 8,
    Connect = 9,
    Initialising = 10,
    DumpFile = 11,
    CreateIndex = 12,
};

constexpr int errorTypeCode(TErrorType type) { return static_cast<int>(type); }
