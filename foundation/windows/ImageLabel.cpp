#include "foundation/windows/ImageLabel.h"

#include <QMouseEvent>

TImageLabel::TImageLabel(QWidget* parent) : QLabel(parent) {}

void TImageLabel::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && m_onClick)
        m_onClick(this);
}
