#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <cups/cups.h>

namespace mldd::test {

/**
 * A cupsd of the test's own: everything under a temporary folder, reached
 * through CUPS_SERVER. Its only backend, "copyjob", keeps each job's file and
 * title and options in the folder the queue's device names, so jobs can be read back; a
 * job whose title has a file "fail-<title>" there ends with the exit status
 * that file holds instead, as a printer that fails or cancels it would; a
 * file "pace" there makes each job take the seconds it holds, as a slow printer.
 */
class CupsDaemon {
public:
    CupsDaemon() {
        const QString root = m_dir.path();
        for (const char* folder :
             {"conf", "spool", "tmp", "cache", "state", "log", "bin/backend", "jobs"})
            QDir().mkpath(root + u'/' + QLatin1String(folder));
        // Its own ServerBin: the system's filters and helpers, and the copying backend.
        for (const char* part : {"filter", "daemon", "notifier", "monitor", "cgi-bin", "driver"})
            QFile::link(QStringLiteral("/usr/lib/cups/") + QLatin1String(part),
                        root + QStringLiteral("/bin/") + QLatin1String(part));
        writeFile(
            "bin/backend/copyjob",
            "#!/bin/sh\n"
            "[ $# -eq 0 ] && { echo 'direct copyjob \"Unknown\" \"Job copier\"'; exit 0; }\n"
            "dir=\"${DEVICE_URI#copyjob:}\"\n"
            "[ -f \"$dir/fail-$3\" ] && exit \"$(cat \"$dir/fail-$3\")\"\n"
            "[ -f \"$dir/pace\" ] && sleep \"$(cat \"$dir/pace\")\"\n"
            "if [ -n \"$6\" ]; then cp \"$6\" \"$dir/$1.part\"; else cat > \"$dir/$1.part\"; fi\n"
            "printf '%s' \"$3\" > \"$dir/$1.title\"\n"
            "printf '%s' \"$5\" > \"$dir/$1.options\"\n"
            "mv \"$dir/$1.part\" \"$dir/$1.pdf\"\n");
        // cupsd runs a backend as root only when nobody else may run it.
        QFile::setPermissions(root + QStringLiteral("/bin/backend/copyjob"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        writeFile("conf/cupsd.conf", QStringLiteral("Listen %1/cups.sock\n"
                                                    "LogLevel warn\n"
                                                    "Browsing No\n"
                                                    "WebInterface No\n"
                                                    "PreserveJobHistory Yes\n"
                                                    "MaxJobs 0\n"
                                                    "<Location />\nOrder allow,deny\nAllow all\n"
                                                    "</Location>\n"
                                                    "<Policy default>\nJobPrivateAccess all\n"
                                                    "JobPrivateValues none\n"
                                                    "SubscriptionPrivateAccess all\n"
                                                    "SubscriptionPrivateValues none\n<Limit All>\n"
                                                    "Order deny,allow\n</Limit>\n</Policy>\n")
                                         .arg(root)
                                         .toUtf8());
        writeFile("conf/cups-files.conf",
                  QStringLiteral("User lp\nGroup lp\nSystemGroup root\n"
                                 "ServerRoot %1/conf\nServerBin %1/bin\n"
                                 "DataDir /usr/share/cups\nRequestRoot %1/spool\n"
                                 "TempDir %1/tmp\nCacheDir %1/cache\nStateDir %1/state\n"
                                 "AccessLog %1/log/access_log\nErrorLog %1/log/error_log\n"
                                 "PageLog %1/log/page_log\nPrintcap %1/printcap\n")
                      .arg(root)
                      .toUtf8());
        qputenv("CUPS_SERVER", socket().toUtf8());
        cupsSetServer(nullptr); // libcups keeps the server it found first; a new test has a new one
        m_daemon.start(QStringLiteral("/usr/sbin/cupsd"),
                       {QStringLiteral("-f"), QStringLiteral("-c"), root + "/conf/cupsd.conf",
                        QStringLiteral("-s"), root + "/conf/cups-files.conf"});
        m_daemon.waitForStarted();
        for (int i = 0; i < 100 && !QFile::exists(socket()); ++i)
            QThread::msleep(20);
    }

    ~CupsDaemon() {
        m_daemon.terminate();
        if (!m_daemon.waitForFinished(5000))
            m_daemon.kill();
        m_daemon.waitForFinished(5000);
    }

    CupsDaemon(const CupsDaemon&) = delete;
    CupsDaemon& operator=(const CupsDaemon&) = delete;

    /** The daemon this test program started in main(). */
    static CupsDaemon& running() { return *s_running; }
    static void setRunning(CupsDaemon* daemon) { s_running = daemon; }

    QString socket() const { return m_dir.path() + QStringLiteral("/cups.sock"); }

    /** Runs a CUPS command-line tool against this daemon; its exit status. */
    static int tool(const QString& program, const QStringList& arguments,
                    QString* output = nullptr) {
        QProcess process;
        process.start(program, arguments);
        process.waitForFinished(30000);
        if (output)
            *output =
                QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    /**
     * A queue whose jobs are kept in their own folder; returns that folder
     * (empty: failed). With `ppd` the queue has that driver description, and
     * the driver's page sizes and options, as a printer with a driver.
     */
    QString addQueue(const QString& name, const QByteArray& ppd = {}) const {
        // Named by number: a device URI holds no Chinese, and the backend no odd path.
        const QString folder = m_dir.path() + QStringLiteral("/jobs/%1").arg(++m_queues);
        QDir().mkpath(folder);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                          QFile::ReadOther | QFile::WriteOther | QFile::ExeOther);
        QStringList arguments{QStringLiteral("-p"), name, QStringLiteral("-v"),
                              QStringLiteral("copyjob:") + folder, QStringLiteral("-E")};
        if (!ppd.isEmpty()) {
            const QString file = QStringLiteral("jobs/%1.ppd").arg(m_queues);
            writeFile(file, ppd);
            arguments << QStringLiteral("-P") << m_dir.path() + u'/' + file;
        }
        QString output;
        if (tool(QStringLiteral("lpadmin"), arguments, &output) != 0) {
            qWarning("lpadmin: %s", qPrintable(output));
            return {};
        }
        return folder;
    }

    /** Makes jobs of `title` on the queue of `folder` end as the backend's `status` says. */
    static void failJobsTitled(const QString& folder, const QString& title, int status) {
        writeTo(folder + QStringLiteral("/fail-") + title, QByteArray::number(status));
    }

    /** Makes every job of the queue of `folder` take `seconds` ("0.2"), as a slow printer. */
    static void paceJobs(const QString& folder, const QByteArray& seconds) {
        writeTo(folder + QStringLiteral("/pace"), seconds);
    }

    /**
     * Leaves `count` cancelled jobs in the queue's history, as on a printer in use for months;
     * none of them prints.
     */
    static void fillHistory(const QString& queue, int count) {
        for (int i = 0; i < count; ++i) {
            // A job that gets no document waits for it, held; cancelled, it stays in the history.
            const int id = cupsCreateJob(CUPS_HTTP_DEFAULT, queue.toUtf8().constData(),
                                         "别的程序的文档", 0, nullptr);
            cupsCancelJob2(CUPS_HTTP_DEFAULT, queue.toUtf8().constData(), id, 0);
        }
    }

    static void removeQueue(const QString& name) {
        tool(QStringLiteral("lpadmin"), {QStringLiteral("-x"), name});
    }

    /** Waits until the queue has no job left that is not completed. */
    static bool waitUntilIdle(const QString& name, int timeoutMs = 20000) {
        for (int waited = 0; waited < timeoutMs; waited += 50) {
            QString output;
            tool(QStringLiteral("lpstat"), {QStringLiteral("-o"), name}, &output);
            if (output.trimmed().isEmpty())
                return true;
            QThread::msleep(50);
        }
        return false;
    }

private:
    static void writeTo(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
    }

    void writeFile(const QString& relative, const QByteArray& bytes) const {
        writeTo(m_dir.path() + u'/' + relative, bytes);
    }

    static inline CupsDaemon* s_running = nullptr;
    QTemporaryDir m_dir;
    QProcess m_daemon;
    mutable int m_queues = 0;
};

} // namespace mldd::test
