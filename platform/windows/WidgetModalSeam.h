#pragma once
// The modal seam of a desktop run: real message boxes and file dialogs, and
// exec of the program's own dialogs. Installed by the shell when windows are
// shown; tests install scripted seams instead.

#include "foundation/ModalSeam.h"

class TWidgetModalSeam : public IModalSeam {
public:
    void showMessage(const QString& text, const QString& caption) override;
    bool askYesNo(const QString& question, const QString& caption) override;
    QString openFileName(const QString& caption, const QString& folder, const QString& filter,
                         const QString& defaultExt) override;
    QString saveFileName(const QString& caption, const QString& folder, const QString& filter,
                         const QString& defaultExt) override;
    QString folderName(const QString& caption, const QString& folder) override;
    // A QDialog is run with exec(); any other object gives 0 (cancelled).
    int execDialog(QObject* dialog) override;
};

// The program's filters are "description|pattern|description|pattern" (see
// fileDialogFilter); Qt wants "description (pattern);;...". A pattern list
// separated by ';' becomes a blank-separated list. Text without '|' is kept.
QString qtFileDialogFilter(const QString& filter);
