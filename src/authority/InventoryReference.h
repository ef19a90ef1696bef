#pragma once

#include <QString>
#include <array>
#include <memory>
#include <optional>

class QWidget;
class RefDialog;
namespace dbkit {
class DbLogin;
}

// The authority editor's inventory reference (Ctrl+R in the item cell): every
// item but the service items, searched by code or name.
class InventoryReference {
public:
    explicit InventoryReference(QWidget *parent);
    ~InventoryReference();

    // Code, name and model (规格型号) of the item the user picked; nothing
    // when the user cancelled.
    std::optional<std::array<QString, 3>> pick(dbkit::DbLogin &login);

private:
    std::unique_ptr<RefDialog> m_dialog;
};
