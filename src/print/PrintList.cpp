#include "print/PrintList.h"

#include "data/Catalogue.h"
#include "print/GridReportSource.h"
#include "print/LayoutTable.h"
#include "print/PrintWorkDb.h"
#include "suite/dbkit/DbError.h"
#include "suite/modal/ModalSeam.h"

#include <QWidget>

#include <exception>

namespace depotbase {

namespace {

QString printList(PrintWorkDb *printDb, SuperGrid &grid, const QString &title, short mode,
                  const LayoutPlace &place, const ReportHost &host)
{
    int outputResult = 0;
    try {
        QString table = CreateLayoutTable(printDb);
        if (table.isEmpty()) {
            modal::message(host.owner, LoadResString(text::UnexpectedError), modal::Icon::Critical,
                           modal::Buttons::Ok, LoadResString(text::MessageCaption));
            return QString();
        }
        WriteLayoutRows(*printDb, table, title, place);
        GridReportSource source(grid);
        RunReport(*printDb, table, source, mode, host, &outputResult);
        return table;
    } catch (const dbkit::DbError &e) {
        qWarning("depotbase: print command failed: %s", qPrintable(e.description()));
    } catch (const std::exception &e) {
        qWarning("depotbase: print command failed: %s", e.what());
    }
    // The command ends here; an output that had already failed says so.
    if (outputResult != 0)
        modal::message(host.owner, QStringLiteral("ERROR : ") + QString::number(outputResult),
                       modal::Icon::None, modal::Buttons::Ok, QString());
    return QString();
}

} // namespace

bool refuseEmptyList(short mode, int gridRows, QWidget *parent)
{
    if (gridRows >= 2 || mode == PrintMode::PageSetup)
        return false;
    QString text;
    switch (mode) {
    case PrintMode::Preview: text = QStringLiteral("没有可供预览的记录！"); break;
    case PrintMode::Print: text = QStringLiteral("没有可供打印的记录！"); break;
    case PrintMode::Output: text = QStringLiteral("没有可供输出的记录！"); break;
    default: return false;
    }
    modal::message(parent, text, modal::Icon::Information, modal::Buttons::Ok,
                   QStringLiteral("提示信息"));
    return true;
}

QString PrintWarehouseList(PrintWorkDb *printDb, SuperGrid &grid, const QString &title,
                           short mode, const QWidget &window, const QWidget &lblTitle1,
                           const QWidget &lblTitle2, const ReportHost &host)
{
    const LayoutPlace place{&window, lblTitle1.x() * TwipsPerPixel,
                            lblTitle2.x() * TwipsPerPixel};
    return printList(printDb, grid, title, mode, place, host);
}

QString PrintAuthorityList(PrintWorkDb *printDb, SuperGrid &grid, const QString &title,
                           short mode, const QWidget &window, const ReportHost &host)
{
    return printList(printDb, grid, title, mode, LayoutPlace{&window, 2200, 2000}, host);
}

} // namespace depotbase
