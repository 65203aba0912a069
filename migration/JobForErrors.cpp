#include "migration/JobForErrors.h"

#include "foundation/TextUtils.h"
#include "records/ErrInfoList.h"
#include "records/ErrTrack.h"
#include "shell/ConvertManager.h"
#include "shell/MainConfigInfo.h"

#include <QFileInfo>

std::unique_ptr<IDBConvert> loadJobForErrors(const TErrInfoList& errors)
{
    const QString fileName = errors.tracker().configFileName();
    const QString recordedGuid = errors.tracker().configId();
    if (isBlankText(fileName) || !QFileInfo(fileName).isFile())
        return nullptr;
    try {
        TMainConfigInfo container;
        if (!container.loadFromFile(fileName))
            return nullptr;
        if (!isBlankText(recordedGuid) && recordedGuid.compare(container.guid, Qt::CaseInsensitive) != 0)
            return nullptr;
        if (!hasConvertManager())
            return nullptr;
        std::unique_ptr<IDBConvert> job = convertManager().createConvert(container.convertName);
        if (!job)
            return nullptr;
        job->loadConfig(container.table());
        job->applyRunOptions();
        return job;
    } catch (const std::exception&) {
        // Errors of another or a damaged configuration: the viewer opens without a job.
        return nullptr;
    }
}
