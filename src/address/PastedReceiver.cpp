#include "PastedReceiver.h"

#include "AddressSplitter.h"
#include "PastedAddress.h"

#include "core/MaskedReceiver.h"

#include <QRegularExpression>

#include <algorithm>

namespace mldd {

namespace {

enum class Label { None, Name, Phone, Region, Detail, Zip };

/** One piece of the pasted text: a phone number, or text between separators. */
struct Piece {
    QString text;
    bool phone = false;
    Label label = Label::None;
    int line = 0;
};

// Longer labels first where one begins another (手机号码 before 手机).
const QRegularExpression& labelPattern() {
    static const QRegularExpression pattern(QStringLiteral(
        "(收货人姓名|收件人姓名|收货人|收件人|联系人|姓名|手机号码|手机号|手机|联系电话|电话号码|"
        "电话|所在地区|地区|详细地址|收货地址|地址|邮政编码|邮编)\\s*[:：]"));
    return pattern;
}

Label labelOf(QStringView word) {
    if (word.contains(u"手机") || word.contains(u"电话"))
        return Label::Phone;
    if (word.contains(u"地区"))
        return Label::Region;
    if (word.contains(u"地址"))
        return Label::Detail;
    if (word.contains(u"邮"))
        return Label::Zip;
    return Label::Name;
}

// A virtual number keeps its extension; a mobile may carry +86 or 86- and
// spaces or dashes between its digits (or stars where it is masked); a
// landline needs its area code.
const QRegularExpression& phonePattern() {
    static const QRegularExpression pattern(QStringLiteral(
        "(?<![\\d*＊])(?:(?:\\+|＋)?86[-－\\s]?)?(?<mobile>1[3-9]\\d(?:[-－\\s]?[\\d*＊]){8})"
        "(?:\\s*(?:[-－#＃转]|分机)\\s*(?<extension>\\d{1,6}))?(?![\\d*＊])"
        "|(?<![\\d])(?<landline>(?:\\(0\\d{2,3}\\)|（0\\d{2,3}）|0\\d{2,3})[-－\\s]?\\d{7,8}"
        "(?:[-－转]\\d{1,6})?)(?!\\d)"));
    return pattern;
}

QString normalisedPhone(const QRegularExpressionMatch& match) {
    static const QRegularExpression inside(QStringLiteral("[-－\\s]"));
    QString mobile = match.captured(u"mobile");
    if (mobile.isEmpty())
        return match.captured(u"landline")
            .replace(u'－', u'-')
            .replace(u'（', u'(')
            .replace(u'）', u')');
    mobile.remove(inside);
    const QString extension = match.captured(u"extension");
    return extension.isEmpty() ? mobile : mobile + u'-' + extension;
}

// A phone box of the comma rules, normalised when it is one number.
QString normalisedPhone(const QString& text) {
    const QString trimmed = text.trimmed();
    const QRegularExpressionMatch match = phonePattern().match(trimmed);
    if (match.hasMatch() && match.capturedStart() <= 4 && match.capturedEnd() == trimmed.size())
        return normalisedPhone(match);
    return trimmed;
}

bool isZipcode(QStringView text) {
    static const QRegularExpression zipcode(QStringLiteral("^\\d{6}$"));
    return zipcode.match(text).hasMatch();
}

bool hasDigit(QStringView text) {
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
}

bool isLatin(QStringView text) {
    static const QRegularExpression latin(QStringLiteral("^[A-Za-z][A-Za-z.'-]*$"));
    return latin.match(text).hasMatch();
}

// What a name looks like: 张三, 欧阳小明, 阿依古丽·买买提, 林** (masked), John.
bool looksLikeName(QStringView text) {
    static const QRegularExpression name(
        QStringLiteral("^(?:[\\x{3400}-\\x{9fff}][\\x{3400}-\\x{9fff}*＊]{1,5}|[\\x{3400}-\\x{9fff}"
                       "]+·[\\x{3400}-\\x{9fff}·]+"
                       "|[A-Za-z][A-Za-z .'-]*)$"));
    return name.match(text).hasMatch();
}

// Control characters become spaces, line ends LF; full-width spaces are spaces.
QString cleaned(const QString& text) {
    QString clean;
    clean.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r') {
            if (i + 1 >= text.size() || text.at(i + 1) != u'\n')
                clean += u'\n';
        } else if (c == u'\n' || c == u'\t') {
            clean += c;
        } else if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format ||
                   c == QChar(0x3000) || c == QChar(0xa0)) {
            clean += u' ';
        } else {
            clean += c;
        }
    }
    return clean.trimmed();
}

void addTextPieces(QList<Piece>& pieces, QStringView text, Label label, int line) {
    static const QRegularExpression separators(QStringLiteral("[，,;；、\\s]+"));
    for (const QStringView part : text.split(separators, Qt::SkipEmptyParts))
        pieces.append({part.toString(), false, label, line});
}

// The text between labels: phone numbers first, then the pieces between separators.
void addPieces(QList<Piece>& pieces, QStringView text, Label label, int line) {
    qsizetype from = 0;
    for (const QRegularExpressionMatch& match : phonePattern().globalMatch(text)) {
        addTextPieces(pieces, text.mid(from, match.capturedStart() - from), label, line);
        pieces.append({normalisedPhone(match), true, label, line});
        from = match.capturedEnd();
    }
    addTextPieces(pieces, text.mid(from), label, line);
}

QList<Piece> piecesOf(const QString& text) {
    QList<Piece> pieces;
    int line = 0;
    for (const QStringView row : QStringView(text).split(u'\n')) {
        Label label = Label::None;
        qsizetype from = 0;
        for (const QRegularExpressionMatch& match : labelPattern().globalMatch(row)) {
            addPieces(pieces, row.mid(from, match.capturedStart() - from), label, line);
            label = labelOf(match.capturedView(1));
            from = match.capturedEnd();
        }
        addPieces(pieces, row.mid(from), label, line);
        ++line;
    }
    return pieces;
}

/** Reads the pieces of one block into a receiver. */
class Reading {
public:
    Reading(const QList<Piece>& pieces, const PlaceTable& table, const ErrorLog& log)
        : m_pieces(pieces), m_table(table), m_log(log), m_used(pieces.size(), false) {}

    PastedReceiver run() {
        PastedReceiver receiver;
        receiver.zipcode = zipcode();
        readPhones(receiver);
        receiver.address = labelledAddress();
        if (receiver.address.isEmpty())
            receiver.address = addressRun();
        receiver.name = name();
        return receiver;
    }

private:
    QString zipcode() {
        for (const Label wanted : {Label::Zip, Label::None}) {
            for (qsizetype i = 0; i < m_pieces.size(); ++i) {
                if (!m_used[i] && m_pieces[i].label == wanted && isZipcode(m_pieces[i].text)) {
                    m_used[i] = true;
                    return m_pieces[i].text;
                }
            }
        }
        return {};
    }

    // Labelled phones first, then the others in the order they stand.
    void readPhones(PastedReceiver& receiver) {
        QStringList phones;
        for (const bool labelled : {true, false}) {
            for (qsizetype i = 0; i < m_pieces.size(); ++i) {
                const Piece& piece = m_pieces[i];
                if (!piece.phone || (piece.label == Label::Phone) != labelled)
                    continue;
                m_used[i] = true;
                if (!phones.contains(piece.text))
                    phones.append(piece.text);
            }
        }
        receiver.phone1 = phones.value(0);
        receiver.phone2 = phones.value(1);
    }

    // 所在地区 then 详细地址, each part as written with single spaces between.
    QString labelledAddress() {
        QStringList parts;
        for (const Label wanted : {Label::Region, Label::Detail}) {
            for (qsizetype i = 0; i < m_pieces.size(); ++i) {
                if (!m_used[i] && !m_pieces[i].phone && m_pieces[i].label == wanted) {
                    m_used[i] = true;
                    parts.append(m_pieces[i].text);
                }
            }
        }
        return parts.join(u' ');
    }

    // A piece as short as a name is a place by its ending (广东省, 南山区) or when
    // it is a province's name whole (西藏), so that a name the table also knows
    // as a county stays a name.
    bool beginsWithPlace(const QString& text) const {
        static const QRegularExpression placeEnding(QStringLiteral("[省市区县州旗盟]$"));
        PlaceFields fields;
        QString address = text;
        SplitAddress(m_table, fields, address, m_log);
        if (fields.province.isEmpty())
            return false;
        return !looksLikeName(text) || placeEnding.match(text).hasMatch() ||
               (address.isEmpty() && fields.city.isEmpty());
    }

    bool free(qsizetype i) const {
        return !m_used[i] && !m_pieces[i].phone && m_pieces[i].label == Label::None;
    }

    // The piece the place table recognises and what follows it on its line, up
    // to a phone or a postcode; a name written after the address stays a name.
    QString addressRun() {
        qsizetype start = -1;
        for (qsizetype i = 0; i < m_pieces.size() && start < 0; ++i) {
            if (free(i) && beginsWithPlace(m_pieces[i].text))
                start = i;
        }
        if (start < 0)
            return longestPiece();
        qsizetype end = start + 1;
        while (end < m_pieces.size() && free(end) && m_pieces[end].line == m_pieces[start].line)
            ++end;
        if (end - start > 1 && looksLikeName(m_pieces[end - 1].text) && !nameOutside(start, end))
            --end;
        QStringList parts;
        for (qsizetype i = start; i < end; ++i) {
            m_used[i] = true;
            parts.append(m_pieces[i].text);
        }
        return parts.join(u' ');
    }

    bool nameOutside(qsizetype start, qsizetype end) const {
        for (qsizetype i = 0; i < m_pieces.size(); ++i) {
            if ((i < start || i >= end) && !m_used[i] && !m_pieces[i].phone &&
                (m_pieces[i].label == Label::Name || looksLikeName(m_pieces[i].text)))
                return true;
        }
        return false;
    }

    // No place the table knows: the longest piece with something more than a name in it.
    QString longestPiece() {
        qsizetype best = -1;
        for (qsizetype i = 0; i < m_pieces.size(); ++i) {
            const QString& text = m_pieces[i].text;
            if (free(i) && !looksLikeName(text) && text.size() >= 6 &&
                (best < 0 || text.size() > m_pieces[best].text.size()))
                best = i;
        }
        if (best < 0)
            return {};
        m_used[best] = true;
        return m_pieces[best].text;
    }

    // The labelled name (any piece without digits), else the first free piece
    // shaped like a name; a Latin name's words are joined again.
    QString name() {
        for (const Label wanted : {Label::Name, Label::None}) {
            for (qsizetype i = 0; i < m_pieces.size(); ++i) {
                const Piece& piece = m_pieces[i];
                if (m_used[i] || piece.phone || piece.label != wanted || hasDigit(piece.text) ||
                    (wanted == Label::None && !looksLikeName(piece.text)))
                    continue;
                QString name = piece.text;
                for (qsizetype j = i + 1;
                     isLatin(name.section(u' ', -1)) && j < m_pieces.size() && !m_used[j] &&
                     m_pieces[j].label == wanted && m_pieces[j].line == piece.line &&
                     isLatin(m_pieces[j].text);
                     ++j)
                    name += u' ' + m_pieces[j].text;
                return name;
            }
        }
        return {};
    }

    const QList<Piece>& m_pieces;
    const PlaceTable& m_table;
    const ErrorLog& m_log;
    QList<bool> m_used;
};

bool isPhoneShaped(const QString& text) {
    static const QRegularExpression phone(
        QStringLiteral("^[+＋\\d\\s()（）*＊-]*\\d[+＋\\d\\s()（）*＊-]*$"));
    return phone.match(text).hasMatch();
}

// The comma rules of order pages, when their result holds together: a name
// without digits, phone boxes of phone numbers, an address of its own.
bool commaRulesRead(const QString& text, PastedReceiver& receiver) {
    if (text.count(u'，') + text.count(u',') < 2)
        return false;
    ReceiverBoxes boxes;
    boxes.address = text;
    RecognizePastedAddress(boxes);
    const bool sound =
        !boxes.name.isEmpty() && !hasDigit(boxes.name) && !boxes.name.contains(u'：') &&
        isPhoneShaped(boxes.phone1) && (boxes.phone2.isEmpty() || isPhoneShaped(boxes.phone2)) &&
        (boxes.zipcode.isEmpty() || isZipcode(boxes.zipcode)) && !boxes.address.isEmpty() &&
        boxes.address != text && !boxes.address.contains(u'：');
    if (!sound)
        return false;
    receiver.name = boxes.name;
    receiver.phone1 = normalisedPhone(boxes.phone1);
    receiver.phone2 = normalisedPhone(boxes.phone2);
    receiver.zipcode = boxes.zipcode;
    receiver.address = boxes.address;
    return true;
}

} // namespace

void ReconsiderReceiver(PastedReceiver& receiver, const PlaceTable& table, const ErrorLog& log) {
    PlaceFields fields;
    receiver.rest = receiver.address;
    SplitAddress(table, fields, receiver.rest, log);
    receiver.province = fields.province;
    receiver.city = fields.city;
    receiver.county = fields.county;
    receiver.unclear.clear();
    const auto unclear = [&](bool doubtful, const char16_t* box) {
        if (doubtful)
            receiver.unclear.append(QString::fromUtf16(box));
    };
    unclear(receiver.name.isEmpty() || !looksLikeName(receiver.name), u"姓名");
    unclear(receiver.phone1.isEmpty() || !hasDigit(receiver.phone1), u"电话");
    unclear(receiver.province.isEmpty(), u"地址");
    receiver.masked =
        MaskedReceiver::isMasked(receiver.name) || MaskedReceiver::isMasked(receiver.phone1) ||
        MaskedReceiver::isMasked(receiver.phone2) || MaskedReceiver::isMasked(receiver.address);
}

QString PastedReceiver::problem() const {
    if (unclear.isEmpty())
        return masked ? MaskedReceiver::kMark : QString();
    QStringList missing;
    QStringList doubtful;
    for (const QString& box : unclear) {
        const bool empty = box == u"姓名"   ? name.isEmpty()
                           : box == u"电话" ? phone1.isEmpty()
                                            : address.isEmpty();
        (empty ? missing : doubtful).append(box);
    }
    QStringList parts;
    if (!missing.isEmpty())
        parts.append(QStringLiteral("没有认出") + missing.join(u'、'));
    if (!doubtful.isEmpty())
        parts.append(QStringLiteral("请核对") + doubtful.join(u'、'));
    return parts.join(u'；');
}

PastedReceiver RecognizeReceiver(const QString& text, const PlaceTable& table,
                                 const ErrorLog& log) {
    const QString clean = cleaned(text);
    PastedReceiver receiver;
    if (!commaRulesRead(clean, receiver))
        receiver = Reading(piecesOf(clean), table, log).run();
    ReconsiderReceiver(receiver, table, log);
    return receiver;
}

} // namespace mldd
