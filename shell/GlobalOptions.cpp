#include "shell/GlobalOptions.h"

#include "foundation/CommonUtils.h"
#include "foundation/Exception.h"
#include "foundation/StringList.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

namespace {
TStringList& optionsList()
{
    static TStringList list;
    return list;
}
TOptionDefaultLookup& defaultLookup()
{
    static TOptionDefaultLookup lookup;
    return lookup;
}
} // namespace

TStringList& globalOptions() { return optionsList(); }

void setOptionDefaultLookup(TOptionDefaultLookup lookup) { defaultLookup() = std::move(lookup); }

QString optionDefault(const QString& key)
{
    return defaultLookup() ? defaultLookup()(key) : QString();
}

QString globalOptionsFileName()
{
    return dataFolder() + QFileInfo(mainProgramFilePath()).completeBaseName() + QStringLiteral(".goption");
}

void loadGlobalOptions()
{
    loadDataFolderSetting();
    QFile file(globalOptionsFileName());
    if (!file.exists() || !file.open(QIODevice::ReadOnly))
        return;
    // The file is plain text; UTF-8 is this platform's "ANSI" code page.
    optionsList().setText(QString::fromUtf8(file.readAll()));
}

void saveGlobalOptions()
{
    const QString name = globalOptionsFileName();
    forceFileFolder(name);
    QSaveFile file(name);
    if (!file.open(QIODevice::WriteOnly))
        throw Exception(QStringLiteral("Cannot create file \"%1\". %2").arg(name, file.errorString()));
    QByteArray bytes;
    for (const QString& line : optionsList().lines())
        bytes += line.toUtf8() + "\r\n";
    file.write(bytes);
    if (!file.commit())
        throw Exception(QStringLiteral("Cannot write file \"%1\". %2").arg(name, file.errorString()));
}

bool textToBool(const QString& text, bool& ok)
{
    const QString t = text.trimmed();
    ok = true;
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    const double number = t.toDouble(&ok);
    return ok && number != 0;
}

bool getOptionBool(const QString& key)
{
    bool ok = false;
    bool fallback = textToBool(optionDefault(key), ok);
    if (!ok)
        fallback = false;
    const TStringList& list = optionsList();
    if (!list.contains(key))
        return fallback;
    const bool value = textToBool(list.value(key), ok);
    return ok ? value : fallback;
}

int getOptionInt(const QString& key)
{
    bool ok = false;
    int fallback = optionDefault(key).trimmed().toInt(&ok);
    if (!ok)
        fallback = 0;
    const TStringList& list = optionsList();
    if (!list.contains(key))
        return fallback;
    const int value = list.value(key).trimmed().toInt(&ok);
    return ok ? value : fallback;
}

QString getOptionText(const QString& key)
{
    const TStringList& list = optionsList();
    return list.contains(key) ? list.value(key) : optionDefault(key);
}

void setOptionBool(const QString& key, bool value)
{
    optionsList().setValue(key, value ? QStringLiteral("True") : QStringLiteral("False"));
}
