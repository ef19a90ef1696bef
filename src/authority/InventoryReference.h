#pragma once

#include <memory>
#include <optional>

class QWidget;
class RefDialog;
namespace services {
class RightsQueries;
struct ItemNames;
}

// The authority editor's inventory reference (Ctrl+R in the item cell): every
// item but the service items, searched by code or name.
class InventoryReference {
public:
    explicit InventoryReference(QWidget *parent);
    ~InventoryReference();

    // The item the user picked; nothing when the user cancelled.
    std::optional<services::ItemNames> pick(services::RightsQueries &queries);

private:
    std::unique_ptr<RefDialog> m_dialog;
};
