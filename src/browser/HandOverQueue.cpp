#include "HandOverQueue.h"

namespace mldd {

namespace {

// How often a waiting request looks again whether the seller has answered.
constexpr int kRetryMs = 100;

} // namespace

HandOverQueue::HandOverQueue(QObject* parent) : QObject(parent) {
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &HandOverQueue::passOn);
}

void HandOverQueue::setReady(std::function<bool()> ready) {
    m_ready = std::move(ready);
    if (!m_waiting.isEmpty())
        m_timer.start(0);
}

std::optional<QString> HandOverQueue::offer(const QString& commandText, const QString& pageText) {
    for (const Request& request : std::as_const(m_waiting))
        if (request.commandText == commandText && request.pageText == pageText)
            return std::nullopt;
    const qsizetype characters = commandText.size() + pageText.size();
    if (m_waiting.size() >= kMaxWaiting || m_characters + characters > kMaxCharacters)
        return QStringLiteral(
                   "墨岚打单还有%1个网页等着提取：请先回答软件里的提问，再提取这个网页。")
            .arg(m_waiting.size());
    m_waiting.append({commandText, pageText});
    m_characters += characters;
    if (!m_timer.isActive())
        m_timer.start(0); // after the answer to the sender is on its way
    return std::nullopt;
}

void HandOverQueue::passOn() {
    // While a request is dealt with, its questions run the event loop: the others wait.
    if (m_passing || m_waiting.isEmpty())
        return;
    if (m_ready && !m_ready()) {
        m_timer.start(kRetryMs);
        return;
    }
    const Request next = m_waiting.takeFirst();
    m_characters -= next.commandText.size() + next.pageText.size();
    m_passing = true;
    emit takeNext(next.commandText, next.pageText);
    m_passing = false;
    if (!m_waiting.isEmpty())
        m_timer.start(0);
}

} // namespace mldd
