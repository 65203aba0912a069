#pragma once
// Moving values between a form's edit controls and name=value lists, and
// small helpers for list boxes, progress panels and the help image.

#include "foundation/StringList.h"

#include <memory>

class QListWidget;
class QWidget;
class TImageLabel;

// For every QLineEdit, QComboBox and QPlainTextEdit the form or frame owns
// directly (OwnedWidgets.h): the map gives the key for the control's name;
// a non-empty key is set in the target to the control's text (an empty text
// removes it). With stripLineBreaks, plain text edits lose TAB, CR and LF.
void collectControlValues(const QWidget* formOrFrame, const TStringList* map, TStringList* target,
                          bool stripLineBreaks = false);
// The reverse: each such control's text becomes the value of its mapped key,
// or the empty text when unmapped or missing. A non-editable combo box
// selects the item with that text (none when there is no such item).
void applyControlValues(const QWidget* formOrFrame, const TStringList* map, const TStringList* values);

// Texts of the selected items, in row order.
std::unique_ptr<TStringList> selectedListItems(const QListWidget* listBox);

// Repaints the panel, then processes pending UI events 101 times, so that a
// progress text shows during a long step on the UI thread.
void pumpMessages(QWidget* panel);

// A visible copy of the template image on the parent (picture, geometry,
// cursor, size policy, alignment, transparency, click handler) carrying the
// tag; nullptr when there is no template or no parent. The parent owns it.
TImageLabel* copyTemplateImage(const TImageLabel* templateImage, int tag, QWidget* parent);
