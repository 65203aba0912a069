#include "foundation/windows/OwnedWidgets.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QTabBar>
#include <QWidget>

namespace {

const char* const kSelfLocalizing = "quenlorSelfLocalizing";

bool isQtHelper(const QWidget* w)
{
    return w->objectName().isEmpty() || w->objectName().startsWith(QLatin1String("qt_"));
}

bool isCompound(const QWidget* w)
{
    return qobject_cast<const QTabBar*>(w) || qobject_cast<const QComboBox*>(w)
        || qobject_cast<const QAbstractSpinBox*>(w);
}

void collect(const QWidget* parent, QList<QWidget*>& out)
{
    for (QObject* child : parent->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (!w || w->isWindow() || isSelfLocalizing(w))
            continue;
        if (!isQtHelper(w))
            out.append(w);
        if (!isCompound(w))
            collect(w, out);
    }
}

} // namespace

void markSelfLocalizing(QWidget* frame)
{
    if (frame)
        frame->setProperty(kSelfLocalizing, true);
}

bool isSelfLocalizing(const QWidget* widget)
{
    return widget && widget->property(kSelfLocalizing).toBool();
}

QList<QWidget*> directlyOwnedWidgets(const QWidget* formOrFrame)
{
    QList<QWidget*> out;
    if (formOrFrame)
        collect(formOrFrame, out);
    return out;
}
