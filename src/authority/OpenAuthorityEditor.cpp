#include "OpenAuthorityEditor.h"

#include "FrmAuthority.h"

void openAuthorityEditor(const AuthorityContext &context, QWidget *parent)
{
    FrmAuthority editor(context, parent);
    editor.ShowEditor();
}
