#include "InventoryReference.h"

#include "data/DataHelpers.h"
#include "services/RightsQueries.h"
#include "suite/controls/RefDialog.h"

InventoryReference::InventoryReference(QWidget *parent)
    : m_dialog(std::make_unique<RefDialog>(parent))
{
}

InventoryReference::~InventoryReference() = default;

std::optional<std::array<QString, 3>> InventoryReference::pick(dbkit::DbLogin &login)
{
    m_dialog->setRefData(services::RightsQueries(login).inventoryReference());
    m_dialog->setRefColumnTitle(0, QStringLiteral("存货编码"));
    m_dialog->setRefColumnTitle(1, QStringLiteral("存货名称"));
    m_dialog->setRefColumnTitle(2, QStringLiteral("规格型号"));
    m_dialog->setRefOption1(0);
    m_dialog->RefPrepare();
    m_dialog->setRefColumnWidth(0, 1500);
    m_dialog->setRefColumnWidth(1, 4500);
    m_dialog->RefShow();
    if (!m_dialog->RefChosen())
        return std::nullopt;
    const dbkit::DbDataSetPtr data = m_dialog->RefData();
    return std::array<QString, 3>{depotbase::NullToEmpty(data->Fields(0)),
                                  depotbase::NullToEmpty(data->Fields(1)),
                                  depotbase::NullToEmpty(data->Fields(2))};
}
