#include "CapturedNumbers.h"

#include "core/LocationCode.h"
#include "core/SettingsFile.h"
#include "core/TextFile.h"

#include <QDir>
#include <QFile>
#include <QLockFile>

#include <cstdio>

namespace mldd {

CapturedNumbers::CapturedNumbers(const DataFolder& folder, const ErrorLog& log)
    : m_folder(folder), m_log(log) {}

CapturedNumbers::~CapturedNumbers() = default;

std::unique_ptr<QLockFile> CapturedNumbers::lockList(const QString& path) {
    auto lock = std::make_unique<QLockFile>(path + QStringLiteral(".lock"));
    // A capture may take long; only a lock whose program is gone is stale.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(kLockWaitMs))
        return nullptr;
    return lock;
}

bool CapturedNumbers::lock(QStringList sellers, const OrderStore& store, QString* error) {
    // Always in the same order, so that two captures never wait for each other.
    sellers.sort();
    sellers.removeDuplicates();
    for (const QString& seller : sellers) {
        const QString list = path(seller);
        std::unique_ptr<QLockFile> lock = lockList(list);
        if (!lock) {
            if (error)
                *error = QStringLiteral("已提取订单号的列表 %1 正被另一个程序占用，请稍后再试。")
                             .arg(QDir::toNativeSeparators(list));
            return false;
        }
        m_locks.push_back(std::move(lock));
        settle(list, store);
        m_lists.remove(seller);
    }
    return true;
}

bool CapturedNumbers::contains(const QString& seller, const QString& number) {
    return !number.isEmpty() && listOf(seller).numbers.contains(number);
}

void CapturedNumbers::add(const QString& seller, const QString& number) {
    List& list = listOf(seller);
    if (!list.text.isEmpty() && !list.text.endsWith(u'|'))
        list.text += u'|';
    list.text += number + u'|';
    list.numbers.insert(number);
    list.changed = true;
}

bool CapturedNumbers::stage() {
    bool staged = true;
    for (auto it = m_lists.constBegin(); it != m_lists.constEnd(); ++it) {
        if (it->changed)
            staged = writeSettingsFile(stagedPath(path(it.key())), {it->text}, m_log,
                                       LocationCode::Capture) &&
                     staged;
    }
    return staged;
}

void CapturedNumbers::commit() {
    for (auto it = m_lists.begin(); it != m_lists.end(); ++it) {
        if (!it->changed)
            continue;
        const QString target = path(it.key());
        // rename() replaces the old list in one step.
        std::rename(QFile::encodeName(stagedPath(target)).constData(),
                    QFile::encodeName(target).constData());
        it->changed = false;
    }
}

void CapturedNumbers::discard() {
    for (auto it = m_lists.constBegin(); it != m_lists.constEnd(); ++it) {
        if (it->changed)
            QFile::remove(stagedPath(path(it.key())));
    }
    m_lists.clear();
}

void CapturedNumbers::settle(const QString& path, const OrderStore& store) {
    const QString staged = stagedPath(path);
    if (!QFile::exists(staged))
        return;
    const TextFileContent content = TextFile::read(staged);
    const QStringList numbers = content.firstLine().split(u'|', Qt::SkipEmptyParts);
    const bool stored = !numbers.isEmpty() && !store.byOrderNumber(numbers.last()).empty();
    if (stored)
        std::rename(QFile::encodeName(staged).constData(), QFile::encodeName(path).constData());
    else
        QFile::remove(staged);
}

void CapturedNumbers::recover(const DataFolder& folder, const OrderStore& store) {
    const QDir data(folder.dataPath());
    for (const QString& name : data.entryList({QStringLiteral("*.dat.new")}, QDir::Files)) {
        const QString list = data.filePath(name).chopped(4);
        const std::unique_ptr<QLockFile> lock = lockList(list);
        if (lock)
            settle(list, store);
    }
}

CapturedNumbers::List& CapturedNumbers::listOf(const QString& seller) {
    auto it = m_lists.find(seller);
    if (it == m_lists.end()) {
        List list;
        list.text = readSettingsFile(path(seller), m_log, LocationCode::Capture).join(QString());
        const QStringList numbers = list.text.split(u'|', Qt::SkipEmptyParts);
        list.numbers = QSet<QString>(numbers.begin(), numbers.end());
        it = m_lists.insert(seller, std::move(list));
    }
    return *it;
}

QString CapturedNumbers::path(const QString& seller) const {
    return m_folder.file(DataFolder::safeFileName(QString(seller).replace(u':', u';')) +
                         QStringLiteral(".dat"));
}

} // namespace mldd
