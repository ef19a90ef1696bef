#include "OpenAuthorityEditor.h"

#include "FrmAuthority.h"
#include "forms/FormSlot.h"

void openAuthorityEditor(const AuthorityContext &context, QWidget *parent)
{
    // The editor keeps nothing between openings: a fresh one each time.
    depotbase::FormSlot<FrmAuthority> editor;
    editor.get(context, parent).ShowEditor();
}
