#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The packed fields of the settings row, one codec each: the feature boxes
// (field02..field05, adBoard, Javascript), the pop-up window (adBoard), the
// script effect (Javascript) and the other pages (field01). The window that
// edits a field and the renderer that publishes it both read it through here.
// Parts are joined with "||"; a "|" typed into a title, a content or a display
// text is kept as "&#124;" (the server shows these parts as HTML) so the field
// always splits back into the same parts.
namespace FeatureFields {

// The state a feature field gives its box: the number before the first "||"
// ("1||300||..." -> 1). None when that is not 0 or 1: the box stays as it is.
std::optional<int> featureValue(const QString& field);
inline bool isOn(const QString& field)
{
    return featureValue(field) == 1;
}

// {"a.htm", "b.htm"} -> "||a.htm||b.htm"; {} -> "".
QString joinOtherPages(const QStringList& names);
// The entries the list shows: "" -> {}; "||a.htm||b.htm" -> {"", "a.htm", "b.htm"}.
QStringList splitOtherPages(const QString& field);

// The pop-up window as its editing window shows it; content holds plain text
// with "\n" line breaks.
struct AdBoard {
    QString width, height, top, left, title, content;
};

// Parts 1..6 of the field; parts that are missing stay empty. A null field reads as "".
AdBoard parseAdBoard(const QString& field);
// "1||" + width + "||" + height + "||" + top + "||" + left + "||" + title + "||" + encoded
// content. Empty sizes count as 300 by 200, an empty position as 0, 0; left is
// stored as an integer.
QString adBoardField(const AdBoard& board);

// The effects of the script window, by list index.
const QStringList& scriptEffects();
// "00.asp" ... "12.asp"
QString effectFile(int index);
// The clock and the mouse stars show no text of their own.
bool effectTakesText(int index);

struct Script {
    int index = 0;
    QString text;
    bool known = false; // part 1 named one of the effects
    QString effectPart; // part 1 as stored
};
// The effect named by the first two characters of part 1 (the first effect
// when the field is null, off or unreadable) and the text of part 2, with
// any "&#124;" turned back into the "|" that was typed.
Script parseScript(const QString& field);
// "1||" + effect file + "||" + text, the text left out for effects that take none.
QString scriptField(const Script& script);

} // namespace FeatureFields
