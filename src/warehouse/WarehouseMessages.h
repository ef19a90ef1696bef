#pragma once

#include "services/DatabaseFailure.h"

#include <QString>
#include <functional>

class QWidget;

// How the warehouse list and card tell what their commands met.
namespace whmessages {

// A refusal: critical icon, OK, the list's caption.
void critical(QWidget *window, const QString &text);
// A database failure outside a command's own write, told in Chinese with
// the engine's text.
void failure(QWidget *window, const services::DatabaseFailure &error);
// Runs `work`; a database failure inside it is told as failure() does and
// false returned.
bool guarded(QWidget *window, const std::function<void()> &work);
// A notice: information icon, OK, the list's caption.
void notice(QWidget *window, const QString &text);
// Tells the user that the warehouse list was opened read-only; true when it
// was (the caller then changes nothing).
bool refuseWhenReadOnly(QWidget *window, bool readOnly);

// The window title's mark of a list opened read-only.
QString readOnlyMark();
// Tool tip of a command a read-only list does not offer ("增加").
QString readOnlyTip(const QString &command);
// Tool tip of 修改 on a read-only list, which opens the card to look only.
QString viewOnlyTip();
// The line under the lock message that names the lock's holder.
QString lockHolderLine(const QString &operatorName, const QString &computer);
// A multi-row delete stopped at a warehouse other tables use: how many went
// before it, and its code.
QString deleteStoppedInUseText(int deleted, const QString &code);

} // namespace whmessages
