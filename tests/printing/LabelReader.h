#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cctype>
#include <optional>

namespace mldd::test {

/**
 * What a label printer would make of a job in TSPL, ZPL or EPL2: the settings
 * commands as given and each label's bitmap, black where it would print. Read
 * the way the printers' manuals describe the commands, independently of the
 * program's encoders, so that a job that parses here is one a printer takes.
 */
struct ReadJob {
    QString language;                      // "TSPL", "ZPL", "EPL"; empty when unreadable
    QMap<QByteArray, QByteArray> settings; // command → its parameters (SIZE, ^PW, q, …)
    QList<QImage> labels;                  // Format_Mono, 1 black
    QString error;                         // why the job did not parse

    bool ok() const { return error.isEmpty() && !language.isEmpty(); }
};

namespace label_reader {

inline QImage blank(int width, int height) {
    QImage image(width, height, QImage::Format_Mono);
    image.setColor(0, qRgb(255, 255, 255));
    image.setColor(1, qRgb(0, 0, 0));
    image.fill(0);
    return image;
}

// Rows of `bytesPerRow` bytes, MSB the leftmost dot; `blackBit` is the bit value that prints.
inline QImage fromRows(const QByteArray& data, int bytesPerRow, int rows, int blackBit) {
    QImage image = blank(bytesPerRow * 8, rows);
    for (int y = 0; y < rows; ++y) {
        for (int x = 0; x < bytesPerRow * 8; ++x) {
            const int bit = (uchar(data[y * bytesPerRow + x / 8]) >> (7 - x % 8)) & 1;
            image.setPixel(x, y, bit == blackBit ? 1 : 0);
        }
    }
    return image;
}

// Reads a line up to CR LF (or LF) from `at`; moves past it.
inline QByteArray line(const QByteArray& job, qsizetype& at) {
    qsizetype end = job.indexOf('\n', at);
    if (end < 0)
        end = job.size();
    QByteArray text = job.mid(at, end - at);
    if (text.endsWith('\r'))
        text.chop(1);
    at = end + 1;
    return text;
}

// A bitmap command "NAME x,y,widthBytes,height[,mode]," followed by its binary rows.
inline bool binaryRows(const QByteArray& job, qsizetype& at, int fields, ReadJob& read,
                       int blackBit) {
    qsizetype cursor = at;
    QList<QByteArray> values;
    for (int i = 0; i < fields; ++i) {
        const qsizetype comma = job.indexOf(',', cursor);
        if (comma < 0)
            return false;
        values.append(job.mid(cursor, comma - cursor).trimmed());
        cursor = comma + 1;
    }
    const int bytesPerRow = values[2].toInt();
    const int rows = values[3].toInt();
    if (bytesPerRow <= 0 || rows <= 0 || cursor + bytesPerRow * rows > job.size())
        return false;
    read.labels.append(fromRows(job.mid(cursor, bytesPerRow * rows), bytesPerRow, rows, blackBit));
    at = cursor + bytesPerRow * rows;
    return true;
}

// TSPL and EPL alike: a command per line, and a bitmap command whose binary rows follow its
// fields; a bitmap is only taken after the command that clears the label.
struct LineLanguage {
    QString name;
    QByteArray bitmap;                        // "BITMAP ", "GW"
    int fields;                               // before the rows
    QByteArray clear;                         // "CLS", "N"
    QByteArrayList known;                     // the other commands
    QByteArray (*command)(const QByteArray&); // a line's command
};

inline ReadJob readLines(const QByteArray& job, const LineLanguage& language) {
    ReadJob read{language.name, {}, {}, {}};
    const auto failed = [&](const QString& why) { return ReadJob{{}, {}, {}, why}; };
    bool cleared = false;
    for (qsizetype at = 0; at < job.size();) {
        if (job.mid(at, language.bitmap.size()) == language.bitmap) {
            at += language.bitmap.size();
            if (!cleared || !binaryRows(job, at, language.fields, read, 0))
                return failed(QStringLiteral("位图不完整或没有先清空"));
            cleared = false;
            continue;
        }
        const QByteArray text = line(job, at);
        if (text.isEmpty())
            continue;
        const QByteArray command = language.command(text);
        if (command == language.clear)
            cleared = true;
        else if (!language.known.contains(command))
            return failed(QStringLiteral("不认识的指令：") + QString::fromLatin1(text));
        read.settings[command] = text.mid(command.size()).trimmed();
    }
    return read;
}

inline ReadJob readTspl(const QByteArray& job) {
    return readLines(job, {QStringLiteral("TSPL"), "BITMAP ", 5, "CLS",
                           QByteArrayList{"SIZE", "GAP", "BLINE", "DIRECTION", "REFERENCE",
                                          "DENSITY", "SPEED", "PRINT"},
                           [](const QByteArray& text) {
                               const qsizetype space = text.indexOf(' ');
                               return (space < 0 ? text : text.left(space)).toUpper();
                           }});
}

inline ReadJob readEpl(const QByteArray& job) {
    return readLines(job, {QStringLiteral("EPL"), "GW", 4, "N",
                           QByteArrayList{"q", "Q", "D", "S", "Z", "P"},
                           [](const QByteArray& text) { return text.left(1); }});
}

// ^GFA's compressed ASCII hex back into rows: G…Y count 1…19, g…z 20…400, "," zeros and
// "!" ones to the row's end, ":" the row before again.
inline std::optional<QByteArray> unpackZpl(const QByteArray& data, int bytesPerRow, int total) {
    const int digitsPerRow = bytesPerRow * 2;
    QByteArray hex;
    QByteArray row;
    QByteArray previous;
    int count = 0;
    const auto endRow = [&] {
        hex += row;
        previous = row;
        row.clear();
    };
    for (char c : data) {
        if (c >= 'G' && c <= 'Y') {
            count += c - 'G' + 1;
        } else if (c >= 'g' && c <= 'z') {
            count += (c - 'g' + 1) * 20;
        } else if (c == ',' || c == '!') {
            row += QByteArray(digitsPerRow - row.size(), c == ',' ? '0' : 'F');
            endRow();
        } else if (c == ':') {
            if (!row.isEmpty() || previous.isEmpty())
                return std::nullopt;
            row = previous;
            endRow();
        } else if (std::isxdigit(uchar(c))) {
            row += QByteArray(std::max(count, 1), c);
            count = 0;
            if (row.size() > digitsPerRow)
                return std::nullopt;
            if (row.size() == digitsPerRow)
                endRow();
        } else if (c != '\r' && c != '\n') {
            return std::nullopt;
        }
    }
    if (!row.isEmpty() || hex.size() != total * 2)
        return std::nullopt;
    return QByteArray::fromHex(hex);
}

inline ReadJob readZpl(const QByteArray& job) {
    ReadJob read{QStringLiteral("ZPL"), {}, {}, {}};
    bool open = false;
    // Commands start with ^ or ~ and run to the next one.
    for (qsizetype at = 0; at < job.size();) {
        const char start = job[at];
        if (start == '\r' || start == '\n') {
            ++at;
            continue;
        }
        if (start != '^' && start != '~')
            return {{}, {}, {}, QStringLiteral("ZPL 指令外的字节")};
        qsizetype next = at + 1;
        while (next < job.size() && job[next] != '^' && job[next] != '~')
            ++next;
        const QByteArray command = job.mid(at, 3).toUpper();
        const QByteArray parameters = job.mid(at + 3, next - at - 3).trimmed();
        at = next;
        if (command == "^XA") {
            open = true;
        } else if (command == "^XZ") {
            open = false;
        } else if (command == "^GF") {
            const QList<QByteArray> fields = parameters.split(',');
            if (!open || fields.size() < 5 || fields[0] != "A")
                return {{}, {}, {}, QStringLiteral("^GF 不完整")};
            const int total = fields[2].toInt();
            const int bytesPerRow = fields[3].toInt();
            const QByteArray data = parameters.mid(fields[0].size() + fields[1].size() +
                                                   fields[2].size() + fields[3].size() + 4);
            const std::optional<QByteArray> rows = unpackZpl(data, bytesPerRow, total);
            if (!rows || bytesPerRow <= 0)
                return {{}, {}, {}, QStringLiteral("^GFA 的数据解不开")};
            read.labels.append(fromRows(*rows, bytesPerRow, total / bytesPerRow, 1));
        } else if (!QByteArrayList{"~SD", "^PW", "^LL", "^MN", "^PR", "^LH", "^FO", "^FS", "^PQ"}
                        .contains(command)) {
            return {
                {}, {}, {}, QStringLiteral("不认识的 ZPL 指令：") + QString::fromLatin1(command)};
        } else {
            read.settings[command] = parameters;
        }
    }
    if (open)
        return {{}, {}, {}, QStringLiteral("^XA 没有 ^XZ")};
    return read;
}

} // namespace label_reader

/** Reads a job in whichever of the three languages it starts like. */
inline ReadJob readLabelJob(const QByteArray& job) {
    if (job.startsWith("SIZE "))
        return label_reader::readTspl(job);
    if (job.startsWith("~") || job.startsWith("^"))
        return label_reader::readZpl(job);
    if (job.startsWith("\r\n"))
        return label_reader::readEpl(job);
    return {{}, {}, {}, QStringLiteral("不是 TSPL、ZPL 或 EPL")};
}

/** The Code 128 symbols zbar finds on a label, as a scanner would read them. */
inline QStringList scannedCodes(const QImage& label) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("label.png"));
    // A quiet zone around it, as the label's white margin on the parcel gives.
    QImage framed(label.width() + 80, label.height() + 80, QImage::Format_RGB32);
    framed.fill(Qt::white);
    for (int y = 0; y < label.height(); ++y)
        for (int x = 0; x < label.width(); ++x)
            if (label.pixelIndex(x, y) == 1)
                framed.setPixel(x + 40, y + 40, qRgb(0, 0, 0));
    framed.save(path);
    if (qEnvironmentVariableIsSet("LABEL_DUMP"))
        framed.save(qEnvironmentVariable("LABEL_DUMP"));
    QProcess zbar;
    zbar.start(QStringLiteral("zbarimg"),
               {QStringLiteral("--nodbus"), QStringLiteral("-q"), QStringLiteral("--raw"), path});
    zbar.waitForFinished(60000);
    return QString::fromUtf8(zbar.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
}

} // namespace mldd::test
