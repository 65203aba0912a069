#pragma once
// The project's radio group: a group box showing one radio button per item,
// with the index of the checked item (-1 for none). The item buttons are
// unnamed, so localisation leaves them alone; their texts come from setItems.

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QRadioButton;
class QVBoxLayout;

class TRadioGroup : public QGroupBox {
    Q_OBJECT
    Q_PROPERTY(int itemIndex READ itemIndex WRITE setItemIndex NOTIFY itemIndexChanged)
public:
    explicit TRadioGroup(QWidget* parent = nullptr);

    QStringList items() const;
    // Replaces the items; keeps the index when it is still in range, else -1.
    void setItems(const QStringList& items);
    qsizetype itemCount() const;

    int itemIndex() const { return m_itemIndex; }
    // Out-of-range values select nothing (-1).
    void setItemIndex(int index);

    QRadioButton* itemButton(int index) const; // nullptr when out of range

signals:
    void itemIndexChanged(int index);

private:
    void updateChecks();

    QButtonGroup* m_group; // child object
    QVBoxLayout* m_layout; // child object
    int m_itemIndex = -1;
};
