#pragma once

#include "data/AccountSetup.h"
#include "support/TestDatabases.h"
#include "suite/dbkit/DbError.h"

#include <QString>
#include <gtest/gtest.h>
#include <memory>

namespace datatest {
using namespace depotbase;

// A fresh demo account on the engine of the test's parameter.
class DemoAccount : public ::testing::TestWithParam<testsupport::TestEngine> {
protected:
    void SetUp() override
    {
        m_db = std::make_unique<testsupport::TempDatabase>(GetParam());
        m_login = m_db->connect();
        CreateAccountSchema(*m_login, true);
    }

    // The kit's error number of a statement; 0 when it succeeds.
    int errorOf(const QString &sql)
    {
        try {
            m_login->Execute(sql);
        } catch (const dbkit::DbError &error) {
            return error.number();
        }
        return 0;
    }

    long long scalar(const QString &sql)
    {
        dbkit::DbDataSetPtr ds = m_login->OpenDataSet(sql);
        return ds->Fields(0).toLongLong();
    }

    QVariant value(const QString &sql)
    {
        dbkit::DbDataSetPtr ds = m_login->OpenDataSet(sql);
        return ds->Eof() ? QVariant() : ds->Fields(0);
    }

    std::unique_ptr<testsupport::TempDatabase> m_db;
    dbkit::DbLoginPtr m_login;
};

inline std::string engineLabel(const ::testing::TestParamInfo<testsupport::TestEngine> &info)
{
    return testsupport::engineName(info.param);
}

} // namespace datatest
