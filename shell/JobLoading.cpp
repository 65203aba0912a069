#include "shell/JobLoading.h"

#include "foundation/CommonUtils.h"
#include "foundation/Errors.h"
#include "foundation/KwStringsComponent.h"
#include "foundation/TextUtils.h"
#include "foundation/ZipUtils.h"
#include "shell/ConvertManager.h"
#include "shell/MainConfigInfo.h"
#include "shell/RunParam.h"

#include <QBuffer>
#include <QFileInfo>

namespace {

const QString kNewJobName = QStringLiteral("CopyConvert");

std::unique_ptr<IDBConvert> createLoadedJob(const TMainConfigInfo& container)
{
    std::unique_ptr<IDBConvert> job = convertManager().createConvert(container.convertName);
    if (job)
        job->loadConfig(container.table());
    return job;
}

// The passwords of a second configuration are taken only from the one the
// package was made with; any trouble reading it leaves the job as it is.
void takePasswordsOfSameConfig(IDBConvert& job, const QString& configFile, const TMainConfigInfo& package)
{
    if (!QFileInfo(configFile).isFile())
        return;
    TMainConfigInfo second;
    try {
        if (!second.loadFromFile(configFile))
            return;
    } catch (const std::exception&) {
        return;
    }
    if (second.guid.compare(package.guid, Qt::CaseInsensitive) == 0)
        job.loadConnectPasswords(second.table());
}

} // namespace

bool loadPackageConfig(const QString& packageFile, TMainConfigInfo& container)
{
    const std::unique_ptr<QBuffer> entry = unzipMemberToStream(packageFile, kDumpConfigEntry);
    return entry && container.loadFromStream(*entry);
}

std::unique_ptr<IDBConvert> loadJobForOperation(int operation, const QString& configFile, const QString& dumpFile,
                                                TMainConfigInfo& container)
{
    if (operation == opImport) {
        if (!loadPackageConfig(dumpFile, container))
            raiseCommonErrorCode(1000, 2);
        std::unique_ptr<IDBConvert> job = createLoadedJob(container);
        if (job)
            takePasswordsOfSameConfig(*job, configFile, container);
        return job;
    }
    if (QFileInfo(configFile).isFile()) {
        if (!container.loadFromFile(configFile))
            raiseCommonErrorCode(1000, 1);
        return createLoadedJob(container);
    }
    // A new configuration must not inherit the identity of one loaded before.
    container.table().clearSections();
    container.guid.clear();
    container.convertVersion = 0;
    container.convertName = kNewJobName;
    return convertManager().createConvert(kNewJobName);
}

void checkJobTable(TKwStringsComponent& table)
{
    const QString mainInfo = QStringLiteral("MainInfo");
    if (!table.findSection(mainInfo))
        return;
    TMainConfigInfo container;
    container.table().assign(table);
    if (!container.readMainInfo())
        raiseMessage(QStringLiteral("Section \"%1\" names no converter (key \"ConvertName\")").arg(mainInfo));
    if (!hasConvertManager() || !createLoadedJob(container))
        raiseMessage(QStringLiteral("Unknown converter \"%1\"").arg(container.convertName));
    if (isBlankText(container.guid))
        table.sectionLines(mainInfo).setValue(QStringLiteral("GUID"), newGuidText());
}
