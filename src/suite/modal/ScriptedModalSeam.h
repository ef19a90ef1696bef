#pragma once

#include "ModalSeam.h"

#include <QStringList>
#include <deque>
#include <functional>

namespace modal {

// A seam for tests: every message box must match the next expected one and is
// answered from the script; every modal window runs the next expected
// callback while it is shown and is closed afterwards. Anything unexpected is
// reported through the failure handler at once and answered with Cancel/No,
// so no test ever hangs on a dialog.
class ScriptedModalSeam : public ModalSeam {
public:
    using FailureHandler = std::function<void(const QString &)>;
    using WindowScript = std::function<void(QDialog *)>;

    explicit ScriptedModalSeam(FailureHandler onFailure);
    ~ScriptedModalSeam() override;

    // Expect a message box with this text (and, when given, icon, buttons and
    // caption); answer it with `answer`. An empty text matches any text (a
    // message that carries the engine's own description).
    ScriptedModalSeam &expectMessage(const QString &text, Answer answer = Answer::Ok);
    ScriptedModalSeam &expectMessage(const QString &text, Icon icon, Buttons buttons,
                                     const QString &caption, Answer answer);
    // Expect a modal window with this object name; run `script` while it is
    // shown. The window is closed (rejected) afterwards if the script left it open.
    ScriptedModalSeam &expectWindow(const QString &objectName, WindowScript script = {});
    ScriptedModalSeam &expectSaveFile(const QString &fileName);
    ScriptedModalSeam &expectPageSetup(bool accept);
    ScriptedModalSeam &expectPreview();

    // True when every expectation was met; reports the rest as failures.
    bool verifyDone();
    int beeps() const { return m_beeps; }
    // Every message text shown, in order.
    QStringList shownMessages() const { return m_shown; }

    Answer messageBox(QWidget *parent, const QString &text, Icon icon, Buttons buttons,
                      const QString &caption) override;
    int showModal(QDialog *window) override;
    QString saveFileName(QWidget *parent, const QString &caption, const QString &dir,
                         const QString &filter) override;
    bool pageSetup(QWidget *parent, QPrinter *printer) override;
    int printPreview(QPrintPreviewDialog *preview) override;
    void beep() override { ++m_beeps; }

private:
    enum class Kind { Message, Window, SaveFile, PageSetup, Preview };
    struct Step {
        Step() = default;
        Step(Kind k, QString t) : kind(k), text(std::move(t)) {}
        Kind kind = Kind::Message;
        QString text;          // message text, window object name or file name
        bool checkDetails = false;
        Icon icon = Icon::None;
        Buttons buttons = Buttons::Ok;
        QString caption;
        Answer answer = Answer::Ok;
        WindowScript script;
        bool accept = true;
    };
    bool takeStep(Kind kind, const QString &what, Step &out);
    void fail(const QString &why);

    FailureHandler m_onFailure;
    std::deque<Step> m_steps;
    QStringList m_shown;
    int m_beeps = 0;
};

} // namespace modal
