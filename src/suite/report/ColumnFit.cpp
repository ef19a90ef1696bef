#include "suite/report/ColumnFit.h"

#include "suite/report/PageComposer.h"

#include <QFontMetricsF>

#include <algorithm>
#include <numeric>

namespace report {

namespace {

// Widest text of each column at `points`, in twips: the data cells in the
// body font and the titles in the bold one. Text widths grow with the font
// size, so they are measured once and scaled for the other sizes.
struct ColumnTexts {
    std::vector<qreal> body;      // widest data cell
    std::vector<qreal> title;     // widest title cell
    std::vector<bool> numeric;
};

ColumnTexts measure(const ReportView &view, qreal points)
{
    const QFontMetricsF body(PageComposer::reportFont(QString(), points));
    const QFontMetricsF bold(PageComposer::reportFont(QString(), points, true));
    ColumnTexts texts;
    for (size_t c = 0; c < view.columns.size(); ++c) {
        qreal widestBody = 0;
        qreal widestTitle = 0;
        for (int row = 0; row < view.rows(); ++row) {
            const QString text = view.text(row, int(c));
            if (row < view.titleRows)
                widestTitle = std::max(widestTitle, bold.horizontalAdvance(text));
            else
                widestBody = std::max(widestBody, body.horizontalAdvance(text));
        }
        texts.body.push_back(widestBody);
        texts.title.push_back(widestTitle);
        texts.numeric.push_back(view.columns[c].numeric);
    }
    return texts;
}

// Every column gets what it needs and a share of the spare room in the
// proportions of the scaled layout widths.
std::vector<qreal> share(const std::vector<qreal> &need, const std::vector<qreal> &base,
                         qreal printableWidth)
{
    const qreal spare = printableWidth - std::accumulate(need.begin(), need.end(), 0.0);
    const qreal baseTotal = std::accumulate(base.begin(), base.end(), 0.0);
    std::vector<qreal> widths;
    for (size_t c = 0; c < need.size(); ++c)
        widths.push_back(need[c] + (baseTotal > 0 ? spare * base[c] / baseTotal : 0));
    return widths;
}

} // namespace

ColumnFit fitColumns(const ReportView &view, qreal printableWidth, qreal maxPoints,
                     qreal minPoints, qreal padding)
{
    ColumnFit fit;
    fit.points = maxPoints;
    qreal layoutTotal = 0;
    for (const ReportColumn &column : view.columns)
        layoutTotal += column.widthTwips;
    const qreal scale = layoutTotal > 0 ? printableWidth / layoutTotal : 1.0;
    std::vector<qreal> base;
    for (const ReportColumn &column : view.columns)
        base.push_back(column.widthTwips * scale);
    fit.widths = base;
    if (view.columns.empty() || printableWidth <= 0)
        return fit;

    const ColumnTexts texts = measure(view, maxPoints);
    // Needed widths at a size; text cells on `lines` lines (a full-width
    // character more than the half, as lines break between characters).
    auto needAt = [&](qreal points, int lines) {
        const qreal ratio = points / maxPoints;
        const qreal em = points * 20;
        std::vector<qreal> need;
        for (size_t c = 0; c < base.size(); ++c) {
            qreal body = texts.body[c] * ratio;
            qreal title = texts.title[c] * ratio;
            if (lines > 1) {
                title = std::min(title, title / lines + em);
                if (!texts.numeric[c])
                    body = std::min(body, body / lines + em);
            }
            need.push_back(std::max(body, title) + 2 * padding);
        }
        return need;
    };
    auto fitsIn = [&](const std::vector<qreal> &need, const std::vector<qreal> &widths) {
        for (size_t c = 0; c < need.size(); ++c)
            if (need[c] > widths[c] + 0.5)
                return false;
        return true;
    };
    auto total = [](const std::vector<qreal> &v) {
        return std::accumulate(v.begin(), v.end(), 0.0);
    };

    if (fitsIn(needAt(maxPoints, 1), base))
        return fit;
    for (qreal points = maxPoints; points >= minPoints - 0.01; points -= 0.5) {
        const std::vector<qreal> need = needAt(points, 1);
        if (total(need) <= printableWidth) {
            fit.points = points;
            fit.widths = share(need, base, printableWidth);
            return fit;
        }
    }
    fit.points = minPoints;
    fit.lines = 2;
    const std::vector<qreal> need = needAt(minPoints, 2);
    if (total(need) <= printableWidth) {
        fit.widths = share(need, base, printableWidth);
        return fit;
    }
    // Not even two lines are enough: the numbers keep their room where the
    // page allows it and the text columns share the rest in proportion.
    qreal numberRoom = 0;
    qreal textBase = 0;
    for (size_t c = 0; c < base.size(); ++c) {
        if (texts.numeric[c])
            numberRoom += need[c];
        else
            textBase += base[c];
    }
    if (numberRoom >= printableWidth || textBase <= 0)
        return fit;
    for (size_t c = 0; c < base.size(); ++c)
        fit.widths[c] = texts.numeric[c] ? need[c]
                                         : base[c] * (printableWidth - numberRoom) / textBase;
    return fit;
}

} // namespace report
