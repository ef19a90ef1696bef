#include "QtModalSeam.h"
#include "SaveFileDialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace modal {

namespace {

QMessageBox::Icon qtIcon(Icon icon)
{
    switch (icon) {
    case Icon::Critical: return QMessageBox::Critical;
    case Icon::Question: return QMessageBox::Question;
    case Icon::Exclamation: return QMessageBox::Warning;
    case Icon::Information: return QMessageBox::Information;
    case Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons qtButtons(Buttons buttons)
{
    switch (buttons) {
    case Buttons::Ok: return QMessageBox::Ok;
    case Buttons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case Buttons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case Buttons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

} // namespace

Answer QtModalSeam::messageBox(QWidget *parent, const QString &text, Icon icon, Buttons buttons,
                               const QString &caption)
{
    QMessageBox box(qtIcon(icon), caption, text, qtButtons(buttons), parent);
    // The captions of the suite's boxes are Chinese; so are the button texts.
    if (auto *b = box.button(QMessageBox::Ok))
        b->setText(QStringLiteral("确定"));
    if (auto *b = box.button(QMessageBox::Cancel))
        b->setText(QStringLiteral("取消"));
    if (auto *b = box.button(QMessageBox::Yes))
        b->setText(QStringLiteral("是(&Y)"));
    if (auto *b = box.button(QMessageBox::No))
        b->setText(QStringLiteral("否(&N)"));
    switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Cancel: return Answer::Cancel;
    case QMessageBox::Ok: return Answer::Ok;
    default: break;
    }
    // Closed by the window manager or Esc: the safe answer.
    return buttons == Buttons::YesNo ? Answer::No : (buttons == Buttons::Ok ? Answer::Ok
                                                                            : Answer::Cancel);
}

int QtModalSeam::showModal(QDialog *window)
{
    return window->exec();
}

QString QtModalSeam::saveFileName(QWidget *parent, const QString &caption, const QString &dir,
                                  const QString &filter)
{
    return askSaveFileName(parent, caption, dir, filter);
}

bool QtModalSeam::pageSetup(QWidget *parent, QPrinter *printer)
{
    QPageSetupDialog dialog(printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

int QtModalSeam::printPreview(QPrintPreviewDialog *preview)
{
    return preview->exec();
}

void QtModalSeam::beep()
{
    QApplication::beep();
}

} // namespace modal
