#include "foundation/KwStringsComponent.h"

#include "foundation/Exception.h"
#include "foundation/TextUtils.h"
#include "foundation/TypedStream.h"

namespace {
constexpr int kTableBufferSize = 8192;
}

TKwStringList::TKwStringList(const QString& sectionName, const QString& text)
    : name(sectionName), lines(TStringList::splitLines(text))
{
}

TKwStringsComponent::TKwStringsComponent(QObject* owner, const QString& name) : QObject(owner)
{
    if (!name.isEmpty())
        setObjectName(name);
}

TKwStringsComponent::~TKwStringsComponent() = default;

TKwStringList* TKwStringsComponent::addSection(const QString& name, const QString& text)
{
    m_sections.push_back(std::make_unique<TKwStringList>(name, text));
    return m_sections.back().get();
}

void TKwStringsComponent::renameSection(qsizetype index, const QString& name)
{
    sectionAt(index)->name = name;
}

void TKwStringsComponent::clearSections()
{
    m_sections.clear();
}

void TKwStringsComponent::deleteSection(qsizetype index)
{
    sectionAt(index);
    m_sections.erase(m_sections.begin() + index);
}

QString TKwStringsComponent::sectionName(qsizetype index) const
{
    return sectionAt(index)->name;
}

TKwStringList* TKwStringsComponent::sectionAt(qsizetype index) const
{
    if (index < 0 || index >= sectionCount())
        throw Exception(QStringLiteral("List index out of bounds (%1)").arg(index));
    return m_sections[size_t(index)].get();
}

qsizetype TKwStringsComponent::indexOfSection(const QString& name) const
{
    for (size_t i = 0; i < m_sections.size(); ++i)
        if (m_sections[i]->name.compare(name, Qt::CaseInsensitive) == 0)
            return qsizetype(i);
    return -1;
}

TKwStringList* TKwStringsComponent::findSection(const QString& name) const
{
    const qsizetype i = indexOfSection(name);
    return i < 0 ? nullptr : m_sections[size_t(i)].get();
}

TStringList* TKwStringsComponent::findSectionLines(const QString& name) const
{
    TKwStringList* s = findSection(name);
    return s ? &s->lines : nullptr;
}

TStringList& TKwStringsComponent::sectionLines(const QString& name)
{
    if (TKwStringList* s = findSection(name))
        return s->lines;
    return addSection(name, QString())->lines;
}

void TKwStringsComponent::appendFromStream(QIODevice& stream)
{
    TReader reader(&stream, kTableBufferSize);
    reader.readListBegin();
    while (!reader.endOfList()) {
        const QString name = reader.readString();
        const QString text = reader.readString();
        addSection(name, text);
    }
    reader.readListEnd();
}

void TKwStringsComponent::loadFromStream(QIODevice& stream)
{
    clearSections();
    appendFromStream(stream);
}

void TKwStringsComponent::saveToStream(QIODevice& stream) const
{
    TWriter writer(&stream, kTableBufferSize);
    writer.writeListBegin();
    for (const auto& s : m_sections) {
        writer.writeString(s->name);
        writer.writeString(s->text());
    }
    writer.writeListEnd();
    writer.flush();
}

void TKwStringsComponent::assign(const TKwStringsComponent& other)
{
    if (&other == this)
        return;
    clearSections();
    for (const auto& s : other.m_sections) {
        auto copy = std::make_unique<TKwStringList>(s->name, QString());
        copy->lines = s->lines;
        m_sections.push_back(std::move(copy));
    }
}

QString sectionTextOrDefault(const TKwStringsComponent& table, const QString& name, bool* usedDefault)
{
    if (const TKwStringList* s = table.findSection(name)) {
        const QString text = s->text();
        if (!isBlankText(text)) {
            if (usedDefault)
                *usedDefault = false;
            return text;
        }
    }
    if (usedDefault)
        *usedDefault = true;
    const TKwStringList* d = table.findSection(QStringLiteral("Default"));
    return d ? d->text() : QString();
}
