#include "ScriptedModalSeam.h"

#include <QCoreApplication>
#include <QDialog>
#include <QPrintPreviewDialog>

namespace modal {

namespace {

QString kindName(int kind)
{
    static const char *names[] = {"message box", "modal window", "save-file dialog",
                                  "page set-up dialog", "print preview"};
    return QString::fromLatin1(names[kind]);
}

QString answerName(Answer a)
{
    switch (a) {
    case Answer::Ok: return "Ok";
    case Answer::Cancel: return "Cancel";
    case Answer::Yes: return "Yes";
    case Answer::No: return "No";
    }
    return "?";
}

} // namespace

ScriptedModalSeam::ScriptedModalSeam(FailureHandler onFailure) : m_onFailure(std::move(onFailure))
{
}

ScriptedModalSeam::~ScriptedModalSeam() = default;

ScriptedModalSeam &ScriptedModalSeam::expectMessage(const QString &text, Answer answer)
{
    Step s{Kind::Message, text};
    s.answer = answer;
    m_steps.push_back(s);
    return *this;
}

ScriptedModalSeam &ScriptedModalSeam::expectMessage(const QString &text, Icon icon,
                                                    Buttons buttons, const QString &caption,
                                                    Answer answer)
{
    Step s{Kind::Message, text};
    s.checkDetails = true;
    s.icon = icon;
    s.buttons = buttons;
    s.caption = caption;
    s.answer = answer;
    m_steps.push_back(s);
    return *this;
}

ScriptedModalSeam &ScriptedModalSeam::expectWindow(const QString &objectName, WindowScript script)
{
    Step s{Kind::Window, objectName};
    s.script = std::move(script);
    m_steps.push_back(s);
    return *this;
}

ScriptedModalSeam &ScriptedModalSeam::expectSaveFile(const QString &fileName)
{
    m_steps.push_back(Step{Kind::SaveFile, fileName});
    return *this;
}

ScriptedModalSeam &ScriptedModalSeam::expectPageSetup(bool accept)
{
    Step s{Kind::PageSetup, QString()};
    s.accept = accept;
    m_steps.push_back(s);
    return *this;
}

ScriptedModalSeam &ScriptedModalSeam::expectPreview()
{
    m_steps.push_back(Step{Kind::Preview, QString()});
    return *this;
}

bool ScriptedModalSeam::verifyDone()
{
    if (m_steps.empty())
        return true;
    QStringList left;
    for (const Step &s : m_steps)
        left << kindName(int(s.kind)) + " \"" + s.text + "\"";
    fail("expected but never shown: " + left.join(", "));
    m_steps.clear();
    return false;
}

void ScriptedModalSeam::fail(const QString &why)
{
    if (m_onFailure)
        m_onFailure(why);
}

bool ScriptedModalSeam::takeStep(Kind kind, const QString &what, Step &out)
{
    if (m_steps.empty()) {
        fail("unexpected " + kindName(int(kind)) + ": \"" + what + "\"");
        return false;
    }
    Step next = m_steps.front();
    // An expectation without a text (a window without a name, a message whose
    // text comes from the engine) matches any.
    if (next.kind != kind
        || (kind != Kind::SaveFile && next.text != what && !next.text.isEmpty())) {
        fail("expected " + kindName(int(next.kind)) + " \"" + next.text + "\" but got "
             + kindName(int(kind)) + " \"" + what + "\"");
        // Drop the mismatched step so one mistake is reported once.
        m_steps.pop_front();
        return false;
    }
    m_steps.pop_front();
    out = next;
    return true;
}

Answer ScriptedModalSeam::messageBox(QWidget *, const QString &text, Icon icon, Buttons buttons,
                                     const QString &caption)
{
    m_shown << text;
    Step step;
    if (!takeStep(Kind::Message, text, step))
        return buttons == Buttons::Ok ? Answer::Ok : (buttons == Buttons::YesNo ? Answer::No
                                                                                : Answer::Cancel);
    if (step.checkDetails) {
        if (step.icon != icon)
            fail("message \"" + text + "\" has another icon than expected");
        if (step.buttons != buttons)
            fail("message \"" + text + "\" has other buttons than expected");
        if (step.caption != caption)
            fail("message \"" + text + "\" has caption \"" + caption + "\", expected \""
                 + step.caption + "\"");
    }
    const bool offered = [&] {
        switch (buttons) {
        case Buttons::Ok: return step.answer == Answer::Ok;
        case Buttons::OkCancel: return step.answer == Answer::Ok || step.answer == Answer::Cancel;
        case Buttons::YesNo: return step.answer == Answer::Yes || step.answer == Answer::No;
        case Buttons::YesNoCancel: return step.answer != Answer::Ok;
        }
        return false;
    }();
    if (!offered)
        fail("message \"" + text + "\" offers no " + answerName(step.answer) + " button");
    return step.answer;
}

int ScriptedModalSeam::showModal(QDialog *window)
{
    Step step;
    const QString name = window->objectName();
    if (!takeStep(Kind::Window, name, step))
        return QDialog::Rejected;
    window->setResult(QDialog::Rejected);
    window->show();
    QCoreApplication::processEvents();
    if (step.script)
        step.script(window);
    if (window->isVisible())
        window->reject();
    QCoreApplication::processEvents();
    return window->result();
}

QString ScriptedModalSeam::saveFileName(QWidget *, const QString &caption, const QString &,
                                        const QString &)
{
    Step step;
    if (!takeStep(Kind::SaveFile, caption, step))
        return QString();
    return step.text;
}

bool ScriptedModalSeam::pageSetup(QWidget *, QPrinter *)
{
    Step step;
    if (!takeStep(Kind::PageSetup, QString(), step))
        return false;
    return step.accept;
}

int ScriptedModalSeam::printPreview(QPrintPreviewDialog *preview)
{
    Step step;
    if (!takeStep(Kind::Preview, QString(), step))
        return QDialog::Rejected;
    // Render the pages as the dialog would, then close it.
    preview->show();
    QCoreApplication::processEvents();
    preview->reject();
    return QDialog::Accepted;
}

} // namespace modal
