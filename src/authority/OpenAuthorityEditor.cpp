#include "OpenAuthorityEditor.h"

#include "AuthorityEditor.h"
#include "forms/FormSlot.h"

void openAuthorityEditor(const AuthorityContext &context, QWidget *parent,
                         const std::optional<RightToShow> &start)
{
    // The editor keeps nothing between openings: a fresh one each time.
    depotbase::FormSlot<FrmAuthority> editor;
    FrmAuthority &window = editor.get(context, parent);
    if (start)
        window.startOn(*start);
    window.ShowEditor();
}
