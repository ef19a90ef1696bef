#pragma once

#include "ReportTestSupport.h"
#include "suite/report/RTPrn.h"

#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>

namespace reporttest {

// A print-work database with one layout table and a small warehouse grid,
// and the control configured with the print procedures' sequence of calls.
class ReportFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_dbPath = m_dir.filePath("LxInit9.mdb");
        writeLayoutTable(m_dbPath, m_table);
    }

    QString path(const QString &name) const { return m_dir.filePath(name); }

    // Steps 1 to 14 of a print command, the widths converted from twips to
    // hundredths of a centimetre as the caller does.
    void configure(report::RTPrn &rt, report::ReportSource &grid)
    {
        rt.Identify("AS", "WareHouse");
        rt.SetOwner(nullptr);
        rt.SetReportKind(6);
        rt.SetPrintNow(false);
        rt.SetDatabasePath(m_dbPath);
        rt.SetLayoutTable(m_table);
        rt.SetSecondTable(rt.LayoutTable());
        rt.SetSourceGrid(&grid);
        rt.SetOffsetX(0);
        rt.SetOffsetY(0);
        rt.SetCopies(0);
        rt.SetLastTitleRow(0);
        for (int i = 0; i < rt.SourceGrid()->Cols(); ++i) {
            const int hundredths = int(std::nearbyint(rt.SourceGrid()->ColWidth(i) / 567.0 * 100));
            ASSERT_TRUE(rt.ColumnWidth(i, hundredths, 2));
        }
        rt.PageMargins(50, 50, 50, 50);
    }

    // The output kinds of the warehouse list's visible columns, then the
    // performing step.
    int output(report::RTPrn &rt)
    {
        rt.OutputStep(-1, "", 0, rt.SourceGrid()->Cols() - 1);
        const int kinds[][2] = {{10, 60}, {10, 60}, {3, 30}, {8, 10}, {7, 30}};
        for (int k = 0; k < 5; ++k)
            rt.OutputStep(k, "", kinds[k][0], kinds[k][1]);
        return rt.OutputStep(-2, "", 0, 0);
    }

    QTemporaryDir m_dir;
    QString m_dbPath;
    QString m_table = "TempPrint_137153012";
};

} // namespace reporttest
