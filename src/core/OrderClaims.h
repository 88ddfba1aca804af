#pragma once

#include "DataFolder.h"
#include "ErrorLog.h"

#include <QList>
#include <QString>

#include <optional>

namespace mldd {

class OrderDatabase;

/**
 * Claims of print runs on a store that several stations share: a run claims
 * its orders a slice at a time, renews its claims while it prints and makes
 * sure an order's claim is still its own just before the job goes out, so
 * that two stations printing overlapping lists print each order once. A claim
 * names the run (data folder and process) and the server's time; a run that
 * died leaves claims that other stations may take over after the timeout of
 * the settings, and that its own station's next run takes back at once. On a
 * station's own file there is nobody to share with and every order counts as
 * claimed.
 */
class OrderClaims {
public:
    /** What the claim is for: the waybill or the shipping list of each order. */
    enum class Print { Waybills, ShippingLists };

    /** Seconds after which another station may take over a claim, unless set/claim.dat says. */
    static constexpr int kDefaultTimeoutSeconds = 300;

    OrderClaims(OrderDatabase& database, const DataFolder& folder, const ErrorLog& log);

    /**
     * Claims those of `ids` whose print is not marked yet and that no other
     * run holds; the claimed ids, in the order given. None when the store
     * refused; the database says why.
     */
    std::optional<QList<qint64>> claim(const QList<qint64>& ids, Print print);

    /**
     * Renews this run's claims on `ids` to the server's time now; those still
     * this run's, in the order given. A claim another station took over after
     * it lapsed is lost. None when the store refused.
     */
    std::optional<QList<qint64>> renew(const QList<qint64>& ids);

    /**
     * Right before an order's job goes out: renews this run's claim on it when
     * the claim is still this run's and the order still unprinted. False when
     * another station took it over or it was marked since; none when the store
     * refused.
     */
    std::optional<bool> confirm(qint64 id, Print print);

    /**
     * Gives up the claims that ended runs of this station (this data folder on
     * this host) and earlier runs of this process left, except on `kept`:
     * orders whose jobs may still come out.
     */
    void releaseEnded(const QList<qint64>& kept);

    /** Gives up the claims of this run on these orders, printed or not. */
    void release(const QList<qint64>& ids);

    QString station() const { return m_station; }
    int timeoutSeconds() const { return m_timeoutSeconds; }

private:
    /**
     * Runs `statement` (station, then the ids, then the timeout when
     * `withTimeout`) in a transaction; the ids it returned, in the order given.
     */
    std::optional<QList<qint64>> updated(const QString& statement, const QList<qint64>& ids,
                                         bool withTimeout);

    /** Clears the claims of `station` on the orders `idCondition` (bound to `ids`) picks. */
    void clear(const QString& station, const QString& idCondition, const QList<qint64>& ids);

    OrderDatabase& m_database;
    QString m_station;
    int m_timeoutSeconds;
};

} // namespace mldd
