#pragma once
// The one seam every modal interaction goes through: message boxes, yes/no
// questions, file and folder dialogs, exec of the program's own dialogs.
// Tests install a scripted seam; a headless run installs one that never
// blocks (answers No/cancel and writes messages to standard error). Until a
// seam is installed, the headless behaviour applies.

#include <QString>
#include <QStringList>

class QObject;

class IModalSeam {
public:
    virtual ~IModalSeam() = default;
    virtual void showMessage(const QString& text, const QString& caption) = 0;
    // true for Yes
    virtual bool askYesNo(const QString& question, const QString& caption) = 0;
    // Chosen file name, or the empty text when cancelled.
    virtual QString openFileName(const QString& caption, const QString& folder, const QString& filter,
                                 const QString& defaultExt) = 0;
    virtual QString saveFileName(const QString& caption, const QString& folder, const QString& filter,
                                 const QString& defaultExt) = 0;
    virtual QString folderName(const QString& caption, const QString& folder) = 0;
    // Runs a modal dialog of the program (a QDialog passed as QObject so that
    // this header needs no widgets); returns its result code.
    virtual int execDialog(QObject* dialog) = 0;
};

// Never blocks: messages go to standard error, questions are answered No,
// dialogs are cancelled.
class THeadlessModalSeam : public IModalSeam {
public:
    void showMessage(const QString& text, const QString& caption) override;
    bool askYesNo(const QString& question, const QString& caption) override;
    QString openFileName(const QString&, const QString&, const QString&, const QString&) override { return {}; }
    QString saveFileName(const QString&, const QString&, const QString&, const QString&) override { return {}; }
    QString folderName(const QString&, const QString&) override { return {}; }
    int execDialog(QObject*) override { return 0; }
};

// The installed seam (never null). Not owned: the installer keeps it alive.
IModalSeam& modalSeam();
// nullptr restores the headless seam; returns the previous one.
IModalSeam* setModalSeam(IModalSeam* seam);
