#include "FeatureFields.h"

#include "text/TextCodec.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace FeatureFields {

namespace {

const QString kSep = QStringLiteral("||");

QString escapeBars(QString text)
{
    return text.replace(QLatin1Char('|'), QStringLiteral("&#124;"));
}

QString unescapeBars(QString text)
{
    return text.replace(QStringLiteral("&#124;"), QStringLiteral("|"));
}

QString part(const QStringList& parts, int i)
{
    return i < parts.size() ? parts.at(i) : QString();
}

// The numeric boxes accept blanks, a sign, a decimal point and an exponent written
// with E or D; the stored left position is a whole number, halves to the even one.
QString wholeNumber(const QString& text)
{
    QString t = text.simplified().remove(QLatin1Char(' '));
    t.replace(QLatin1Char('d'), QLatin1Char('e')).replace(QLatin1Char('D'), QLatin1Char('e'));
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return QStringLiteral("0");
    // A position beyond any screen is kept at the largest whole number the field holds.
    const double whole = std::clamp(std::nearbyint(v), double(INT_MIN), double(INT_MAX));
    return QString::number(static_cast<int>(whole));
}

} // namespace

std::optional<int> featureValue(const QString& field)
{
    bool ok = false;
    const int value = field.section(kSep, 0, 0).trimmed().toInt(&ok);
    if (!ok || (value != 0 && value != 1))
        return std::nullopt;
    return value;
}

QString joinOtherPages(const QStringList& names)
{
    QString field;
    for (const QString& n : names)
        field += kSep + n;
    return field;
}

QStringList splitOtherPages(const QString& field)
{
    if (field.isEmpty())
        return {};
    return field.split(kSep);
}

AdBoard parseAdBoard(const QString& field)
{
    const QStringList parts = field.split(kSep);
    AdBoard b;
    b.width = part(parts, 1);
    b.height = part(parts, 2);
    b.top = part(parts, 3);
    b.left = part(parts, 4);
    b.title = unescapeBars(part(parts, 5));
    QString content = TextCodec::decode(unescapeBars(part(parts, 6)));
    b.content = content.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return b;
}

QString adBoardField(const AdBoard& board)
{
    const QString width = board.width.isEmpty() ? QStringLiteral("300") : board.width;
    const QString height = board.height.isEmpty() ? QStringLiteral("200") : board.height;
    const QString top = board.top.isEmpty() ? QStringLiteral("0") : board.top;
    const QString left = board.left.isEmpty() ? QStringLiteral("0") : wholeNumber(board.left);
    // Published pages expect CR LF line breaks before encoding.
    QString content = board.content;
    content.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return QStringList{
        QStringLiteral("1"), width, height, top, left, escapeBars(board.title), escapeBars(TextCodec::encode(content))}
        .join(kSep);
}

const QStringList& scriptEffects()
{
    static const QStringList effects{
        QStringLiteral("标题特效"),       QStringLiteral("屏幕时钟"),     QStringLiteral("跟随鼠标的星星"),
        QStringLiteral("跟随鼠标的文字"), QStringLiteral("鼠标点击特效"), QStringLiteral("跟随鼠标的彩色字符"),
        QStringLiteral("状态栏特效1"),    QStringLiteral("状态栏特效2"),  QStringLiteral("状态栏特效3"),
        QStringLiteral("状态栏特效4"),    QStringLiteral("状态栏特效5"),  QStringLiteral("状态栏特效6"),
        QStringLiteral("状态栏特效7")};
    return effects;
}

QString effectFile(int index)
{
    return QStringLiteral("%1.asp").arg(index, 2, 10, QLatin1Char('0'));
}

bool effectTakesText(int index)
{
    return index != 1 && index != 2;
}

Script parseScript(const QString& field)
{
    const QStringList parts = field.split(kSep);
    Script s;
    bool ok = false;
    const int index = part(parts, 1).left(2).toInt(&ok);
    s.effectPart = part(parts, 1);
    s.known = ok && index >= 0 && index < scriptEffects().size();
    if (s.known)
        s.index = index;
    s.text = unescapeBars(part(parts, 2));
    return s;
}

QString scriptField(const Script& script)
{
    const QString text = effectTakesText(script.index) ? escapeBars(script.text) : QString();
    return QStringLiteral("1||") + effectFile(script.index) + kSep + text;
}

} // namespace FeatureFields
