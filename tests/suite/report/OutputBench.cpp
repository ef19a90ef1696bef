// Figures for writing a large list to a file; run by hand:
//   test_report --gtest_also_run_disabled_tests --gtest_filter='*Bench*'
#include "suite/report/ReportOutput.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdio>

namespace {

// 100,000 rows of ten columns made on demand, so the figures show the
// writer's memory rather than the grid's.
class GeneratedSource : public report::ReportSource {
public:
    int Rows() const override { return 100001; }
    int Cols() const override { return 10; }
    int ColWidth(int) const override { return 1200; }
    QString TextMatrix(int row, int col) const override
    {
        if (row == 0)
            return QStringLiteral("列%1").arg(col);
        switch (col) {
        case 0: return QStringLiteral("%1").arg(row, 6, 10, QLatin1Char('0'));
        case 1: return QStringLiteral("第%1号仓库").arg(row);
        case 2: return QStringLiteral("北京市海淀区, 第%1号").arg(row % 977);
        case 3: return QString::number(row % 1000);
        case 4: return QStringLiteral("%1.25").arg(row);
        case 5: return QStringLiteral("2024-%1-%2").arg(1 + row % 12).arg(1 + row % 28);
        default: return QStringLiteral("备注%1").arg(row * col);
        }
    }
};

// Peak resident memory since the last reset, kB.
long peakKb()
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

void resetPeak()
{
    QFile refs("/proc/self/clear_refs");
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
}

template <typename Write>
void measure(const char *name, const QString &path, Write write)
{
    resetPeak();
    const long before = peakKb();
    QElapsedTimer timer;
    timer.start();
    QString error;
    ASSERT_TRUE(write(path, &error)) << error.toStdString();
    std::printf("output 100000 x 10 to %s: %lld ms, peak RSS %ld kB (was %ld kB), file %lld kB\n",
                name, timer.elapsed(), peakKb(), before, QFileInfo(path).size() / 1024);
}

} // namespace

TEST(OutputBench, DISABLED_HundredThousandRows)
{
    QTemporaryDir dir;
    GeneratedSource source;
    report::ReportView view;
    view.source = &source;
    const report::ColumnKind kinds[] = {report::ColumnKind::Text, report::ColumnKind::Text,
        report::ColumnKind::Text, report::ColumnKind::Integer, report::ColumnKind::Currency,
        report::ColumnKind::Date};
    for (int c = 0; c < 10; ++c)
        view.columns.push_back({c, 1200, c < 6 ? kinds[c] : report::ColumnKind::Text});
    measure("csv", dir.filePath("bench.csv"), [&](const QString &path, QString *error) {
        return report::writeCsv(path, view, error);
    });
    measure("xlsx", dir.filePath("bench.xlsx"), [&](const QString &path, QString *error) {
        return report::writeXlsx(path, view, "bench", error);
    });
}
