#include "BackgroundJob.h"

#include <QThread>

BackgroundJob::BackgroundJob(QObject* parent) : QObject(parent) {}

BackgroundJob* BackgroundJob::start(Work work, QObject* parent)
{
    auto* job = new BackgroundJob(parent);
    // The results are written before the thread ends and read after its
    // finished signal, so they need no lock.
    job->m_thread = QThread::create([job, work = std::move(work)] { job->m_ok = work(&job->m_error); });
    connect(job->m_thread, &QThread::finished, job, [job] { emit job->finished(job->m_ok, job->m_error); });
    job->m_thread->start();
    return job;
}

BackgroundJob::~BackgroundJob()
{
    m_thread->wait();
    delete m_thread;
}

bool BackgroundJob::isRunning() const
{
    return m_thread->isRunning();
}
