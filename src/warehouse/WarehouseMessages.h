#pragma once

#include <QString>

class QWidget;
namespace dbkit {
class DbError;
}

// How the warehouse list and card tell what their commands met.
namespace whmessages {

// A refusal: critical icon, OK, the list's caption.
void critical(QWidget *window, const QString &text);
// A database failure outside a command's own write, told in Chinese with
// the engine's text.
void failure(QWidget *window, const dbkit::DbError &error);
// A refusal of the warehouse service: a held lock as a notice, anything else
// as a refusal.
void refusal(QWidget *window, const QString &message);
// Tells the user that the warehouse list was opened read-only; true when it
// was (the caller then changes nothing).
bool refuseWhenReadOnly(QWidget *window, bool readOnly);

} // namespace whmessages
