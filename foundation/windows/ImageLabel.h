#pragma once
// An image control: a label showing a pixmap, with a tag and a click handler
// (the help image of the pages is one; copies of it keep the handler and
// carry the page's help number in the tag).

#include <QLabel>

#include <functional>

class TImageLabel : public QLabel {
    Q_OBJECT
public:
    using ClickHandler = std::function<void(TImageLabel* image)>;

    explicit TImageLabel(QWidget* parent = nullptr);

    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }
    const ClickHandler& clickHandler() const { return m_onClick; }
    void setClickHandler(ClickHandler handler) { m_onClick = std::move(handler); }

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int m_tag = 0;
    ClickHandler m_onClick;
};
