// Builds a fresh site database from an SQL script: weblark-mkdb schema.sql out.sbd
#include <QCoreApplication>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextStream>

#include <cstdio>

// Splits a script into statements; keeps CREATE TRIGGER ... END blocks whole.
static QStringList splitStatements(const QString& script)
{
    QStringList out;
    QString current;
    bool inString = false;
    bool inTrigger = false;
    const QStringList lines = script.split(QLatin1Char('\n'));
    for (const QString& rawLine : lines) {
        QString line = rawLine;
        if (!inString && line.trimmed().startsWith(QLatin1String("--")))
            continue;
        if (!inTrigger && !inString && line.trimmed().startsWith(QLatin1String("CREATE TRIGGER"), Qt::CaseInsensitive))
            inTrigger = true;
        for (const QChar c : line) {
            if (c == QLatin1Char('\''))
                inString = !inString;
        }
        current += line + QLatin1Char('\n');
        const QString t = line.trimmed();
        if (inString || !t.endsWith(QLatin1Char(';')))
            continue;
        if (inTrigger) {
            if (t.compare(QLatin1String("END;"), Qt::CaseInsensitive) != 0)
                continue;
            inTrigger = false;
        }
        out << current.trimmed();
        current.clear();
    }
    if (!current.trimmed().isEmpty())
        out << current.trimmed();
    return out;
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: weblark-mkdb schema.sql out.sbd\n");
        return 2;
    }
    QFile in(QString::fromLocal8Bit(argv[1]));
    if (!in.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    const QString script = QString::fromUtf8(in.readAll());
    const QString outPath = QString::fromLocal8Bit(argv[2]);
    const QString tmpPath = outPath + QStringLiteral(".tmp");
    QFile::remove(tmpPath);
    int rc = 0;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("mkdb"));
        db.setDatabaseName(tmpPath);
        if (!db.open()) {
            std::fprintf(stderr, "cannot create %s\n", qPrintable(tmpPath));
            return 1;
        }
        QSqlQuery q(db);
        for (const QString& stmt : splitStatements(script)) {
            if (!q.exec(stmt)) {
                std::fprintf(stderr, "statement failed: %s\n%s\n", qPrintable(q.lastError().text()),
                             stmt.toUtf8().constData());
                rc = 1;
                break;
            }
        }
        q.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("mkdb"));
    if (rc != 0)
        return rc;
    QFile::remove(outPath);
    if (!QFile::rename(tmpPath, outPath)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(outPath));
        return 1;
    }
    return 0;
}
