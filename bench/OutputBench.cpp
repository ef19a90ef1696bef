#include "OutputBench.h"

#include "BenchClock.h"
#include "suite/controls/SuperGrid.h"
#include "suite/report/ReportOutput.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>

namespace bench {

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
void measureFile(const char *name, const QString &path, Write write)
{
    resetPeak();
    const long before = peakKb();
    QString error;
    bool written = false;
    const double ms = bestOf(1, [&] { written = write(path, &error); });
    if (!written) {
        std::printf("output to %s failed: %s\n", name, qPrintable(error));
        return;
    }
    std::printf("output 100000 x 10 to %s: %.0f ms, peak RSS %ld kB (was %ld kB), file %lld kB\n",
                name, ms, peakKb(), before, QFileInfo(path).size() / 1024);
    std::fflush(stdout);
}

void sortAll(SuperGrid &grid, int col)
{
    grid.setRow(1);
    grid.setRowSel(grid.Rows() - 1);
    grid.setCol(col);
    grid.setSort(1);
}

} // namespace

void measureOutput()
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
    measureFile("csv", dir.filePath("bench.csv"), [&](const QString &path, QString *error) {
        return report::writeCsv(path, view, error);
    });
    measureFile("xlsx", dir.filePath("bench.xlsx"), [&](const QString &path, QString *error) {
        return report::writeXlsx(path, view, "bench", error);
    });
}

void measureGridFillAndSort()
{
    constexpr int rows = 100000;
    constexpr int cols = 10;
    SuperGrid grid;
    grid.resize(800, 600);
    grid.setCols(cols);
    grid.setColKind(8, SuperGrid::KindNumeric);
    grid.show();

    const double fillMs = bestOf(1, [&] {
        grid.setRedraw(false);
        for (int r = 1; r <= rows; ++r) {
            grid.setRows(grid.Rows() + 1);
            const int key = (r * 7919) % rows;
            grid.setTextMatrix(r, 0, QString::number(key));
            grid.setTextMatrix(r, 1, QStringLiteral("仓库%1").arg(rows - r));
            for (int c = 2; c < 8; ++c)
                grid.setTextMatrix(r, c, QStringLiteral("text %1-%2").arg(r).arg(c));
            grid.setTextMatrix(r, 8, r % 10 == 0 ? QString() : QString::number(key % 977));
            grid.setTextMatrix(r, 9, QString());
        }
        grid.setRedraw(true);
    });
    const double codesMs = bestOf(1, [&] { sortAll(grid, 0); });
    const double namesMs = bestOf(1, [&] { sortAll(grid, 1); });
    const double numbersMs = bestOf(1, [&] { sortAll(grid, 8); });
    std::printf("grid fill 100000 x 10: %.0f ms; sort codes: %.0f ms; sort names: %.0f ms; "
                "sort numeric: %.0f ms\n", fillMs, codesMs, namesMs, numbersMs);
    std::fflush(stdout);
}

} // namespace bench
