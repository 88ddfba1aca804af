#pragma once

#include "CaptureFixture.h"

#include "spreadsheet/ImportRun.h"
#include "spreadsheet/Workbook.h"

#include <QCryptographicHash>
#include <QProcess>

namespace mldd::test {

/** The workbooks made by make_workbooks.py, once for the whole test program. */
class TestWorkbooks {
public:
    static const TestWorkbooks& get() {
        static const TestWorkbooks books;
        return books;
    }
    QString path(const QString& name) const { return m_folder + u'/' + name; }
    bool ok() const { return m_ok; }

    /** Runs the maker with these arguments; its standard output. */
    static QString make(const QStringList& args, bool* ok = nullptr) {
        QProcess maker;
        maker.start(
            QStringLiteral("/usr/bin/python3"),
            QStringList{QStringLiteral(MLDD_SOURCE_DIR "/tests/spreadsheet/make_workbooks.py")} +
                args);
        const bool done = maker.waitForFinished(120000) && maker.exitCode() == 0;
        if (ok)
            *ok = done;
        return QString::fromUtf8(maker.readAllStandardOutput());
    }

private:
    // Every test runs in a process of its own: the workbooks are made once per maker version
    // and shared through the temporary folder (made aside, then renamed into place).
    TestWorkbooks() {
        QFile script(QStringLiteral(MLDD_SOURCE_DIR "/tests/spreadsheet/make_workbooks.py"));
        script.open(QIODevice::ReadOnly);
        const QString stamp = QString::fromLatin1(
            QCryptographicHash::hash(script.readAll(), QCryptographicHash::Md5).toHex());
        m_folder = QDir::temp().filePath(QStringLiteral("mldd-test-workbooks-") + stamp);
        if (QFileInfo::exists(m_folder + QStringLiteral("/orders.xlsx"))) {
            m_ok = true;
            return;
        }
        QTemporaryDir aside(m_folder + QStringLiteral("-XXXXXX"));
        make({aside.path()}, &m_ok);
        if (m_ok && QDir().rename(aside.path(), m_folder))
            aside.setAutoRemove(false);
        m_ok = m_ok && QFileInfo::exists(m_folder + QStringLiteral("/orders.xlsx"));
    }

    QString m_folder;
    bool m_ok = false;
};

/** A started program (place table, a sender, two templates, a plan) and the test workbooks. */
class SpreadsheetFixture : public CaptureFixture {
protected:
    void SetUp() override {
        CaptureFixture::SetUp();
        ASSERT_TRUE(TestWorkbooks::get().ok()) << "make_workbooks.py failed";
    }

    /** A copy of a test workbook in this test's own folder, which it may change. */
    QString copyOf(const QString& name) {
        const QString copy = m_dir.filePath(name);
        QFile::remove(copy);
        QFile::copy(TestWorkbooks::get().path(name), copy);
        QFile(copy).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        return copy;
    }

    static SheetTable readSheet(const QString& path, const QString& sheet = QString()) {
        std::variant<std::unique_ptr<Workbook>, Notice> opened = Workbook::open(path);
        if (auto* notice = std::get_if<Notice>(&opened)) {
            ADD_FAILURE() << notice->text.toStdString();
            return {};
        }
        const Workbook& book = *std::get<std::unique_ptr<Workbook>>(opened);
        std::variant<SheetTable, Notice> read =
            book.read(sheet.isEmpty() ? book.sheetNames().value(book.activeSheet()) : sheet);
        if (auto* notice = std::get_if<Notice>(&read)) {
            ADD_FAILURE() << notice->text.toStdString();
            return {};
        }
        return std::get<SheetTable>(read);
    }

    /** The layout of orders.xlsx: every column the sheet has that an order takes. */
    ImportLayout ordersLayout() const {
        ImportLayout layout;
        layout.name = QStringLiteral("网店");
        layout.sender = QString::fromUtf8(kSender);
        const auto map = [&](ImportLayout::Field field, const char* columns) {
            layout.expressions[field] = *ColumnExpression::parse(QString::fromLatin1(columns));
        };
        map(ImportLayout::OrderNumber, "A");
        map(ImportLayout::BuyerName, "B");
        map(ImportLayout::Phone1, "C");
        map(ImportLayout::Phone2, "D");
        map(ImportLayout::Province, "E");
        map(ImportLayout::Address, "F");
        map(ImportLayout::Goods, "G");
        map(ImportLayout::BuyerMessage, "H");
        return layout;
    }

    /** Runs a whole import; the counts, or the notice that refused it. */
    std::variant<ImportCount, Notice> import(const QString& path, const ImportLayout& layout,
                                             const QString& sheet = QString()) {
        const SheetTable table = readSheet(path, sheet);
        std::variant<std::unique_ptr<ImportRun>, Notice> started =
            ImportRun::start(m_state, table, layout, path);
        if (auto* notice = std::get_if<Notice>(&started))
            return *notice;
        ImportRun& run = *std::get<std::unique_ptr<ImportRun>>(started);
        while (run.step(3)) { // slices that part the two rows of one buyer
        }
        return run.finish();
    }

    ImportCount imported(const QString& path, const ImportLayout& layout) {
        std::variant<ImportCount, Notice> result = import(path, layout);
        if (auto* notice = std::get_if<Notice>(&result)) {
            ADD_FAILURE() << notice->text.toStdString();
            return {};
        }
        return std::get<ImportCount>(result);
    }

    QString refusal(const QString& path, const ImportLayout& layout) {
        std::variant<ImportCount, Notice> result = import(path, layout);
        return std::holds_alternative<Notice>(result) ? std::get<Notice>(result).text : QString();
    }
};

} // namespace mldd::test
