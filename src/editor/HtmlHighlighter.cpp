#include "HtmlHighlighter.h"

#include <QRegularExpression>

HtmlHighlighter::HtmlHighlighter(QTextDocument* document) : QSyntaxHighlighter(document) {}

void HtmlHighlighter::highlightBlock(const QString& text)
{
    static const QRegularExpression tag(QStringLiteral("</?[A-Za-z][^\\s>/]*|/?>"));
    static const QRegularExpression attribute(QStringLiteral("\\s([A-Za-z_:][-\\w:.]*)(?==)"));
    static const QRegularExpression quoted(QStringLiteral("\"[^\"]*\"|'[^']*'"));
    static const QRegularExpression entity(QStringLiteral("&#?\\w+;|\\[&#39;\\]|\\[imgpath\\]"));
    const struct {
        const QRegularExpression& re;
        QColor color;
        int group;
    } rules[] = {{tag, QColor(0x80, 0x00, 0x00), 0},
                 {attribute, QColor(0xC0, 0x00, 0x00), 1},
                 {quoted, QColor(0x00, 0x00, 0xC0), 0},
                 {entity, QColor(0x00, 0x80, 0x00), 0}};
    for (const auto& rule : rules) {
        for (auto it = rule.re.globalMatch(text); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            setFormat(m.capturedStart(rule.group), m.capturedLength(rule.group), rule.color);
        }
    }

    // Comments may span lines: state 1 means the block ends inside one.
    const QColor grey(0x80, 0x80, 0x80);
    int start = previousBlockState() == 1 ? 0 : text.indexOf(QStringLiteral("<!--"));
    setCurrentBlockState(0);
    while (start >= 0) {
        const int end = text.indexOf(QStringLiteral("-->"), start);
        if (end < 0) {
            setFormat(start, text.length() - start, grey);
            setCurrentBlockState(1);
            return;
        }
        setFormat(start, end + 3 - start, grey);
        start = text.indexOf(QStringLiteral("<!--"), end + 3);
    }
}
