#include "TestMain.h"
#include "text/ErrorText.h"

#include <QSqlError>

#include <cerrno>
#include <cstring>

// Every failure the user can be told about reads in Chinese; the original detail
// follows in brackets only when it says more than the Chinese text.
class TestErrorText : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void describe_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("detail");
        QTest::addColumn<QString>("expected");
        using QS = QAbstractSocket;
        const auto add = [](const char* row, const char* kind, int code, const QString& detail, const QString& text) {
            QTest::newRow(row) << QString(kind) << code << detail << text;
        };
        const QString enoent = QString::fromLocal8Bit(std::strerror(ENOENT));
        add("refused", "socket", QS::ConnectionRefusedError, "Connection refused", "连接被拒绝");
        add("host unreachable", "socket", QS::NetworkError, "Host unreachable", "主机不可达");
        add("network error, other reason", "socket", QS::NetworkError, "Broken pipe", "网络错误（Broken pipe）");
        add("host not found, named", "socket", QS::HostNotFoundError, "Host example.invalid not found",
            "找不到主机（Host example.invalid not found）");
        add("socket without detail", "socket", QS::RemoteHostClosedError, "", "远程主机关闭了连接");
        add("not found", "file", QFileDevice::OpenError, enoent, "文件或文件夹不存在");
        add("disk full", "file", QFileDevice::ResourceError, QString::fromLocal8Bit(std::strerror(ENOSPC)), "磁盘已满");
        add("copy, Qt's reason", "file", QFileDevice::CopyError, "Destination file exists",
            "无法复制文件（Destination file exists）");
        add("sql not a database", "sql", 26, "file is not a database", "文件不是数据库");
        add("sql extended code", "sql", 2067, "UNIQUE constraint failed: font.fontName",
            "数据不符合数据库的约束（UNIQUE constraint failed: font.fontName）");
        add("sql without code", "sql", -1, "Driver not loaded", "无法连接数据库（Driver not loaded）");
        add("zip write, disk full", "zip", ZIP_ER_WRITE, QString::number(ENOSPC), "写入压缩文件失败（磁盘已满）");
        add("zip unknown code", "zip", 999, "", "压缩文件出错");
        add("errno unknown", "system", 12345, "",
            QStringLiteral("系统错误（%1）").arg(QString::fromLocal8Bit(std::strerror(12345))));
    }
    void describe()
    {
        QFETCH(QString, kind);
        QFETCH(int, code);
        QFETCH(QString, detail);
        QFETCH(QString, expected);
        QString text;
        if (kind == "socket")
            text = ErrorText::socket(QAbstractSocket::SocketError(code), detail);
        else if (kind == "file")
            text = ErrorText::file(QFileDevice::FileError(code), detail);
        else if (kind == "sql")
            text = ErrorText::sql(QSqlError(QStringLiteral("Unable to execute statement"), detail,
                                            code < 0 ? QSqlError::ConnectionError : QSqlError::StatementError,
                                            code < 0 ? QString() : QString::number(code)));
        else if (kind == "zip")
            text = ErrorText::zip(code, detail.toInt());
        else
            text = ErrorText::system(code);
        QCOMPARE(text, expected);
    }

    void realFailures()
    {
        QFile missing(QStringLiteral("/nonexistent-folder/a.txt"));
        QVERIFY(!missing.open(QIODevice::ReadOnly));
        QCOMPARE(ErrorText::file(missing), QStringLiteral("文件或文件夹不存在"));

        int code = 0;
        QVERIFY(!zip_open("/nonexistent-folder/a.zip", ZIP_RDONLY, &code));
        zip_error_t error;
        zip_error_init_with_code(&error, code);
        QCOMPARE(ErrorText::zip(&error), QStringLiteral("文件不存在"));
        zip_error_fini(&error);
    }
};

WEBLARK_TEST_MAIN(TestErrorText)
#include "test_errortext.moc"
