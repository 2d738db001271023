#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QThread;

// Runs one piece of file work (backup, restore) on a worker thread and reports
// its outcome on the thread that started it. The work must not touch the
// database connection or any window. Destroying the job waits for the work.
class BackgroundJob : public QObject {
    Q_OBJECT
public:
    using Work = std::function<bool(QString* error)>;

    // Starts work at once; the job belongs to parent.
    static BackgroundJob* start(Work work, QObject* parent);
    ~BackgroundJob() override;

    bool isRunning() const;

Q_SIGNALS:
    void finished(bool ok, const QString& error);

private:
    explicit BackgroundJob(QObject* parent);

    QThread* m_thread = nullptr;
    bool m_ok = false;
    QString m_error;
};
