#pragma once

#include "suite/modal/ScriptedModalSeam.h"

#include <memory>

namespace testsupport {

// Installs a scripted modal seam for one test: unexpected dialogs and
// expectations never met fail the test; the previous seam comes back after.
class SeamScript {
public:
    SeamScript();
    ~SeamScript();
    SeamScript(const SeamScript &) = delete;
    SeamScript &operator=(const SeamScript &) = delete;

    modal::ScriptedModalSeam *operator->() { return m_seam; }
    modal::ScriptedModalSeam &seam() { return *m_seam; }

private:
    modal::ScriptedModalSeam *m_seam;
    std::unique_ptr<modal::ModalSeam> m_previous;
};

} // namespace testsupport
