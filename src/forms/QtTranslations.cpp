#include "forms/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QString>
#include <QTranslator>

namespace depotbase {

namespace {

// A text every Chinese translation of Qt's page set-up dialog changes.
bool qtSpeaksChinese()
{
    const QString paper = QCoreApplication::translate("QPageSetupWidget", "Paper");
    return paper != QLatin1String("Paper");
}

} // namespace

bool installQtChineseTranslation()
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app)
        return false;
    if (qtSpeaksChinese())
        return true;
    // Owned by the application, so it lives as long as the texts it serves.
    auto *translator = new QTranslator(app);
    if (!translator->load(QStringLiteral("qtbase_zh_CN"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))
        || !QCoreApplication::installTranslator(translator)) {
        qWarning("depotbase: Qt's Chinese translation (qtbase_zh_CN.qm) is not installed");
        delete translator;
        return false;
    }
    return qtSpeaksChinese();
}

} // namespace depotbase
