#pragma once

#include <QString>

class QWidget;

// How the warehouse list and card tell what their commands met.
namespace whmessages {

// A refusal: critical icon, OK, the list's caption.
void critical(QWidget *window, const QString &text);
// A refusal of the warehouse service: a held lock as a notice, anything else
// as a refusal.
void refusal(QWidget *window, const QString &message);
// Tells the user that the warehouse list was opened read-only; true when it
// was (the caller then changes nothing).
bool refuseWhenReadOnly(QWidget *window, bool readOnly);

} // namespace whmessages
