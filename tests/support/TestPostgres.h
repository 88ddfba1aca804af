#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <QUrl>

#include <pwd.h>
#include <unistd.h>

namespace mldd::test {

/**
 * A PostgreSQL server of the test's own: a cluster in a temporary folder,
 * reached only through a Unix socket in that folder, stopped and removed when
 * the object goes. The superuser "mldd" logs in with the password "secret".
 * As root the server runs as the "postgres" user, which refuses root.
 */
class TestPostgres {
public:
    static constexpr const char* kUser = "mldd";
    static constexpr const char* kPassword = "secret";

    TestPostgres() {
        if (!m_dir.isValid())
            return;
        m_dir.setAutoRemove(true);
        QFile(m_dir.path()).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QFile password(m_dir.filePath(QStringLiteral("password")));
        password.open(QIODevice::WriteOnly);
        password.write(kPassword);
        password.close();
        m_started = handOver(m_dir.path()) && handOver(password.fileName()) &&
                    run(QStringLiteral("initdb"),
                        {QStringLiteral("-D"), dataPath(), QStringLiteral("-U"),
                         QLatin1String(kUser), QStringLiteral("--pwfile=") + password.fileName(),
                         QStringLiteral("--auth=scram-sha-256"), QStringLiteral("-E"),
                         QStringLiteral("UTF8"), QStringLiteral("--locale=C.UTF-8"),
                         QStringLiteral("-N")}) &&
                    start();
    }

    ~TestPostgres() { stop(); }

    TestPostgres(const TestPostgres&) = delete;
    TestPostgres& operator=(const TestPostgres&) = delete;

    bool isRunning() const { return m_started; }
    QString socketFolder() const { return m_dir.path(); }

    /** Makes an empty database; true when the server made it. */
    bool createDatabase(const QString& name) {
        return run(QStringLiteral("createdb"), {QStringLiteral("-h"), socketFolder(),
                                                QStringLiteral("-U"), QLatin1String(kUser), name});
    }

    /** Runs SQL in a database through psql, as another program would. */
    bool psql(const QString& database, const QString& sql) {
        return run(QStringLiteral("psql"),
                   {QStringLiteral("-h"), socketFolder(), QStringLiteral("-U"),
                    QLatin1String(kUser), QStringLiteral("-v"), QStringLiteral("ON_ERROR_STOP=1"),
                    QStringLiteral("-q"), QStringLiteral("-c"), sql, database});
    }

    /** The address of a database, as --database takes it. */
    QString address(const QString& database, const QString& password = kPassword) const {
        return QStringLiteral("postgresql://%1:%2@%3/%4")
            .arg(QLatin1String(kUser), password,
                 QString::fromUtf8(QUrl::toPercentEncoding(socketFolder())), database);
    }

    bool start() {
        m_started = run(QStringLiteral("pg_ctl"),
                        {QStringLiteral("-D"), dataPath(), QStringLiteral("-o"),
                         QStringLiteral("-k %1 -c listen_addresses=''").arg(socketFolder()),
                         QStringLiteral("-l"), m_dir.filePath(QStringLiteral("server.log")),
                         QStringLiteral("-w"), QStringLiteral("start")});
        return m_started;
    }

    /** Stops the server at once, as a crash or a pulled cable would. */
    void stop() {
        if (!m_started)
            return;
        run(QStringLiteral("pg_ctl"),
            {QStringLiteral("-D"), dataPath(), QStringLiteral("-m"), QStringLiteral("immediate"),
             QStringLiteral("-w"), QStringLiteral("stop")});
        m_started = false;
    }

private:
    static QString binFolder() {
        const QStringList versions = QDir(QStringLiteral("/usr/lib/postgresql"))
                                         .entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
        return versions.isEmpty()
                   ? QString()
                   : QStringLiteral("/usr/lib/postgresql/%1/bin").arg(versions.last());
    }

    static bool asRoot() { return geteuid() == 0; }

    static bool handOver(const QString& path) {
        if (!asRoot())
            return true;
        const passwd* user = getpwnam("postgres");
        return user && chown(QFile::encodeName(path).constData(), user->pw_uid, user->pw_gid) == 0;
    }

    QString dataPath() const { return m_dir.filePath(QStringLiteral("cluster")); }

    bool run(const QString& tool, const QStringList& args) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("PGPASSWORD"), QLatin1String(kPassword));
        process.setProcessEnvironment(environment);
        // The server's user may not enter the test's own working folder.
        process.setWorkingDirectory(m_dir.path());
        const QString program = binFolder() + u'/' + tool;
        if (asRoot())
            process.start(QStringLiteral("runuser"),
                          QStringList{QStringLiteral("-u"), QStringLiteral("postgres"),
                                      QStringLiteral("--"), program} +
                              args);
        else
            process.start(program, args);
        return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit &&
               process.exitCode() == 0;
    }

    QTemporaryDir m_dir;
    bool m_started = false;
};

} // namespace mldd::test
