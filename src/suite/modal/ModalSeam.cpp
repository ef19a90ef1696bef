#include "ModalSeam.h"

#include "QtModalSeam.h"

namespace modal {

namespace {
std::unique_ptr<ModalSeam> &installed()
{
    static std::unique_ptr<ModalSeam> current = std::make_unique<QtModalSeam>();
    return current;
}
} // namespace

ModalSeam &seam()
{
    return *installed();
}

std::unique_ptr<ModalSeam> installSeam(std::unique_ptr<ModalSeam> seam)
{
    if (!seam)
        seam = std::make_unique<QtModalSeam>();
    std::swap(installed(), seam);
    return seam;
}

Answer message(QWidget *parent, const QString &text, Icon icon, Buttons buttons,
               const QString &caption)
{
    return seam().messageBox(parent, text, icon, buttons, caption);
}

int showModal(QDialog *window)
{
    return seam().showModal(window);
}

void beep()
{
    seam().beep();
}

} // namespace modal
