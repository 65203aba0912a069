#include "platform/windows/RadioGroup.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

TRadioGroup::TRadioGroup(QWidget* parent)
    : QGroupBox(parent), m_group(new QButtonGroup(this)), m_layout(new QVBoxLayout(this))
{
    // Exclusivity is kept by updateChecks, so that "nothing checked" is possible.
    m_group->setExclusive(false);
    connect(m_group, &QButtonGroup::idClicked, this, [this](int id) { setItemIndex(id); });
}

QStringList TRadioGroup::items() const
{
    QStringList out;
    for (QAbstractButton* b : m_group->buttons())
        out.append(b->text());
    return out;
}

qsizetype TRadioGroup::itemCount() const
{
    return m_group->buttons().size();
}

void TRadioGroup::setItems(const QStringList& items)
{
    for (QAbstractButton* b : m_group->buttons()) {
        m_group->removeButton(b);
        delete b;
    }
    for (qsizetype i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items.at(i), this);
        m_layout->addWidget(button);
        m_group->addButton(button, int(i));
    }
    const int before = m_itemIndex;
    m_itemIndex = before < items.size() ? before : -1;
    updateChecks();
    if (m_itemIndex != before)
        emit itemIndexChanged(m_itemIndex);
}

void TRadioGroup::setItemIndex(int index)
{
    if (index < 0 || index >= itemCount())
        index = -1;
    const bool changed = index != m_itemIndex;
    m_itemIndex = index;
    updateChecks();
    if (changed)
        emit itemIndexChanged(m_itemIndex);
}

QRadioButton* TRadioGroup::itemButton(int index) const
{
    return qobject_cast<QRadioButton*>(m_group->button(index));
}

void TRadioGroup::updateChecks()
{
    for (QAbstractButton* b : m_group->buttons())
        b->setChecked(m_group->id(b) == m_itemIndex);
}
