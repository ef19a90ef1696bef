#pragma once

#include <QString>
#include <functional>
#include <memory>

class QWidget;
class QDialog;
class QPrinter;
class QPrintPreviewDialog;

namespace modal {

enum class Icon { None, Critical, Question, Exclamation, Information };
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Answer { Ok, Cancel, Yes, No };

// Every message box, modal window and file, page-set-up and print dialog of
// the component is shown through the installed seam, never directly. The Qt
// seam shows them; tests install a scripted seam that answers them.
class ModalSeam {
public:
    virtual ~ModalSeam() = default;

    virtual Answer messageBox(QWidget *parent, const QString &text, Icon icon, Buttons buttons,
                              const QString &caption) = 0;
    // Shows a window modally and returns its result code (QDialog::Accepted...).
    virtual int showModal(QDialog *window) = 0;
    // Asks for a file to write; "" when cancelled.
    virtual QString saveFileName(QWidget *parent, const QString &caption, const QString &dir,
                                 const QString &filter) = 0;
    // Page set-up for a printer; false when cancelled.
    virtual bool pageSetup(QWidget *parent, QPrinter *printer) = 0;
    // Shows a print preview dialog modally.
    virtual int printPreview(QPrintPreviewDialog *preview) = 0;
    // Short audible refusal of a key.
    virtual void beep() = 0;
};

// The installed seam (the Qt one unless a test installed another).
ModalSeam &seam();
// Installs a seam; returns the previous one. nullptr restores the Qt seam.
std::unique_ptr<ModalSeam> installSeam(std::unique_ptr<ModalSeam> seam);

// Shorthand used by the windows.
Answer message(QWidget *parent, const QString &text, Icon icon, Buttons buttons,
               const QString &caption);
int showModal(QDialog *window);
void beep();

} // namespace modal
