#include "Code128.h"

#include "TextMetrics.h"

#include <array>
#include <cmath>

namespace mldd::Code128 {

namespace {

// Element widths (bar, space, bar, …) of the symbols 0–106.
constexpr std::array<const char*, 107> kWidths{
    "212222", "222122", "222221", "121223", "121322", "131222", "122213", "122312", "132212",
    "221213", "221312", "231212", "112232", "122132", "122231", "113222", "123122", "123221",
    "223211", "221132", "221231", "213212", "223112", "312131", "311222", "321122", "321221",
    "312212", "322112", "322211", "212123", "212321", "232121", "111323", "131123", "131321",
    "112313", "132113", "132311", "211313", "231113", "231311", "112133", "112331", "132131",
    "113123", "113321", "133121", "313121", "211331", "231131", "213113", "213311", "213131",
    "311123", "311321", "331121", "312113", "312311", "332111", "314111", "221411", "431111",
    "111224", "111422", "121124", "121421", "141122", "141221", "112214", "112412", "122114",
    "122411", "142112", "142211", "241211", "221114", "413111", "241112", "134111", "111242",
    "121142", "121241", "114212", "124112", "124211", "411212", "421112", "421211", "212141",
    "214121", "412121", "111143", "111341", "131141", "114113", "114311", "411113", "411311",
    "113141", "114131", "311141", "411131", "211412", "211214", "211232", "2331112"};

constexpr int kToC = 99;
constexpr int kToB = 100;

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

bool pairOfDigits(const QString& text, qsizetype at) {
    return at + 1 < text.size() && isDigit(text[at]) && isDigit(text[at + 1]);
}

} // namespace

QString pattern(int value) {
    QString modules;
    if (value < 0 || value >= int(kWidths.size()))
        return modules;
    bool bar = true;
    for (const char* w = kWidths[value]; *w; ++w, bar = !bar)
        modules += QString(*w - '0', bar ? u'b' : u's');
    return modules;
}

std::optional<QList<int>> encode(const QString& input) {
    const QString text = input.toUpper();
    for (QChar c : text)
        if (c.unicode() < 32 || c.unicode() > 127)
            return std::nullopt;

    QList<int> values;
    bool inC = pairOfDigits(text, 0);
    values.append(inC ? kStartC : kStartB);
    int sum = values.first();
    int weight = 0;
    const auto append = [&](int value) {
        values.append(value);
        sum += ++weight * value;
    };
    for (qsizetype j = 0; j < text.size();) {
        const bool wantC = pairOfDigits(text, j);
        if (wantC != inC) {
            append(wantC ? kToC : kToB);
            inC = wantC;
        }
        if (inC) {
            append((text[j].unicode() - '0') * 10 + text[j + 1].unicode() - '0');
            j += 2;
        } else {
            append(text[j].unicode() - 32);
            j += 1;
        }
    }
    values.append(sum % 103);
    values.append(kStop);
    return values;
}

void draw(PageModel& page, TextMetrics& metrics, const QString& input, const Field& field) {
    const QString text = input.toUpper();
    const std::optional<QList<int>> values = encode(text);
    if (text.isEmpty() || !values)
        return;
    const double unit = 4 * std::floor(field.width / 22 / double(text.size()) / 4 + 0.4999);
    const double textHeight = field.withText ? metrics.lineHeight(field.font) : 0;
    const double barHeight = field.height - textHeight;
    if (unit <= 0 || barHeight <= 0)
        return;
    BarcodeBars bars{field.left, field.top, barHeight, 2 * unit, QString()};
    for (int value : *values)
        bars.modules += pattern(value);
    page.barcodes.append(bars);
    if (field.withText)
        page.texts.append(TextLine{field.left, field.top + barHeight, text, field.font});
}

} // namespace mldd::Code128
