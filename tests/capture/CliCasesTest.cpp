#include "RuleTestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "CliRun.h"

#include <gtest/gtest.h>

namespace {

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Each folder under cases/ holds the input files of one command and the exact output.
TEST(CliCases, OutputIsExactlyTheExpectedText) {
    const QDir cases(QStringLiteral(MLDD_TEST_DATA "/cases"));
    const QStringList names = cases.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    ASSERT_FALSE(names.isEmpty());
    for (const QString& name : names) {
        const QDir folder(cases.filePath(name));
        QStringList arguments;
        if (folder.exists(QStringLiteral("rules.dat"))) {
            arguments = {QStringLiteral("decode"), QStringLiteral("--rules"),
                         folder.filePath(QStringLiteral("rules.dat")), QStringLiteral("--page"),
                         folder.filePath(QStringLiteral("page.txt"))};
            if (folder.exists(QStringLiteral("with-goods")))
                arguments << QStringLiteral("--goods");
        } else {
            arguments = {QStringLiteral("goods"), QStringLiteral("--program"),
                         folder.filePath(QStringLiteral("program.txt")), QStringLiteral("--text"),
                         folder.filePath(QStringLiteral("text.txt"))};
        }
        const mldd::test::CliRun run = mldd::test::runCli(arguments);
        EXPECT_EQ(run.exitCode, 0) << name.toStdString() << ": " << run.errBytes.toStdString();
        EXPECT_EQ(run.outBytes, contents(folder.filePath(QStringLiteral("expected.txt"))))
            << name.toStdString();
    }
}

TEST(CliCases, BadArgumentsAndUnreadableFilesAreTold) {
    const QString page = QStringLiteral(MLDD_TEST_DATA "/cases/goods-articles/text.txt");
    const mldd::test::CliRun usage =
        mldd::test::runCli({QStringLiteral("decode"), QStringLiteral("--rules")});
    EXPECT_EQ(usage.exitCode, 2);
    EXPECT_TRUE(usage.outBytes.isEmpty());
    EXPECT_TRUE(usage.errBytes.contains("decode --rules FILE"));

    const mldd::test::CliRun missing = mldd::test::runCli(
        {QStringLiteral("decode"), QStringLiteral("--rules"),
         QStringLiteral("/nonexistent/rules.dat"), QStringLiteral("--page"), page});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.outBytes.isEmpty());
    EXPECT_TRUE(QString::fromUtf8(missing.errBytes).startsWith(QStringLiteral("找不到文件")));
}

TEST(CliCases, RunawayRulesStillAnswerAndSaySo) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QFile rules(folder.filePath(QStringLiteral("loop.dat")));
    ASSERT_TRUE(rules.open(QIODevice::WriteOnly));
    rules.write("SETALL{|}SET^S^+^S{|}LOOP^1^<>^x");
    rules.close();
    const mldd::test::CliRun run =
        mldd::test::runCli({QStringLiteral("decode"), QStringLiteral("--rules"), rules.fileName(),
                            QStringLiteral("--page"),
                            QStringLiteral(MLDD_TEST_DATA "/cases/goods-articles/text.txt")});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.outBytes.startsWith("{|D|}"));
    EXPECT_TRUE(QString::fromUtf8(run.errBytes).contains(QStringLiteral("超出限度")));
}

} // namespace
