#pragma once
// Keyed string table: ordered named sections of text lines. Holds the string
// resources, shipped defaults, type maps, statement templates, configurations
// and job mappings. Lookups by section name ignore letter case, the first
// match winning; adding never checks for duplicates.

#include "foundation/StringList.h"

#include <QIODevice>
#include <QObject>
#include <QString>

#include <memory>
#include <vector>

class TKwStringList {
public:
    TKwStringList(const QString& name, const QString& text);
    QString name;
    TStringList lines;
    QString text() const { return lines.text(); }
};

class TKwStringsComponent : public QObject {
    Q_OBJECT
public:
    explicit TKwStringsComponent(QObject* owner = nullptr, const QString& name = QString());
    ~TKwStringsComponent() override;

    TKwStringList* addSection(const QString& name, const QString& text);
    void renameSection(qsizetype index, const QString& name);
    void clearSections();
    void deleteSection(qsizetype index);
    qsizetype sectionCount() const { return qsizetype(m_sections.size()); }
    QString sectionName(qsizetype index) const;
    TKwStringList* sectionAt(qsizetype index) const;
    qsizetype indexOfSection(const QString& name) const;
    TKwStringList* findSection(const QString& name) const;
    TStringList* findSectionLines(const QString& name) const;
    // Appends an empty section of that name when none matches.
    TStringList& sectionLines(const QString& name);

    // Stream form: list start, (name, text) string pairs, list end.
    void loadFromStream(QIODevice& stream);
    void saveToStream(QIODevice& stream) const;
    // Appends the sections of a stream form (the packaged-resource reader).
    void appendFromStream(QIODevice& stream);

    void assign(const TKwStringsComponent& other);

private:
    std::vector<std::unique_ptr<TKwStringList>> m_sections;
};

// Text of the named section and false; when that text is blank or the section
// is missing, the text of section "Default" and true.
QString sectionTextOrDefault(const TKwStringsComponent& table, const QString& name, bool* usedDefault = nullptr);
