#include "ListHtml.h"

#include "data/SiteDb.h"

namespace {

const QLatin1String kHead("<table width=100% border=0 cellpadding=0 cellspacing=0 bgcolor=#990000>"
                          "<tr>"
                          "<td><table width=100% border=0 cellspacing=1 cellpadding=0>"
                          "<form name='formData' method=post onSubmit='return false;'>");
const QLatin1String kTail("</form></table></td></tr></table>");

void appendCell(QString& html, const QVariant& value)
{
    html += QLatin1String("<td>&nbsp;");
    html += value.toString().toHtmlEscaped();
    html += QLatin1String("</td>");
}

// The radio button that ticks the record: getID(n) of the list page stores it.
void appendIdCell(QString& html, const QString& id)
{
    html += QLatin1String("<td height=22>&nbsp;<input type='radio' name='ID'  value='");
    html += id;
    html += QLatin1String("' onClick='getID(");
    html += id;
    html += QLatin1String(");'>");
    html += id;
    html += QLatin1String("</td>");
}

QString emptyRow(int columns)
{
    return QStringLiteral("<tr bgcolor=white><td colspan=%1 height=30><font color=red>"
                          "\u3000\u3000\u3000\u3000暂时还没有数据！</font></td></tr>")
        .arg(columns);
}

QString buildTable(const QList<QSqlRecord>& rows, const QString& header, const QStringList& columns)
{
    QString html;
    html.reserve(1024 + rows.size() * (160 + 80 * columns.size()));
    html += kHead;
    html += header;
    for (const QSqlRecord& row : rows) {
        html += QLatin1String("<tr bgcolor=#FFFFFF>");
        appendIdCell(html, fieldText(row, QStringLiteral("ID")).toHtmlEscaped());
        for (const QString& c : columns)
            appendCell(html, fieldValue(row, c));
        html += QLatin1String("</tr>");
    }
    if (rows.isEmpty())
        html += emptyRow(columns.size() + 1);
    html += kTail;
    return html;
}

} // namespace

QString buildListHtml(const QList<QSqlRecord>& rows, const QString& format)
{
    const bool news = format == QLatin1String("news");
    const QString first = news ? QStringLiteral("标题") : QStringLiteral("图片说明文字");
    const QString second = news ? QStringLiteral("时间") : QStringLiteral("文件名");
    const QString header =
        QStringLiteral("<tr align=center bgcolor=#CCCCCC>"
                       "<td width=12% height=22><input name='currID' type='hidden' id='currID'>ID</td>"
                       "<td width=64%>") +
        first + QStringLiteral("</td><td width=24%>") + second + QStringLiteral("</td></tr>");
    return buildTable(rows, header, {QStringLiteral("value01"), QStringLiteral("value02")});
}

QString buildProdListHtml(const QList<QSqlRecord>& rows)
{
    const QString header =
        QStringLiteral("<tr align=center bgcolor=#CCCCCC>"
                       "<td width=8% height=22><input name='currID' type='hidden' id='currID'>ID</td>"
                       "<td>产品名称</td><td>规格</td><td>单位</td><td>价格</td></tr>");
    return buildTable(
        rows, header,
        {QStringLiteral("value01"), QStringLiteral("value02"), QStringLiteral("value03"), QStringLiteral("value04")});
}
