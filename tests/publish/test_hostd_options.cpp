#include "OptionsFile.h"
#include "TestFiles.h"
#include "TestMain.h"

#include <QCommandLineParser>
#include <QTemporaryDir>

class TestHostdOptions : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Each line of the configuration file and the option it stands for, or its fault.
    void lines()
    {
        const std::tuple<QByteArray, QStringList, QStringList> rows[] = {
            {"port = 1234\n", {"--port=1234"}, {}},
            {"\xEF\xBB\xBF  notice\t=  /etc/a b.htm  \r\n", {"--notice=/etc/a b.htm"}, {}},
            {"# listen = 0.0.0.0\n\n   \nmax-upload-mb=20", {"--max-upload-mb=20"}, {}},
            {"site-domain = a=b#c\n", {"--site-domain=a=b#c"}, {}},
            {"notice =\nverbose\n", {"--notice=", "--verbose"}, {}},
            {"port = 1\n= 5\n", {"--port=1"}, {"f.conf:2: not an option line: \"= 5\" (write name = value)"}},
            {"listen address = ::1\n--port = 1\n",
             {},
             {"f.conf:1: not an option line: \"listen address = ::1\" (write name = value)",
              "f.conf:2: not an option line: \"--port = 1\" (write name = value)"}},
            {"config = other.conf\n", {}, {"f.conf:1: a configuration file cannot name another one"}},
        };
        for (const auto& [text, options, expectedFaults] : rows) {
            QStringList faults;
            QCOMPARE(OptionsFile::parse(text, QStringLiteral("f.conf"), &faults), options);
            QCOMPARE(faults, expectedFaults);
        }
    }

    // The file's options go first, so that the command line wins wherever both set one.
    void commandLineOverridesFile()
    {
        QTemporaryDir dir;
        const QString conf = dir.filePath("hostd.conf");
        writeFile(conf, "port = 1\nlisten = 0.0.0.0\n");
        const std::tuple<QStringList, QString, QString, QString> rows[] = {
            {{"hostd", "--config", conf, "--port", "99"}, "99", "0.0.0.0", ""},
            {{"hostd", "--port=99", "--config=" + conf}, "99", "0.0.0.0", ""},
            {{"hostd", "--config", conf}, "1", "0.0.0.0", ""},
            {{"hostd", "--port", "5"}, "5", "", ""},
            {{"hostd", "--config", dir.filePath("none.conf"), "--port", "5"}, "5", "", "--config: cannot read"},
        };
        for (const auto& [arguments, port, listen, fault] : rows) {
            QStringList faults;
            QCommandLineParser parser;
            parser.addOptions({{"port", "", "N"}, {"listen", "", "A"}, {"config", "", "FILE"}});
            QVERIFY(parser.parse(OptionsFile::expand(arguments, &faults)));
            QCOMPARE(parser.value("port"), port);
            QCOMPARE(parser.value("listen"), listen);
            QCOMPARE(faults.join('\n').left(fault.size()), fault);
            QCOMPARE(faults.isEmpty(), fault.isEmpty());
        }
    }
};

WEBLARK_TEST_MAIN(TestHostdOptions)
#include "test_hostd_options.moc"
