#pragma once
// Ordered list of wizard pages. A list destroys exactly the pages whose owner
// is the list's own owner (two lists without owner own pages without owner);
// every other page is only referenced.

#include <QtGlobal>

#include <vector>

class ITitled;
class IUIFrame;

class TUIFrameList {
public:
    TUIFrameList() = default;
    // A missing owner raises "Owner title is null!".
    explicit TUIFrameList(ITitled* owner);
    ~TUIFrameList();
    TUIFrameList(const TUIFrameList&) = delete;
    TUIFrameList& operator=(const TUIFrameList&) = delete;

    ITitled* owner() const { return m_owner; }
    // Step index stamped on every page added from now on.
    int stepForNew = -1;

    void add(IUIFrame* page);
    void addAll(const TUIFrameList* other);
    qsizetype count() const { return qsizetype(m_pages.size()); }
    IUIFrame* item(qsizetype index) const;
    qsizetype indexOf(const IUIFrame* page) const;
    void remove(IUIFrame* page);
    // Indexes from..to inclusive; those beyond the end are skipped.
    void deleteRange(qsizetype from, qsizetype to);

private:
    bool owns(const IUIFrame* page) const;
    // Destroys an owned page once no slot of the list refers to it any more,
    // so that a page listed twice is never destroyed twice or left dangling.
    void releaseItem(IUIFrame* page);

    ITitled* m_owner = nullptr; // not owned
    std::vector<IUIFrame*> m_pages;
};
