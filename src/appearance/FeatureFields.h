#pragma once

#include <QString>
#include <QStringList>

// The stored forms of the pop-up window (user_info.adBoard) and the script
// effect (user_info.javascript). Both join their parts with "||"; a "|" typed
// into a title, a content or a display text is kept as "&#124;" (the server shows
// these parts as HTML) so the field always splits back into the same parts.
namespace FeatureFields {

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
};
// The effect named by the first two characters of part 1 (the first effect
// when the field is null, off or unreadable) and the text of part 2.
Script parseScript(const QString& field);
// "1||" + effect file + "||" + text, the text left out for effects that take none.
QString scriptField(const Script& script);

} // namespace FeatureFields
