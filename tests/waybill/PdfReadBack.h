#pragma once

#include "waybill/PageModel.h"

#include <QDir>
#include <QList>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace mldd::test {

/** One word of a PDF as a viewer finds it, its box's top-left corner in twips. */
struct Word {
    int page;
    double left, top; // twips
    QString text;
};

inline QString run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

/** The words of a PDF with their boxes, as a seller's viewer would find them. */
inline QList<Word> wordsOf(const QString& pdf) {
    const QString html = run("pdftotext", {"-bbox", pdf, "-"});
    QList<Word> words;
    int page = -1;
    static const QRegularExpression element(
        R"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="[\d.]+" yMax="[\d.]+">([^<]*)</word>)re");
    for (auto match = element.globalMatch(html); match.hasNext();) {
        const auto m = match.next();
        if (m.captured(0) == u"<page ")
            ++page;
        else
            words.append({page, m.captured(1).toDouble() * 20, m.captured(2).toDouble() * 20,
                          m.captured(3)});
    }
    return words;
}

/**
 * Barcodes found on each page rasterised at `dotsPerInch` (a label printer's
 * 203 unless told), one text per page; `folder` holds the images.
 */
inline QStringList barcodesOf(const QString& pdf, const QString& folder, int dotsPerInch = 203) {
    run("pdftoppm", {"-r", QString::number(dotsPerInch), "-png", pdf, folder + "/page"});
    QStringList found;
    const QStringList images = QDir(folder).entryList({"page*.png"}, QDir::Files, QDir::Name);
    for (const QString& image : images)
        found.append(run("zbarimg", {"--nodbus", "-q", "--raw", folder + "/" + image}).trimmed());
    return found;
}

inline constexpr double kHalfMillimetre = 0.5 * 1440 / 25.4; // twips

// Every line of every page lies where the model put it, within half a millimetre.
inline void expectTextWhereModelled(const QList<PageModel>& pages, const QList<Word>& words) {
    for (int p = 0; p < pages.size(); ++p) {
        for (const TextLine& line : pages[p].texts) {
            const QString first = line.text.section(u' ', 0, 0);
            const auto word = std::find_if(words.begin(), words.end(), [&](const Word& w) {
                return w.page == p && w.text == first && std::abs(w.left - line.left) < 200 &&
                       std::abs(w.top - line.top) < 200;
            });
            ASSERT_NE(word, words.end()) << p << " " << first.toStdString();
            EXPECT_NEAR(word->left, line.left, kHalfMillimetre) << first.toStdString();
            EXPECT_NEAR(word->top, line.top, kHalfMillimetre) << first.toStdString();
        }
    }
}

} // namespace mldd::test
