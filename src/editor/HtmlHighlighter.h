#pragma once

#include <QSyntaxHighlighter>

// Colours tags, attribute names, quoted values, entities and comments in the code view.
class HtmlHighlighter : public QSyntaxHighlighter {
    Q_OBJECT
public:
    explicit HtmlHighlighter(QTextDocument* document);

protected:
    void highlightBlock(const QString& text) override;
};
