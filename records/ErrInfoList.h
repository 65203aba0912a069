#pragma once
// The errors of one run or one viewing: the loaded file's errors and groups
// (owned), the file's first and planned last error numbers, and the tracker
// that writes and reads the files.

#include "records/ErrInfo.h"

#include <memory>
#include <vector>

class TAbsDBDumpData;
class TErrTrack;
class TReader;

class TErrInfoList {
public:
    // folder: the run's work folder (not owned); files live in its "error" subfolder.
    explicit TErrInfoList(TAbsDBDumpData* folder);
    ~TErrInfoList();
    TErrInfoList(const TErrInfoList&) = delete;
    TErrInfoList& operator=(const TErrInfoList&) = delete;

    TErrTrack& tracker() const { return *m_track; }

    void clearErrors(); // errors and groups
    TErrGroup* findGroup(const QString& name) const; // ignoring case; none when missing
    TErrGroup* findOrCreateGroup(const QString& name);
    TErrInfo* addError(std::unique_ptr<TErrInfo> error); // attached to its group
    TErrGroup* addGroup(std::unique_ptr<TErrGroup> group);

    TErrInfo* errorAt(int index) const;
    int errorCount() const { return int(m_errors.size()); }
    TErrGroup* groupAt(int index) const;
    int groupCount() const { return int(m_groups.size()); }

    int firstNumber() const { return m_firstNumber; }
    int lastNumber() const { return m_lastNumber; }
    // The number users see: the file's first number plus the position in the file.
    int errorNumber(int index) const { return m_firstNumber + index; }

    // Replaces the contents with an error list file. With damage given, a
    // file that ends early or breaks keeps the errors read before the break,
    // and damage says what broke; without it the break raises.
    void loadFromStream(TReader& reader, QString* damage = nullptr);

private:
    void loadItems(TReader& reader);

    std::vector<std::unique_ptr<TErrInfo>> m_errors;
    std::vector<std::unique_ptr<TErrGroup>> m_groups;
    int m_firstNumber = 0;
    int m_lastNumber = 0;
    std::unique_ptr<TErrTrack> m_track; // declared last: destroyed first, it finishes the open file
};

// The class id of error list files {82DDB352-A62D-46B2-AE4B-32EC85A015C1}.
extern const QUuid kErrorListFileClassId;
