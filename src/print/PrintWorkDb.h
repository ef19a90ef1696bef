#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QVariantList>
#include <memory>

class QWidget;
class PrintWorkDb;

namespace depotbase {
std::unique_ptr<PrintWorkDb> OpenPrintWorkDb(const QString &folder, const QString &fileName,
                                             QWidget *parent);
}

// File names of the print-work databases: one per list window, so two
// windows never share a file.
inline constexpr char WarehouseListPrintFile[] = "LxInit9.mdb";
inline constexpr char AuthorityListPrintFile[] = "LxInit10.mdb";

// Locale text the file is created with. The file is SQLite, which has no
// such setting; it is kept in the file's info table for whoever reads it.
inline constexpr char PrintWorkLocale[] = ";LANGID=0x0409;CP=1252;COUNTRY=0";

// Error number of "path or file access error": the file is held by another
// window or process.
inline constexpr int PathFileAccessError = 75;

// A list window's print-work database: a local SQLite file holding the layout
// tables of its print commands, on a connection of its own (never the
// account's). While a window holds the file it keeps an advisory lock on a
// companion ".lock" file, so another window or process that loads in the
// meantime uses the file as it is instead of deleting it under the holder.
class PrintWorkDb {
public:
    ~PrintWorkDb();
    PrintWorkDb(const PrintWorkDb &) = delete;
    PrintWorkDb &operator=(const PrintWorkDb &) = delete;

    // Path of the open file; handed to the report-print control.
    QString filePath() const { return m_path; }
    // True when this window made the file anew and holds it.
    bool holdsFile() const { return m_lockFd >= 0; }
    bool isOpen() const;

    // Runs one statement; throws dbkit::DbError when the file refuses it.
    void execute(const QString &sql);
    // The same with the statement's "?" placeholders bound to `values`.
    void execute(const QString &sql, const QVariantList &values);
    bool hasTable(const QString &name) const;
    QSqlDatabase database() const;

    void close();

private:
    friend std::unique_ptr<PrintWorkDb> depotbase::OpenPrintWorkDb(const QString &, const QString &,
                                                        QWidget *);
    explicit PrintWorkDb(QString path);
    void takeFile();
    void open();

    QString m_path;
    QString m_connection;
    int m_lockFd = -1;
};

using PrintWorkDbPtr = std::unique_ptr<PrintWorkDb>;

namespace depotbase {

// Deletes the window's print-work file in `folder`, creates it anew and opens
// it. When another window or process holds the file, the existing file is
// opened as it is. Any other failure is shown (critical icon, caption "提示")
// and gives nullptr: the window then has no print-work database.
PrintWorkDbPtr OpenPrintWorkDb(const QString &folder, const QString &fileName,
                               QWidget *parent = nullptr);

} // namespace depotbase
