#include "ModuleState.h"

#include <QDir>
#include <QStandardPaths>

namespace depotbase {

bool blnBasicVersion = false;

namespace {
QString &configuredFolder()
{
    static QString folder;
    return folder;
}
} // namespace

QString SystemFolder()
{
    QString folder = configuredFolder();
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(folder);
    return folder;
}

void setSystemFolder(const QString &folder)
{
    configuredFolder() = folder;
}

} // namespace depotbase
