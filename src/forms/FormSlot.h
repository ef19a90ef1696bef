#pragma once

#include "suite/modal/ModalSeam.h"

#include <QDialog>
#include <QPointer>
#include <utility>

namespace depotbase {

// How the component makes, owns and shows its windows.
//
// A form is a QDialog with a load step (reads what it shows and fills its
// controls) and an unload step (lets that go again); the object may outlive
// several loads. Whoever opens a form holds it in a FormSlot:
//  - get(args...) creates the form from args on first use and returns that
//    same form on every later call (args are then not used);
//  - unload() destroys the form, so the next get() creates a fresh one; a
//    form that keeps nothing between showings is unloaded after each one;
//  - the slot destroys its form when the slot goes, unless the form's Qt
//    parent has destroyed it first.
// Whatever the opener and the form share is handed to the form when it is
// shown (an interface or a small struct), never reached through a global.
template <typename Form>
class FormSlot {
public:
    FormSlot() = default;
    ~FormSlot() { unload(); }
    FormSlot(const FormSlot &) = delete;
    FormSlot &operator=(const FormSlot &) = delete;

    template <typename... Args>
    Form &get(Args &&...args)
    {
        if (!m_form)
            m_form = new Form(std::forward<Args>(args)...);
        return *m_form;
    }

    // The form when it exists, else nullptr.
    Form *current() const { return m_form.data(); }

    void unload() { delete m_form.data(); }

private:
    // Tracks the form, so a form its Qt parent destroyed is not deleted twice.
    QPointer<Form> m_form;
};

// The one way a form is shown: load, modal through the seam, unload. The
// unload also runs when the load throws; the error then goes on to the
// caller. Returns the dialog's result code.
template <typename Load, typename Unload>
int showModalForm(QDialog &form, Load &&load, Unload &&unload)
{
    try {
        load();
    } catch (...) {
        unload();
        throw;
    }
    const int result = modal::showModal(&form);
    unload();
    return result;
}

} // namespace depotbase
