#pragma once

#include <QList>
#include <QObject>
#include <QTimer>

#include <functional>
#include <optional>

namespace mldd {

/**
 * The requests handed over to the window, taken one at a time: the next is
 * passed on only when the one before has been dealt with and the window has
 * no question open. A request equal to one still waiting joins it, so a page
 * sent again and again is taken once more, not once per sending.
 */
class HandOverQueue : public QObject {
    Q_OBJECT

public:
    /** At most this many different requests wait; more are refused. */
    static constexpr int kMaxWaiting = 50;
    /** Nor more than this many characters of page text in all. */
    static constexpr qsizetype kMaxCharacters = 32 * 1024 * 1024;

    explicit HandOverQueue(QObject* parent = nullptr);

    /** Whether the window can take a request now; until it is set, it always can. */
    void setReady(std::function<bool()> ready);

    /** Queues a request; the refusal, in the seller's words, when too much already waits. */
    std::optional<QString> offer(const QString& commandText, const QString& pageText);

    /** How many requests wait. */
    qsizetype waiting() const { return m_waiting.size(); }

signals:
    /** The next request, when the window can take it. */
    void takeNext(const QString& commandText, const QString& pageText);

private:
    struct Request {
        QString commandText;
        QString pageText;
    };

    void passOn();

    QList<Request> m_waiting;
    qsizetype m_characters = 0;
    std::function<bool()> m_ready;
    bool m_passing = false;
    QTimer m_timer;
};

} // namespace mldd
