#pragma once

#include "SqlCondition.h"
#include "SqlDialect.h"

#include <QStringList>

#include <functional>
#include <optional>

struct sqlite3;

namespace mldd {

class OrderDatabase;

/**
 * The index that finds a text anywhere in a field of the search box without
 * reading every order. On SQLite a full-text table of the orders' grams
 * (SearchGrams: characters, pairs, runs of three and four letters or digits,
 * each tagged with its column), so that keys of every length are looked up in
 * the searched field alone. It holds the orders up to a mark;
 * triggers note the indexed orders that were changed or deleted, and every
 * batch of the store takes its new orders and the noted ones in before it
 * commits, so the index is never behind what the batch wrote. Orders written
 * by another program, or a store of an earlier version, are taken in once at
 * start (bringUpToDate), a step per transaction. The search joins in what the
 * index holds plus the orders past the mark and the noted ones, so it never
 * misses an order even then. Each batch adds a part to the table, and the
 * daily check merges them into one (mergeParts). On the server trigram
 * indexes (pg_trgm) that the planner uses for the search's own LIKE on keys
 * of three characters or more; shorter keys read every order there.
 */
class OrderSearchIndex {
public:
    /** A backlog the catch-up tells its progress of; a smaller one takes a moment. */
    static constexpr qint64 kToldBacklog = 10'000;
    /** Orders one step of the catch-up takes in, in a transaction of its own. */
    static constexpr qint64 kCatchUpStep = 50'000;
    /**
     * A batch takes in what the store holds past the index's mark when it is at
     * most this many orders; a longer backlog waits for the start's catch-up.
     */
    static constexpr qint64 kBatchTakesIn = 200'000;
    /**
     * Above this many candidates a key is common enough that the list's own
     * order, read row by row, finds a page of hits and its count sooner than
     * the candidates' list is read and its every candidate looked up for the
     * count.
     */
    static constexpr qint64 kMostLookedUp = 12'000;
    /**
     * In a smaller store a key is common enough from one order in this many on:
     * walking the whole list then costs less than looking its candidates up.
     */
    static constexpr qint64 kCommonShare = 60;
    /** A key with fewer candidates is always looked up, however small the store. */
    static constexpr qint64 kFewLookedUp = 100;

    /**
     * The statements that give a store the index: the tables and the triggers.
     * An existing store's orders are added by the catch-up, never by the open.
     */
    static QStringList statements(const SqlDialect& dialect);

    /** Whether the store holds the index's tables (false on the server: its index needs no care).
     */
    static bool present(const OrderDatabase& database);

    /**
     * How far the index is behind: ids past its mark, plus one when orders are
     * noted; none when the store has no index.
     */
    static std::optional<qint64> behind(const OrderDatabase& database);

    /**
     * Adds up to `step` orders past the mark and renews the noted ones, in one
     * transaction that never waits for another writer. Whether the search may
     * join the index in: it is there and lags behind by at most `step` orders
     * (a store that refused the write, being busy or read-only, still qualifies
     * by what it holds).
     */
    static bool catchUp(OrderDatabase& database, qint64 step = kCatchUpStep);

    /**
     * Takes the whole backlog in, a step per transaction, so that a killed
     * catch-up goes on from its last step. `progress(done, total)` is called
     * before each step and at the end, for a backlog of kToldBacklog or more;
     * it stops the catch-up by returning false.
     * False when stopped or refused.
     */
    static bool bringUpToDate(OrderDatabase& database,
                              const std::function<bool(qint64 done, qint64 total)>& progress = {});

    /**
     * Inside a batch, just before it commits: takes the batch's new orders and
     * the noted ones in. False when the store refused (the batch then fails whole).
     */
    static bool takeInBatch(OrderDatabase& database);

    /**
     * Merges the index's parts into one, kMergedPages pages a transaction, each
     * waiting up to `waitMs` for the store to be free. Every batch adds a part;
     * a search reads each gram from every part, so a day of captures makes it
     * slower until the next merge. On a connection of the daily check's own to the
     * store `path`; false when a step failed (what was merged stays merged).
     */
    static bool mergeParts(sqlite3* db, const QString& path, int waitMs);
    /** Pages of the index one step of mergeParts writes. */
    static constexpr int kMergedPages = 2'000;

    /**
     * Empties the index and sets its mark back to nothing, as one step that lands
     * whole or not at all: before most of the orders are deleted, which it would
     * otherwise note one by one.
     */
    static void startOver(OrderDatabase& database);

    /** How a page of the list is read from a search's candidates. */
    enum class Plan {
        /** Each candidate is looked up and all of them put in list order: few candidates. */
        LookUp,
        /**
         * The list's own index is walked in list order, keeping the entries that are
         * candidates (listed once): many candidates, so a page of them comes soon.
         * The walk goes kLookUpSteps entries per candidate at most, what looking them
         * up would cost; a page it does not fill is read by looking them up after all
         * (the key's hits are among the oldest orders, or few of the candidates hold it).
         */
        WalkList,
    };

    /** A search's candidates: the full-text query that finds them, how a page is read. */
    struct Candidates {
        QString match;
        /** How many there are, or at most (enough to choose the plan by). */
        qint64 count = 0;
        Plan plan = Plan::LookUp;

        bool operator==(const Candidates&) const = default;
    };

    /**
     * Entries of the list a common key's first page is read from with LIKE alone:
     * at one order in kCommonShare, two pages of hits lie within them.
     */
    static constexpr qint64 kHeadStretch = 2'000;
    /** The newest orders whose grams tell whether a key is common. */
    static constexpr qint64 kNewestWeighed = 1'000;

    /**
     * The condition of a search of `key` in `columns`, as the list reads it. A
     * key with a gram fewer than kFewLookedUp orders hold is looked up at once.
     * Otherwise, when the kNewestWeighed newest orders hold all its grams two
     * pages' worth of times, its first page is read with LIKE along the list's
     * first kHeadStretch entries, and the way to the rest (lookUp) is settled
     * only when a count or a later page needs it: the first page of a common key
     * then costs the same in a store of any size, and a key common only among
     * the newest orders is still counted along the index. Any other key is
     * weighed by lookUp at once.
     */
    static SqlCondition searched(const OrderDatabase& database, const QStringList& columns,
                                 const QString& key);

    /**
     * The candidates of `key` when finding them along the index pays; none when
     * the list's own walk finds the key sooner or the index does not hold these
     * columns. Looking up pays when fewer orders than kMostLookedUp and than the
     * store's orders over kCommonShare (at least kFewLookedUp) are candidates.
     * Only the key's rare grams are asked for: those held by fewer orders than
     * walkedFrom() when there are any (they are looked up), else those held by
     * fewer than that limit. A common one would be read through to its end and
     * rule out little that LIKE does not. A page is walked to (Plan::WalkList)
     * from walkedFrom() candidates on.
     */
    static std::optional<Candidates> lookUp(const OrderDatabase& database,
                                            const QStringList& columns, const QString& key);

    /**
     * From how many candidates on a page of a store of `orders` orders is found
     * sooner by walking the list than by looking every candidate up. Looking up
     * costs about kLookUpSteps steps of the walk per candidate; the walk takes
     * about a page's worth of orders over the candidates' share of the store.
     * The two meet at the square root of (page × orders / kLookUpSteps).
     */
    static qint64 walkedFrom(qint64 orders);

    /**
     * Steps along the list's index that cost about as much as looking up one
     * candidate (measured at a million orders: about 1 µs a look-up, 0.2 µs a step).
     */
    static constexpr qint64 kLookUpSteps = 5;

    /**
     * Finds `key` anywhere in one of `columns` as LIKE does (its % and _ taken
     * literally), among the `candidates` (as lookUp gave them) when there are any.
     */
    static SqlCondition contains(const QStringList& columns, const QString& key,
                                 const std::optional<Candidates>& candidates);

    /**
     * The same, among the orders that hold every gram of the key when
     * `alongIndex` (catchUp said so) and the index holds these columns, with
     * a page read as `plan` says for `count` candidates.
     */
    static SqlCondition contains(const QStringList& columns, const QString& key, bool alongIndex,
                                 Plan plan = Plan::LookUp, qint64 count = 0);

private:
    class Weighing;

    /**
     * The full-text query for orders holding all these grams in one of these
     * columns; none when the index does not hold the columns or there are no grams.
     */
    static std::optional<QString> matchOf(const QStringList& columns, const QStringList& grams);
};

} // namespace mldd
