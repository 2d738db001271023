-- The pristine site database: tables, choice rows, the one settings row,
-- and the triggers that keep name links between catalog and content rows.
PRAGMA journal_mode=DELETE;

CREATE TABLE user_info (
  user_ID INTEGER PRIMARY KEY,
  webName TEXT, gov_name TEXT, Address TEXT, linkMan TEXT, Tel TEXT, Mobile TEXT, Fax TEXT,
  Zip TEXT, Email TEXT, logo TEXT, serial TEXT, site_name TEXT,
  defaultTmpl TEXT, headTmpl TEXT, defaultFont TEXT, headFont TEXT, backGround TEXT,
  defaultFile TEXT, topHead TEXT,
  field01 TEXT, field02 TEXT, field03 TEXT, field04 TEXT, field05 TEXT,
  adBoard TEXT, Javascript TEXT, field06 TEXT
);

CREATE TABLE firstCatalog (
  firstCatalog TEXT NOT NULL,
  [catalog] BOOLEAN,
  orderID INTEGER,
  aspFileName TEXT
);
CREATE INDEX firstCatalog_name ON firstCatalog(firstCatalog);

CREATE TABLE secondCatalog (
  firstCatalog TEXT,
  secondCatalog TEXT NOT NULL,
  [catalog] BOOLEAN,
  orderID INTEGER,
  aspFileName TEXT
);
CREATE INDEX secondCatalog_name ON secondCatalog(secondCatalog);
CREATE INDEX secondCatalog_parent ON secondCatalog(firstCatalog);

CREATE TABLE thirdCatalog (
  firstCatalog TEXT,
  secondCatalog TEXT,
  thirdCatalog TEXT NOT NULL,
  [catalog] BOOLEAN,
  orderID INTEGER,
  aspFileName TEXT
);
CREATE INDEX thirdCatalog_name ON thirdCatalog(thirdCatalog);
CREATE INDEX thirdCatalog_parent ON thirdCatalog(secondCatalog);

CREATE TABLE content01 (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  firstCatalog TEXT,
  value01 TEXT,
  value02 TEXT,
  value03 TEXT,
  value04 TEXT,
  value05 TEXT,
  value06 TEXT,
  value07 TEXT,
  value08 TEXT,
  value09 TEXT,
  value10 TEXT,
  value11 TEXT,
  value12 TEXT,
  value13 TEXT,
  value14 TEXT,
  value15 TEXT,
  field01 TEXT,
  field02 TEXT,
  field03 TEXT,
  field04 TEXT,
  field05 TEXT,
  field06 TEXT,
  field07 TEXT,
  field08 TEXT,
  field09 TEXT,
  field10 TEXT,
  field11 TEXT,
  field12 TEXT,
  field13 TEXT,
  field14 TEXT,
  field15 TEXT
);
CREATE INDEX content01_page ON content01(firstCatalog);

CREATE TABLE content02 (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  secondCatalog TEXT,
  value01 TEXT,
  value02 TEXT,
  value03 TEXT,
  value04 TEXT,
  value05 TEXT,
  value06 TEXT,
  value07 TEXT,
  value08 TEXT,
  value09 TEXT,
  value10 TEXT,
  value11 TEXT,
  value12 TEXT,
  value13 TEXT,
  value14 TEXT,
  value15 TEXT,
  field01 TEXT,
  field02 TEXT,
  field03 TEXT,
  field04 TEXT,
  field05 TEXT,
  field06 TEXT,
  field07 TEXT,
  field08 TEXT,
  field09 TEXT,
  field10 TEXT,
  field11 TEXT,
  field12 TEXT,
  field13 TEXT,
  field14 TEXT,
  field15 TEXT
);
CREATE INDEX content02_page ON content02(secondCatalog);

CREATE TABLE content03 (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  thirdCatalog TEXT,
  value01 TEXT,
  value02 TEXT,
  value03 TEXT,
  value04 TEXT,
  value05 TEXT,
  value06 TEXT,
  value07 TEXT,
  value08 TEXT,
  value09 TEXT,
  value10 TEXT,
  value11 TEXT,
  value12 TEXT,
  value13 TEXT,
  value14 TEXT,
  value15 TEXT,
  field01 TEXT,
  field02 TEXT,
  field03 TEXT,
  field04 TEXT,
  field05 TEXT,
  field06 TEXT,
  field07 TEXT,
  field08 TEXT,
  field09 TEXT,
  field10 TEXT,
  field11 TEXT,
  field12 TEXT,
  field13 TEXT,
  field14 TEXT,
  field15 TEXT
);
CREATE INDEX content03_page ON content03(thirdCatalog);

CREATE TABLE defaultTmpl (tmplType TEXT, tmplName TEXT);
CREATE TABLE headTmpl (tmplType TEXT, tmplName TEXT);
CREATE TABLE font (font TEXT);
CREATE TABLE prodType (type_ID INTEGER, type_name TEXT);
CREATE TABLE prodClass (Type_ID INTEGER, class_name TEXT);

-- A renamed catalog row takes its children and its page content along.
CREATE TRIGGER firstCatalog_rename AFTER UPDATE OF firstCatalog ON firstCatalog
WHEN OLD.firstCatalog IS NOT NEW.firstCatalog
BEGIN
  UPDATE secondCatalog SET firstCatalog = NEW.firstCatalog WHERE firstCatalog = OLD.firstCatalog;
  UPDATE thirdCatalog SET firstCatalog = NEW.firstCatalog WHERE firstCatalog = OLD.firstCatalog;
  UPDATE content01 SET firstCatalog = NEW.firstCatalog WHERE firstCatalog = OLD.firstCatalog;
END;

CREATE TRIGGER secondCatalog_rename AFTER UPDATE OF secondCatalog ON secondCatalog
WHEN OLD.secondCatalog IS NOT NEW.secondCatalog
BEGIN
  UPDATE thirdCatalog SET secondCatalog = NEW.secondCatalog WHERE secondCatalog = OLD.secondCatalog;
  UPDATE content02 SET secondCatalog = NEW.secondCatalog WHERE secondCatalog = OLD.secondCatalog;
END;

CREATE TRIGGER thirdCatalog_rename AFTER UPDATE OF thirdCatalog ON thirdCatalog
WHEN OLD.thirdCatalog IS NOT NEW.thirdCatalog
BEGIN
  UPDATE content03 SET thirdCatalog = NEW.thirdCatalog WHERE thirdCatalog = OLD.thirdCatalog;
END;

-- A deleted catalog row takes its descendants and their content along.
CREATE TRIGGER firstCatalog_delete AFTER DELETE ON firstCatalog
BEGIN
  DELETE FROM secondCatalog WHERE firstCatalog = OLD.firstCatalog;
  DELETE FROM thirdCatalog WHERE firstCatalog = OLD.firstCatalog;
  DELETE FROM content01 WHERE firstCatalog = OLD.firstCatalog;
END;

CREATE TRIGGER secondCatalog_delete AFTER DELETE ON secondCatalog
BEGIN
  DELETE FROM thirdCatalog WHERE secondCatalog = OLD.secondCatalog;
  DELETE FROM content02 WHERE secondCatalog = OLD.secondCatalog;
END;

CREATE TRIGGER thirdCatalog_delete AFTER DELETE ON thirdCatalog
BEGIN
  DELETE FROM content03 WHERE thirdCatalog = OLD.thirdCatalog;
END;

-- The one settings row.
INSERT INTO user_info (user_ID, webName, gov_name, Address, linkMan, Tel, Mobile, Fax, Zip, Email, logo,
  serial, site_name, defaultTmpl, headTmpl, defaultFont, headFont, backGround, defaultFile, topHead,
  field01, field02, field03, field04, field05, adBoard, Javascript, field06)
VALUES (1, '', '', '', '', '', '', '', '', '', '', '', '', '', '', '', '', '', '', '', '',
  '', '', '', '', '', '', '0||2020/1/1');

-- Home-page and inner-page templates: thumbnail <code>.png, full picture <code>.jpg under template/.
INSERT INTO defaultTmpl (tmplType, tmplName) VALUES ('政府机关', 'D0101.png');
INSERT INTO defaultTmpl (tmplType, tmplName) VALUES ('政府机关', 'D0102.png');
INSERT INTO defaultTmpl (tmplType, tmplName) VALUES ('政府机关', 'D0103.png');
INSERT INTO defaultTmpl (tmplType, tmplName) VALUES ('政府机关', 'D0104.png');
INSERT INTO defaultTmpl (tmplType, tmplName) VALUES ('企业单位', 'D0201.png');
INSERT INTO defaultTmpl (tmplType, tmplName) VALUES ('企业单位', 'D0202.png');
INSERT INTO defaultTmpl (tmplType, tmplName) VALUES ('企业单位', 'D0203.png');
INSERT INTO defaultTmpl (tmplType, tmplName) VALUES ('企业单位', 'D0204.png');
INSERT INTO defaultTmpl (tmplType, tmplName) VALUES ('学校医院', 'D0301.png');
INSERT INTO defaultTmpl (tmplType, tmplName) VALUES ('学校医院', 'D0302.png');
INSERT INTO defaultTmpl (tmplType, tmplName) VALUES ('学校医院', 'D0303.png');
INSERT INTO headTmpl (tmplType, tmplName) VALUES ('政府机关', 'H0101.png');
INSERT INTO headTmpl (tmplType, tmplName) VALUES ('政府机关', 'H0102.png');
INSERT INTO headTmpl (tmplType, tmplName) VALUES ('政府机关', 'H0103.png');
INSERT INTO headTmpl (tmplType, tmplName) VALUES ('企业单位', 'H0201.png');
INSERT INTO headTmpl (tmplType, tmplName) VALUES ('企业单位', 'H0202.png');
INSERT INTO headTmpl (tmplType, tmplName) VALUES ('企业单位', 'H0203.png');
INSERT INTO headTmpl (tmplType, tmplName) VALUES ('学校医院', 'H0301.png');
INSERT INTO headTmpl (tmplType, tmplName) VALUES ('学校医院', 'H0302.png');

-- Name styles: pictures under fonts/.
INSERT INTO font (font) VALUES ('font01.png');
INSERT INTO font (font) VALUES ('font02.png');
INSERT INTO font (font) VALUES ('font03.png');
INSERT INTO font (font) VALUES ('font04.png');
INSERT INTO font (font) VALUES ('font05.png');
INSERT INTO font (font) VALUES ('font06.png');
INSERT INTO font (font) VALUES ('font07.png');
INSERT INTO font (font) VALUES ('font08.png');

-- Product types and their classes.
INSERT INTO prodType (type_ID, type_name) VALUES (1, '电子产品');
INSERT INTO prodType (type_ID, type_name) VALUES (2, '机械设备');
INSERT INTO prodType (type_ID, type_name) VALUES (3, '农副产品');
INSERT INTO prodType (type_ID, type_name) VALUES (4, '办公用品');
INSERT INTO prodType (type_ID, type_name) VALUES (5, '服装纺织');
INSERT INTO prodType (type_ID, type_name) VALUES (6, '建筑材料');
INSERT INTO prodClass (Type_ID, class_name) VALUES (1, '通讯设备');
INSERT INTO prodClass (Type_ID, class_name) VALUES (1, '电脑及配件');
INSERT INTO prodClass (Type_ID, class_name) VALUES (1, '家用电器');
INSERT INTO prodClass (Type_ID, class_name) VALUES (1, '电子元器件');
INSERT INTO prodClass (Type_ID, class_name) VALUES (2, '农业机械');
INSERT INTO prodClass (Type_ID, class_name) VALUES (2, '工程机械');
INSERT INTO prodClass (Type_ID, class_name) VALUES (2, '机床');
INSERT INTO prodClass (Type_ID, class_name) VALUES (2, '五金工具');
INSERT INTO prodClass (Type_ID, class_name) VALUES (3, '粮油');
INSERT INTO prodClass (Type_ID, class_name) VALUES (3, '果蔬');
INSERT INTO prodClass (Type_ID, class_name) VALUES (3, '茶叶');
INSERT INTO prodClass (Type_ID, class_name) VALUES (3, '畜禽水产');
INSERT INTO prodClass (Type_ID, class_name) VALUES (4, '文具');
INSERT INTO prodClass (Type_ID, class_name) VALUES (4, '办公设备');
INSERT INTO prodClass (Type_ID, class_name) VALUES (4, '办公家具');
INSERT INTO prodClass (Type_ID, class_name) VALUES (5, '男装');
INSERT INTO prodClass (Type_ID, class_name) VALUES (5, '女装');
INSERT INTO prodClass (Type_ID, class_name) VALUES (5, '童装');
INSERT INTO prodClass (Type_ID, class_name) VALUES (5, '纺织面料');
INSERT INTO prodClass (Type_ID, class_name) VALUES (6, '水泥');
INSERT INTO prodClass (Type_ID, class_name) VALUES (6, '钢材');
INSERT INTO prodClass (Type_ID, class_name) VALUES (6, '装饰材料');
