#include "WarehouseCardDepartments.h"

#include "data/Catalogue.h"
#include "suite/controls/RefDialog.h"

using namespace depotbase;

WarehouseCardDepartments::WarehouseCardDepartments() = default;

WarehouseCardDepartments::~WarehouseCardDepartments() = default;

void WarehouseCardDepartments::open(dbkit::DbLogin &login, QWidget *card)
{
    m_ref = std::make_unique<RefDialog>(card);
    rsDepartment = std::make_unique<services::DepartmentLookup>(login);
    m_shown = {};
    m_resolved.clear();
}

void WarehouseCardDepartments::close()
{
    rsDepartment.reset();
    m_ref.reset();
    m_shown = {};
    m_resolved.clear();
}

std::optional<CardDepartment> WarehouseCardDepartments::find(const QString &boxText)
{
    if (!rsDepartment)
        return std::nullopt;
    if (!m_shown.code.isEmpty() && boxText == m_shown.name) {
        m_resolved = m_shown.code;
        return m_shown;
    }
    const std::optional<CardDepartment> found = rsDepartment->find(boxText);
    if (!found)
        return std::nullopt;
    m_shown = *found;
    m_resolved = m_shown.code;
    return m_shown;
}

std::optional<CardDepartment> WarehouseCardDepartments::choose()
{
    if (!rsDepartment || !m_ref)
        return std::nullopt;
    RefDialog &ref = *m_ref;
    ref.setRefData(rsDepartment->rows());
    ref.setRefCaption(LoadResString(text::DepartmentReference));
    ref.setRefColumnTitle(0, LoadResString(text::DepartmentCode));
    ref.setRefColumnTitle(1, LoadResString(text::DepartmentName));
    ref.setRefColumnTitle(2, LoadResString(text::Manager));
    ref.setRefOption1(0);
    ref.setRefOption2(0);
    ref.setRefOption3(0);
    ref.setRefColumnWidth(0, 1500);
    ref.setRefColumnWidth(1, 2000);
    ref.RefPrepare();
    ref.RefShow();
    if (!ref.RefChosen())
        return std::nullopt;
    m_shown = rsDepartment->current();
    m_resolved = m_shown.code;
    return m_shown;
}

void WarehouseCardDepartments::remember(const QString &code, const QString &name)
{
    m_shown = {code, name};
    m_resolved.clear();
}
