#pragma once

#include <QString>

class QWidget;

namespace modal {

// Qt's own save dialog reading in Chinese on a computer of any locale: every
// text Qt's Chinese translation covers, and besides them the file type names,
// the sizes and the dates of the files, which Qt words in the computer's
// locale. For as long as the dialog is open the application's default locale
// is Chinese (the file type names follow it); the one before comes back when
// it closes. `path` is the folder to open, with the proposed file name.
// Returns the chosen file, or "" when cancelled.
QString askSaveFileName(QWidget *parent, const QString &caption, const QString &path,
                        const QString &filter);

} // namespace modal
