#include "LXWareHouse.h"

#include "authority/OpenAuthorityEditor.h"
#include "data/Catalogue.h"
#include "data/DataHelpers.h"
#include "forms/ListDataSet.h"
#include "forms/QtTranslations.h"
#include "data/ModuleState.h"
#include "forms/FormSlot.h"
#include "suite/modal/ModalSeam.h"
#include "services/WarehouseListRead.h"
#include "services/WarehouseQueries.h"
#include "warehouse/WarehouseList.h"

#include <QApplication>

using namespace depotbase;

struct LXWareHouse::Windows {
    FormSlot<frmWHBrowse> list;

    // The list, created on first use.
    frmWHBrowse &listWindow()
    {
        if (frmWHBrowse *existing = list.current())
            return *existing;
        frmWHBrowse &created = list.get();
        // A window must go while Qt is still there, also when the host lets
        // the component go after the application.
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, &created,
                         [this] { list.unload(); });
        return created;
    }
};

LXWareHouse::LXWareHouse() : m_windows(std::make_unique<Windows>()) {}
LXWareHouse::~LXWareHouse() = default;

bool LXWareHouse::Init(dbkit::DbLoginPtr dbase, bool blnread)
{
    mdbObject = std::move(dbase);
    blnReadOnly = blnread;
    // Qt's own dialogs of the windows (page set-up, files, preview) in Chinese.
    installQtChineseTranslation();
    frmWHBrowse &list = m_windows->listWindow();
    list.dbs = mdbObject;
    const QString tableName = LoadResString(text::Warehouse);
    // The earlier list goes first, so two lists never fill memory at once.
    list.mRecObject.reset();
    // Other seats' changes are followed from before the rows are read, so
    // the list misses none of them.
    list.followChanges();
    // The window appears with the first screen; the rest is read meanwhile on
    // a login of its own.
    const QString statement = services::WarehouseQueries::listStatement();
    list.mRecObject =
        mdbObject ? OpenListDataSet(*mdbObject,
                                    services::warehouse_list::firstScreenStatement(*mdbObject,
                                                                                   statement),
                                    blnReadOnly, tableName)
                  : nullptr;
    if (!list.mRecObject)
        return false;
    list.followFullRead(services::warehouse_list::readRest(*mdbObject, *list.mRecObject, statement));
    return true;
}

void LXWareHouse::Show()
{
    installQtChineseTranslation();
    frmWHBrowse *list = m_windows->list.current();
    if (list)
        list->dbs = mdbObject;
    // Without an open data set the list would show no data: say so instead.
    if (!list || !list->dbs || !list->mRecObject) {
        modal::message(
            nullptr, QStringLiteral("仓库档案未能打开：请先用有效的账套登录初始化后再显示。"),
            modal::Icon::Critical, modal::Buttons::Ok, LoadResString(text::MessageCaption));
        return;
    }
    list->ShowList();
}

void LXWareHouse::ShowAuthorityEditor()
{
    if (!mdbObject) {
        modal::message(
            nullptr, QStringLiteral("仓库权限未能打开：请先用有效的账套登录初始化后再显示。"),
            modal::Icon::Critical, modal::Buttons::Ok, LoadResString(text::WarehouseRights));
        return;
    }
    installQtChineseTranslation();
    openAuthorityEditor({mdbObject, blnReadOnly}, nullptr);
}

QVariant LXWareHouse::SetBasicVersion(bool basic)
{
    blnBasicVersion = basic;
    return QVariant();
}

void LXWareHouse::setSystemFolder(const QString &folder)
{
    ::setSystemFolder(folder);
}
