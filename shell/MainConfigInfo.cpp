#include "shell/MainConfigInfo.h"

#include "foundation/AES.h"
#include "foundation/CommonUtils.h"
#include "foundation/Exception.h"
#include "foundation/KwStringsComponent.h"
#include "foundation/TextUtils.h"
#include "shell/IDBConvert.h"

#include <QFile>
#include <QFileInfo>

#include <limits>

namespace {
const QString kMainInfo = QStringLiteral("MainInfo");
const QString kConvertName = QStringLiteral("ConvertName");
const QString kConvertVersion = QStringLiteral("ConvertVersion");
const QString kGuid = QStringLiteral("GUID");

qint32 versionValue(const QString& text)
{
    qint64 value = 0;
    if (!parseIntegerText(text, &value) || value < std::numeric_limits<qint32>::min()
        || value > std::numeric_limits<qint32>::max())
        return 0;
    return qint32(value);
}
} // namespace

TMainConfigInfo::TMainConfigInfo() : m_table(std::make_unique<TKwStringsComponent>()) {}

TMainConfigInfo::~TMainConfigInfo() = default;

bool TMainConfigInfo::loadFromStream(QIODevice& stream)
{
    // Read into a scratch table first so that a damaged stream does not leave
    // half a configuration behind.
    TKwStringsComponent loaded;
    loadEncryptedTable(loaded, stream);
    m_table->assign(loaded);
    return readMainInfo();
}

bool TMainConfigInfo::loadFromFile(const QString& fileName)
{
    if (fileName.isEmpty() || !QFileInfo(fileName).isFile())
        return false;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw Exception(QStringLiteral("Cannot open file \"%1\". %2").arg(fileName, file.errorString()));
    return loadFromStream(file);
}

bool TMainConfigInfo::readMainInfo()
{
    const TStringList* info = m_table->findSectionLines(kMainInfo);
    if (!info)
        return false;
    convertName = trimText(info->value(kConvertName));
    convertVersion = versionValue(info->value(kConvertVersion));
    guid = info->value(kGuid);
    if (isBlankText(convertName)) {
        m_table->clearSections();
        return false;
    }
    return true;
}

void TMainConfigInfo::writeConfigFile(const QString& fileName, IDBConvert* job, bool withoutPasswords)
{
    if (!job)
        return;
    m_table->clearSections();
    TStringList& info = m_table->sectionLines(kMainInfo);
    info.setValue(kConvertName, convertName);
    info.setValue(kConvertVersion, QString::number(convertVersion));
    if (isBlankText(guid))
        guid = newGuidText();
    info.setValue(kGuid, guid);
    job->saveConfig(*m_table, withoutPasswords);
    saveEncryptedTable(*m_table, fileName, int(QFileDevice::ReadOwner | QFileDevice::WriteOwner));
}
