#include "print/PrintWorkDb.h"

#include "data/UserErrors.h"
#include "suite/dbkit/DbError.h"
#include "suite/modal/ModalSeam.h"

#include <QDir>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

using namespace depotbase;

namespace {

QString newConnectionName(const char *purpose)
{
    return QString::fromLatin1(purpose) + QUuid::createUuid().toString(QUuid::WithoutBraces);
}

[[noreturn]] void fail(int number, const QString &description, const QString &sql = QString())
{
    throw dbkit::DbError(number, description, QString(), sql);
}

[[noreturn]] void failSql(const QSqlError &error, const QString &sql = QString())
{
    fail(dbkit::ErrorNumber::General, error.text(), sql);
}

// The file and what SQLite leaves beside it. A journal left by a crashed
// session must go with the file, or SQLite would replay it into the new one.
void removeExisting(const QString &path)
{
    for (const char *suffix : {"", "-journal", "-wal", "-shm"}) {
        QFile file(path + QLatin1String(suffix));
        if (file.exists() && !file.remove())
            fail(dbkit::ErrorNumber::General,
                 QStringLiteral("无法删除文件 %1: %2").arg(file.fileName(), file.errorString()));
    }
}

// Creates an empty print-work file and closes it again at once.
void createDatabase(const QString &path, const QString &locale)
{
    const QString connection = newConnectionName("print-work-create-");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(path);
        QString error;
        if (!db.open()) {
            error = db.lastError().text();
        } else {
            QSqlQuery query(db);
            if (!query.exec(QStringLiteral("CREATE TABLE PrintWorkInfo (cLocale varchar(255))"))
                || !query.prepare(QStringLiteral("INSERT INTO PrintWorkInfo VALUES (?)"))) {
                error = query.lastError().text();
            } else {
                query.addBindValue(locale);
                if (!query.exec())
                    error = query.lastError().text();
            }
            db.close();
        }
        if (!error.isEmpty()) {
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(connection);
            fail(dbkit::ErrorNumber::General,
                 QStringLiteral("无法建立文件 %1: %2").arg(path, error));
        }
    }
    QSqlDatabase::removeDatabase(connection);
}

} // namespace

PrintWorkDb::PrintWorkDb(QString path) : m_path(std::move(path)) {}

PrintWorkDb::~PrintWorkDb()
{
    close();
}

void PrintWorkDb::takeFile()
{
    const QByteArray lockPath = QFile::encodeName(m_path + QStringLiteral(".lock"));
    const int fd = ::open(lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        fail(dbkit::ErrorNumber::General, QStringLiteral("无法打开文件 %1: %2")
                                              .arg(QFile::decodeName(lockPath),
                                                   QString::fromLocal8Bit(std::strerror(errno))));
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int why = errno;
        ::close(fd);
        if (why == EWOULDBLOCK)
            fail(PathFileAccessError,
                 QStringLiteral("文件 %1 正由其他窗口或程序使用").arg(m_path));
        fail(dbkit::ErrorNumber::General,
             QStringLiteral("无法锁定文件 %1: %2")
                 .arg(m_path, QString::fromLocal8Bit(std::strerror(why))));
    }
    m_lockFd = fd;
}

void PrintWorkDb::open()
{
    m_connection = newConnectionName("print-work-");
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    db.setDatabaseName(m_path);
    // Another process may be writing a layout table into a shared file.
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=2000"));
    if (!db.open()) {
        const QSqlError error = db.lastError();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_connection);
        m_connection.clear();
        failSql(error);
    }
    // A scratch file, made anew at every load: no need to wait for the disk.
    QSqlQuery(db).exec(QStringLiteral("PRAGMA synchronous = OFF"));
}

bool PrintWorkDb::isOpen() const
{
    return !m_connection.isEmpty() && database().isOpen();
}

QSqlDatabase PrintWorkDb::database() const
{
    return m_connection.isEmpty() ? QSqlDatabase()
                                  : QSqlDatabase::database(m_connection, false);
}

void PrintWorkDb::execute(const QString &sql)
{
    if (!isOpen())
        fail(dbkit::ErrorNumber::General, QStringLiteral("print-work database is closed"), sql);
    QSqlQuery query(database());
    if (!query.exec(sql))
        failSql(query.lastError(), sql);
}

void PrintWorkDb::execute(const QString &sql, const QVariantList &values)
{
    if (!isOpen())
        fail(dbkit::ErrorNumber::General, QStringLiteral("print-work database is closed"), sql);
    QSqlQuery query(database());
    if (!query.prepare(sql))
        failSql(query.lastError(), sql);
    for (const QVariant &value : values)
        query.addBindValue(value);
    if (!query.exec())
        failSql(query.lastError(), sql);
}

bool PrintWorkDb::hasTable(const QString &name) const
{
    if (!isOpen())
        return false;
    QSqlQuery query(database());
    query.prepare(QStringLiteral(
        "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE"));
    query.addBindValue(name);
    return query.exec() && query.next();
}

void PrintWorkDb::close()
{
    if (!m_connection.isEmpty()) {
        {
            QSqlDatabase db = QSqlDatabase::database(m_connection, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(m_connection);
        m_connection.clear();
    }
    if (m_lockFd >= 0) {
        ::close(m_lockFd);  // releases the lock
        m_lockFd = -1;
    }
}

namespace depotbase {

PrintWorkDbPtr OpenPrintWorkDb(const QString &folder, const QString &fileName, QWidget *parent)
{
    PrintWorkDbPtr db(new PrintWorkDb(QDir(folder).filePath(fileName)));
    try {
        try {
            db->takeFile();
            removeExisting(db->filePath());
            createDatabase(db->filePath(), QString::fromLatin1(PrintWorkLocale));
            db->open();
        } catch (const dbkit::DbError &e) {
            if (e.number() != PathFileAccessError)
                throw;
            // Held by another window: use the file as it is, tables and all.
            db->open();
        }
        return db;
    } catch (const dbkit::DbError &e) {
        modal::message(parent,
                       depotbase::UserErrorText(
                           QStringLiteral("打印用的工作文件未能打开，请检查其文件夹是否存在且可写。"), e),
                       modal::Icon::Critical, modal::Buttons::Ok,
                       QStringLiteral("提示"));
        return nullptr;
    }
}

} // namespace depotbase
