#pragma once

#include "core/DataFolder.h"
#include "core/Notice.h"
#include "core/Order.h"

#include <QStringList>

#include <optional>

namespace mldd {

/**
 * A sender's contents names (内件品名): the panel option, the default name and
 * the candidates, kept as one line "0衣服[NJF]衣服 鞋" in the data folder's
 * file named after the sender ID with ":" as ";" and ".njp" appended.
 */
struct ContentsNames {
    /** The panel's first option (digit 0: the candidate list) or its second (any other digit). */
    bool firstOption = true;
    QString defaultName;
    QStringList candidates;

    /** The file of `senderId`; empty when the ID is empty or holds "/" or "\". */
    static QString filePath(const DataFolder& folder, const QString& senderId);

    /** The sender's names; none when the file is missing, unreadable or has no "[NJF]". */
    static ContentsNames load(const DataFolder& folder, const QString& senderId);
    static ContentsNames parse(const QString& line);

    /** The contents name `order` prints: its own, else its sender's default. */
    static QString printedFor(const DataFolder& folder, const Order& order);
    QString toLine() const;

    /**
     * The edited candidate text as names: full-width blanks become blanks,
     * double blanks are halved twice, the ends are trimmed. Line breaks and tabs
     * count as blanks too, since the file holds one line.
     */
    static QStringList candidatesFromText(const QString& text);

    /** Replaces the sender's file with these names; why not, when it could not. */
    std::optional<Notice> save(const DataFolder& folder, const QString& senderId) const;

    /** Appends `name` as the last candidate, removing an earlier occurrence first. */
    void add(const QString& name);

    /** The caption over the candidates: "[淘宝:abc]的备选件名(点击件名选择)". */
    static QString caption(const QString& senderId);

    /** The hint shown in the panel when the seller sets a default without a current name. */
    QString missingNameHint() const;
};

} // namespace mldd
