#pragma once

#include <QList>
#include <QSqlRecord>
#include <QString>

// The record lists of the content window: one HTML table per list page,
// placed into the element "editID" of multiData.htm. Every cell value is
// escaped, so stored text such as "A&B <新>" shows as typed and runs nothing.

// news ("标题", "时间") and imgs ("图片说明文字", "文件名"): ID, value01, value02.
QString buildListHtml(const QList<QSqlRecord>& rows, const QString& format);
// Products: ID, value01 .. value04 under "产品名称", "规格", "单位", "价格".
QString buildProdListHtml(const QList<QSqlRecord>& rows);
