#pragma once

#include <QFile>
#include <QProcess>
#include <QString>

#include <cstdio>

// weblark-hostd (program) started on free ports over the data folder, with one account
// "bench" written into folder/accounts.txt. Returns the HTTP port it announces; 0, with a
// line on stderr, when it did not start.
inline quint16 startHostd(QProcess& hostd, const QString& program, const QString& folder, const QString& data,
                          const QString& appdir)
{
    QFile accounts(folder + QStringLiteral("/accounts.txt"));
    if (!accounts.open(QIODevice::WriteOnly) || accounts.write("bench bench\n") < 0) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(accounts.fileName()));
        return 0;
    }
    accounts.close();
    hostd.setStandardErrorFile(QProcess::nullDevice());
    hostd.start(program, {"--port", "0", "--http-port", "0", "--accounts", accounts.fileName(), "--data", data,
                          "--appdir", appdir});
    quint16 port = 0;
    while (!port && hostd.waitForReadyRead(10000))
        while (hostd.canReadLine()) {
            const QByteArray line = hostd.readLine().trimmed();
            if (line.startsWith("http "))
                port = quint16(line.mid(5).toUInt());
        }
    if (!port)
        std::fprintf(stderr, "weblark-hostd did not start\n");
    return port;
}
