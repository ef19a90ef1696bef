#include "SeamScript.h"

#include <gtest/gtest.h>

namespace testsupport {

SeamScript::SeamScript()
{
    auto seam = std::make_unique<modal::ScriptedModalSeam>(
        [](const QString &why) { ADD_FAILURE() << "modal seam: " << why.toStdString(); });
    m_seam = seam.get();
    m_previous = modal::installSeam(std::move(seam));
}

SeamScript::~SeamScript()
{
    m_seam->verifyDone();
    modal::installSeam(std::move(m_previous));
}

} // namespace testsupport
