#include "foundation/windows/WidgetLocalization.h"

#include "foundation/StringResource.h"
#include "foundation/TextUtils.h"
#include "foundation/windows/ImageLabel.h"
#include "foundation/windows/OwnedWidgets.h"

#include <QCheckBox>
#include <QDialog>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QToolButton>

namespace {

QString valueOf(const TStringList& lines, const QString& key)
{
    return replaceEscapes(lines.value(key));
}

void applyHint(QWidget* w, const TStringList& lines)
{
    const QString hint = valueOf(lines, w->objectName() + QStringLiteral(".Hint"));
    w->setToolTip(isBlankText(hint) ? QString() : hint);
}

// The tab widget whose page the widget is, or nullptr.
QTabWidget* tabOwner(QWidget* w)
{
    auto* stack = qobject_cast<QStackedWidget*>(w->parentWidget());
    auto* tabs = stack ? qobject_cast<QTabWidget*>(stack->parentWidget()) : nullptr;
    return tabs && tabs->indexOf(w) >= 0 ? tabs : nullptr;
}

bool isImage(const QLabel* label)
{
    return qobject_cast<const TImageLabel*>(label) || !label->pixmap().isNull() || label->movie();
}

void localizeWidget(QWidget* w, const TStringList& lines)
{
    const QString name = w->objectName();
    if (QTabWidget* tabs = tabOwner(w)) {
        tabs->setTabText(tabs->indexOf(w), valueOf(lines, name));
    } else if (auto* label = qobject_cast<QLabel*>(w)) {
        if (isImage(label))
            return;
        label->setText(valueOf(lines, name));
        applyHint(w, lines);
    } else if (auto* button = qobject_cast<QPushButton*>(w)) {
        button->setText(valueOf(lines, name));
        applyHint(w, lines);
    } else if (qobject_cast<QToolButton*>(w)) {
        applyHint(w, lines);
    } else if (auto* memo = qobject_cast<QPlainTextEdit*>(w)) {
        memo->setPlainText(valueOf(lines, name));
    } else if (auto* radio = qobject_cast<QRadioButton*>(w)) {
        radio->setText(valueOf(lines, name));
    } else if (auto* check = qobject_cast<QCheckBox*>(w)) {
        check->setText(valueOf(lines, name));
    } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
        group->setTitle(valueOf(lines, name));
    }
}

} // namespace

void localizeComponent(QWidget* formOrFrame, const QString& module, const QString& section)
{
    if (!formOrFrame)
        return;
    const TStringList* lines = resourceSection(module, section);
    if (!lines)
        return;
    if (qobject_cast<QDialog*>(formOrFrame) || qobject_cast<QMainWindow*>(formOrFrame)) {
        const QString caption = valueOf(*lines, QStringLiteral("Caption"));
        if (!isBlankText(caption))
            formOrFrame->setWindowTitle(caption);
    }
    for (QWidget* w : directlyOwnedWidgets(formOrFrame))
        localizeWidget(w, *lines);
}

void applyLanguageFont(QFont& font)
{
    const QString language = stringResourceManager().currentLanguage();
    if (language.compare(QLatin1String("CN"), Qt::CaseInsensitive) == 0) {
        font.setFamily(QStringLiteral("宋体"));
        font.setPointSize(9);
    } else if (language.compare(QLatin1String("EN"), Qt::CaseInsensitive) == 0) {
        font.setFamily(QStringLiteral("Tahoma"));
        font.setPointSize(8);
    }
}

void applyLanguageFont(QWidget* widget)
{
    if (!widget)
        return;
    QFont font = widget->font();
    applyLanguageFont(font);
    widget->setFont(font);
}
