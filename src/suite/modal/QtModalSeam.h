#pragma once

#include "ModalSeam.h"

namespace modal {

// Shows everything for real with Qt's own dialogs.
class QtModalSeam : public ModalSeam {
public:
    Answer messageBox(QWidget *parent, const QString &text, Icon icon, Buttons buttons,
                      const QString &caption) override;
    int showModal(QDialog *window) override;
    QString saveFileName(QWidget *parent, const QString &caption, const QString &dir,
                         const QString &filter) override;
    bool pageSetup(QWidget *parent, QPrinter *printer) override;
    int printPreview(QPrintPreviewDialog *preview) override;
    void beep() override;
};

} // namespace modal
