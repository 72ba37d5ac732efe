// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/background_work.h"

#include <QThread>

BackgroundWork::BackgroundWork(QObject *parent) : QObject(parent) {}

BackgroundWork::~BackgroundWork()
{
    for (QThread *thread : std::as_const(m_threads)) {
        thread->wait();
        delete thread;
    }
}

void BackgroundWork::run(std::function<FollowUp()> work)
{
    ++m_pending;
    QThread *thread = QThread::create([this, work = std::move(work)] {
        FollowUp followUp;
        try {
            followUp = work();
        } catch (...) {
            followUp = nullptr;
        }
        QMetaObject::invokeMethod(
            this,
            [this, followUp = std::move(followUp)] {
                --m_pending;
                if (followUp)
                    followUp();
            },
            Qt::QueuedConnection);
    });
    m_threads.append(thread);
    connect(thread, &QThread::finished, this, [this, thread] {
        m_threads.removeOne(thread);
        thread->deleteLater();
    });
    thread->start();
}

void BackgroundWork::post(FollowUp step)
{
    QMetaObject::invokeMethod(this, std::move(step), Qt::QueuedConnection);
}
