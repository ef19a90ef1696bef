#pragma once

// The warehouse list with its print-work database in a temporary system
// folder of its own, for the tests of the list's print commands.

#include "WarehouseFixture.h"

#include "suite/report/RTPrn.h"

#include <QTemporaryDir>

namespace whtest {

class ListPrintFixture : public WarehouseFixture {
protected:
    void SetUp() override
    {
        WarehouseFixture::SetUp();
        setSystemFolder(m_folder.path());
    }

    void TearDown() override
    {
        list().RTPrn1().SetPrintToFile(QString());
        setSystemFolder(QString());
        WarehouseFixture::TearDown();
    }

    QTemporaryDir m_folder;
};

} // namespace whtest
