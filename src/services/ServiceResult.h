#pragma once

#include <QString>

namespace services {

// What a service did with a request: done, or refused with the text the
// window shows and the field the refusal concerns (so the window can put the
// focus there). A service never shows a window itself.
struct ServiceResult {
    enum class Outcome {
        Done,
        Refused,  // a rule or the database said no; nothing was changed
    };
    Outcome outcome = Outcome::Done;
    QString message;     // the catalogue's text, as the window shows it
    QString field;       // the column the refusal concerns; "" for none
    int errorNumber = 0; // the kit's error number behind a database refusal

    bool done() const { return outcome == Outcome::Done; }
    static ServiceResult ok() { return {}; }
    static ServiceResult refused(const QString &message, const QString &field = QString(),
                                 int errorNumber = 0);
};

} // namespace services
