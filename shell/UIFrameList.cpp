#include "shell/UIFrameList.h"

#include "foundation/Exception.h"
#include "shell/ITitled.h"
#include "shell/IUIFrame.h"

#include <algorithm>

TUIFrameList::TUIFrameList(ITitled* owner) : m_owner(owner)
{
    if (!owner)
        throw Exception(QStringLiteral("Owner title is null!"));
}

TUIFrameList::~TUIFrameList()
{
    std::vector<IUIFrame*> pages;
    pages.swap(m_pages);
    std::sort(pages.begin(), pages.end());
    pages.erase(std::unique(pages.begin(), pages.end()), pages.end());
    for (IUIFrame* page : pages)
        releaseItem(page);
}

void TUIFrameList::add(IUIFrame* page)
{
    if (!page)
        return;
    page->stepIndex = stepForNew;
    m_pages.push_back(page);
}

void TUIFrameList::addAll(const TUIFrameList* other)
{
    if (!other || other == this)
        return;
    for (IUIFrame* page : other->m_pages)
        add(page);
}

IUIFrame* TUIFrameList::item(qsizetype index) const
{
    if (index < 0 || index >= count())
        throw Exception(QStringLiteral("List index out of bounds (%1)").arg(index));
    return m_pages[size_t(index)];
}

qsizetype TUIFrameList::indexOf(const IUIFrame* page) const
{
    const auto it = std::find(m_pages.begin(), m_pages.end(), page);
    return it == m_pages.end() ? -1 : qsizetype(it - m_pages.begin());
}

void TUIFrameList::remove(IUIFrame* page)
{
    if (!page || indexOf(page) < 0)
        return;
    m_pages.erase(std::remove(m_pages.begin(), m_pages.end(), page), m_pages.end());
    releaseItem(page);
}

void TUIFrameList::deleteRange(qsizetype from, qsizetype to)
{
    from = std::max<qsizetype>(from, 0);
    to = std::min<qsizetype>(to, count() - 1);
    if (from > to)
        return;
    std::vector<IUIFrame*> released(m_pages.begin() + from, m_pages.begin() + to + 1);
    m_pages.erase(m_pages.begin() + from, m_pages.begin() + to + 1);
    std::sort(released.begin(), released.end());
    released.erase(std::unique(released.begin(), released.end()), released.end());
    for (IUIFrame* page : released)
        releaseItem(page);
}

bool TUIFrameList::owns(const IUIFrame* page) const
{
    return page->getOwner() == m_owner;
}

void TUIFrameList::releaseItem(IUIFrame* page)
{
    if (page && owns(page) && indexOf(page) < 0)
        delete page;
}
