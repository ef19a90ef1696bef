#include "forms/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QString>
#include <QTranslator>

#include <cstring>

namespace depotbase {

namespace {

// The file type names of Qt's file dialog ("Folder"...). Qt 6 asks for them
// in the context QAbstractFileIconProvider, which Qt's Chinese translation
// does not have (it translates them under QFileDialog only), so the type
// column of the dialog stayed English. These are its words.
class FileTypeTranslator : public QTranslator {
public:
    using QTranslator::QTranslator;

    bool isEmpty() const override { return false; }

    QString translate(const char *context, const char *sourceText, const char *disambiguation,
                      int n) const override
    {
        Q_UNUSED(disambiguation);
        Q_UNUSED(n);
        if (!context || !sourceText || std::strcmp(context, "QAbstractFileIconProvider") != 0)
            return QString();
        static const struct {
            const char *english;
            const char16_t *chinese;
        } names[] = {{"Folder", u"文件夹"}, {"File Folder", u"文件夹"}, {"Drive", u"驱动器"},
                     {"File", u"文件"}, {"%1 File", u"%1 文件"}, {"Unknown", u"未知"},
                     {"Shortcut", u"快捷方式"}, {"Alias", u"别名"}};
        for (const auto &name : names) {
            if (std::strcmp(sourceText, name.english) == 0)
                return QString::fromUtf16(name.chinese);
        }
        return QString();
    }
};

// A text every Chinese translation of Qt's page set-up dialog changes.
bool qtSpeaksChinese()
{
    const QString paper = QCoreApplication::translate("QPageSetupWidget", "Paper");
    return paper != QLatin1String("Paper");
}

// The type Qt's file dialog gives a folder.
bool folderIsChinese()
{
    const QString folder = QCoreApplication::translate("QAbstractFileIconProvider", "Folder");
    return folder != QLatin1String("Folder");
}

// Adds the file type names when the Chinese translation in use lacks them.
void completeFileTypes(QCoreApplication *app)
{
    if (!folderIsChinese())
        QCoreApplication::installTranslator(new FileTypeTranslator(app));
}

} // namespace

bool installQtChineseTranslation()
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app)
        return false;
    if (qtSpeaksChinese()) {
        completeFileTypes(app);
        return true;
    }
    // Owned by the application, so it lives as long as the texts it serves.
    auto *translator = new QTranslator(app);
    if (!translator->load(QStringLiteral("qtbase_zh_CN"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))
        || !QCoreApplication::installTranslator(translator)) {
        qWarning("depotbase: Qt's Chinese translation (qtbase_zh_CN.qm) is not installed");
        delete translator;
        return false;
    }
    completeFileTypes(app);
    return qtSpeaksChinese();
}

} // namespace depotbase
