#include "foundation/windows/ControlUtils.h"

#include "foundation/TextUtils.h"
#include "foundation/windows/ImageLabel.h"
#include "foundation/windows/OwnedWidgets.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>

namespace {

constexpr int kPumpRounds = 101;

bool isValueControl(const QWidget* w)
{
    return qobject_cast<const QLineEdit*>(w) || qobject_cast<const QComboBox*>(w)
        || qobject_cast<const QPlainTextEdit*>(w);
}

} // namespace

void collectControlValues(const QWidget* formOrFrame, const TStringList* map, TStringList* target,
                          bool stripLineBreaks)
{
    if (!map || !target)
        return;
    for (QWidget* w : directlyOwnedWidgets(formOrFrame)) {
        if (!isValueControl(w))
            continue;
        const QString key = map->value(w->objectName());
        if (key.isEmpty())
            continue;
        QString text;
        if (auto* edit = qobject_cast<QLineEdit*>(w))
            text = edit->text();
        else if (auto* combo = qobject_cast<QComboBox*>(w))
            text = combo->currentText();
        else if (auto* memo = qobject_cast<QPlainTextEdit*>(w))
            text = stripLineBreaks ? removeLineBreaks(memo->toPlainText()) : memo->toPlainText();
        target->setValue(key, text);
    }
}

void applyControlValues(const QWidget* formOrFrame, const TStringList* map, const TStringList* values)
{
    if (!map || !values)
        return;
    for (QWidget* w : directlyOwnedWidgets(formOrFrame)) {
        if (!isValueControl(w))
            continue;
        const QString key = map->value(w->objectName());
        const QString text = key.isEmpty() ? QString() : values->value(key);
        if (auto* edit = qobject_cast<QLineEdit*>(w)) {
            edit->setText(text);
        } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
            if (combo->isEditable())
                combo->setEditText(text);
            else
                combo->setCurrentIndex(combo->findText(text, Qt::MatchFixedString | Qt::MatchCaseSensitive));
        } else if (auto* memo = qobject_cast<QPlainTextEdit*>(w)) {
            memo->setPlainText(text);
        }
    }
}

std::unique_ptr<TStringList> selectedListItems(const QListWidget* listBox)
{
    auto out = std::make_unique<TStringList>();
    if (!listBox)
        return out;
    for (int row = 0; row < listBox->count(); ++row) {
        const QListWidgetItem* item = listBox->item(row);
        if (item->isSelected())
            out->add(item->text());
    }
    return out;
}

void pumpMessages(QWidget* panel)
{
    if (panel)
        panel->repaint();
    for (int i = 0; i < kPumpRounds; ++i)
        QCoreApplication::processEvents();
}

TImageLabel* copyTemplateImage(const TImageLabel* templateImage, int tag, QWidget* parent)
{
    if (!templateImage || !parent)
        return nullptr;
    auto* copy = new TImageLabel(parent);
    copy->setPixmap(templateImage->pixmap());
    copy->setScaledContents(templateImage->hasScaledContents());
    copy->setAlignment(templateImage->alignment());
    copy->setGeometry(templateImage->geometry());
    copy->setSizePolicy(templateImage->sizePolicy());
    copy->setCursor(templateImage->cursor());
    copy->setAutoFillBackground(templateImage->autoFillBackground());
    copy->setAttribute(Qt::WA_TranslucentBackground,
                       templateImage->testAttribute(Qt::WA_TranslucentBackground));
    copy->setClickHandler(templateImage->clickHandler());
    copy->setToolTip(templateImage->toolTip());
    copy->setTag(tag);
    copy->show();
    return copy;
}
