// Stands in for the authority editor until it is part of the build: an empty
// window under the editor's name and caption, shown modally.
#include "OpenAuthorityEditor.h"

#include "suite/modal/ModalSeam.h"

#include <QDialog>

using namespace depotbase;

void openAuthorityEditor(const AuthorityContext &, QWidget *parent)
{
    QDialog editor(parent);
    editor.setObjectName(QStringLiteral("FrmAuthority"));
    editor.setWindowTitle(QStringLiteral("权限配置窗口"));
    modal::showModal(&editor);
}
