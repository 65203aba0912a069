#pragma once
// Putting the string tables' captions and hints onto forms and frames, and
// the font of the current language.

#include <QString>

class QFont;
class QWidget;

// Texts every control the form or frame owns directly (OwnedWidgets.h) from
// the section: labels and push buttons get text and tool tip (key
// "<name>.Hint"; a blank hint clears the tip), tool buttons the tool tip
// only; plain text edits, radio buttons, check boxes, group boxes (radio
// groups too) their text or title; a tab page its tab text. A QDialog or
// QMainWindow gets key "Caption" as window title when that is not blank.
// Labels showing an image or animation are images, not labels, and are left
// alone. Missing keys give the empty text; when the section itself is missing
// (language not registered) nothing is changed.
void localizeComponent(QWidget* formOrFrame, const QString& module, const QString& section);

// "CN": family "宋体", 9 pt; "EN": "Tahoma", 8 pt; other languages: unchanged.
// The tables ask for character height -12 / -11 pixels at 96 dpi, which is
// 9 / 8 points; points keep the size right on other screens.
void applyLanguageFont(QFont& font);
void applyLanguageFont(QWidget* widget);
