#include "Catalogue.h"

#include <QHash>

namespace depotbase {

namespace {

struct Entry {
    int id;
    const char *text;
};

// The numbered strings the component loads. Ids the component never loads are
// left out.
constexpr Entry entries[] = {
    {text::ConfirmDelete, "确实要删除"},
    {text::QuestionEnd, "吗"},
    {text::NothingSelected, "没有选定"},
    {text::PleaseChoose, "请选择"},
    {text::Delete, "删除"},
    {text::Query, "查询"},
    {text::Filter, "过滤"},
    {text::Print, "打印"},
    {text::Help, "帮助"},
    {text::Exit, "退出"},
    {text::MessageCaption, "提示信息"},
    {text::MustNotBeEmpty, "不能为空，请输入！"},
    {text::TableHeldExclusively, "别的用户以独占方式打开数据库，不能打开表！"},
    {text::Yes, "是"},
    {text::No, "否"},
    {text::Warehouse, "仓库"},
    {text::WarehouseCode, "仓库编码"},
    {text::WarehouseName, "仓库名称"},
    {text::Department, "所属部门"},
    {text::WarehouseAddress, "仓库地址"},
    {text::Phone, "电话"},
    {text::Manager, "负责人"},
    {text::ValuationStyle, "计价方式"},
    {text::PositionManaged, "是否货位管理"},
    {text::Quota, "资金定额"},
    {text::Remark, "备注"},
    {text::WarehouseList, "仓库档案"},
    {text::Add, "增加"},
    {text::Save, "保存"},
    {text::PlannedPrice, "计划价法"},
    {text::MonthlyAverage, "全月平均法"},
    {text::MovingAverage, "移动平均法"},
    {text::FirstInFirstOut, "先进先出法"},
    {text::LastInFirstOut, "后进先出法"},
    {text::SpecificIdentification, "个别计价法"},
    {text::SellingPrice, "售价法"},
    {text::BatchPrice, "批次计价法"},
    {text::WarehouseCard, "仓库档案卡片"},
    {text::Modify, "修改"},
    {text::DepartmentReference, "部门参照"},
    {text::DepartmentCode, "部门编号"},
    {text::DepartmentName, "部门名称"},
    {text::LockedByOther, "该记录已被他人锁定使用，不能修改！"},
    {text::ValueTooLong, "字段太长，不能保存！"},
    {text::ThisOne, "该"},
    {text::AlreadyExists, "已经存在，不能增加或修改！"},
    {text::UsedElsewhere, "已经在其它数据表中使用，不能修改或删除！"},
    {text::DeletedByOther, "已经被他人删除，不能保存！"},
    {text::Refresh, "刷新"},
    {text::FilterConditions, "过滤条件"},
    {text::FindConditions, "查找条件"},
    {text::PossibleValues, "可能取值"},
    {text::NoMatchingRecord, "没有符合条件的记录"},
    {text::ByDepartment, "按部门核算"},
    {text::Industry, "工业"},
    {text::ConfirmDeleteSelection, "确实要删除选中的一组记录吗"},
    {text::InvalidDepartment, "非法的所属部门！"},
    {text::UnexpectedError, "意外错误，请稍后再试一次！"},
    {text::NoDefaultPrinter, "没有默认打印机，请安装打印机后再试一次！"},
    {text::Preview, "预览"},
    {text::Output, "输出"},
    {text::Setup, "设置"},
    {text::PrintSetup, "打印设置"},
    {text::Rights, "权限"},
    {text::WarehouseRights, "仓库权限设置"},
    {text::EditRights, "编辑"},
    {text::Locate, "定位"},
    {text::LocateConditions, "定位条件"},
    {text::HistoryCaption, "修改记录"},
};

const QHash<int, QString> &catalogue()
{
    static const QHash<int, QString> table = [] {
        QHash<int, QString> t;
        for (const Entry &e : entries)
            t.insert(e.id, QString::fromUtf8(e.text));
        return t;
    }();
    return table;
}

} // namespace

QString LoadResString(int id)
{
    return catalogue().value(id);
}

} // namespace depotbase
