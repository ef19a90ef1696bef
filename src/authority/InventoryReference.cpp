#include "InventoryReference.h"

#include "services/RightsQueries.h"
#include "suite/controls/RefDialog.h"

InventoryReference::InventoryReference(QWidget *parent)
    : m_dialog(std::make_unique<RefDialog>(parent))
{
}

InventoryReference::~InventoryReference() = default;

std::optional<services::ItemNames> InventoryReference::pick(services::RightsQueries &queries)
{
    m_dialog->setRefData(queries.inventoryReference());
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
    // The reference's rows stand on the chosen item.
    return services::RightsQueries::referenceItem(*m_dialog->RefData());
}
