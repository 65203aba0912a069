#pragma once
// "The controls a form or frame owns directly": all its descendant widgets,
// in creation order (depth first), except
//  - those inside a nested frame or form, which localises and fills itself:
//    a child window (dialog, main window) or a widget marked with
//    markSelfLocalizing (every frame class calls it in its constructor);
//  - the inner parts of Qt's compound controls (tab bars, combo boxes, spin
//    boxes), which are not the form's controls;
//  - unnamed widgets and Qt's own "qt_*" helpers (their subtrees are still
//    searched: a tab widget's pages sit inside "qt_tabwidget_stackedwidget").
// An unnamed control has no key of its own, so it is never texted or filled.

#include <QList>

class QWidget;

// Marks a nested frame: forms and frames that own it skip it and its subtree.
void markSelfLocalizing(QWidget* frame);
bool isSelfLocalizing(const QWidget* widget);

QList<QWidget*> directlyOwnedWidgets(const QWidget* formOrFrame);
