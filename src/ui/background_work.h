// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QObject>

#include <functional>

class QThread;

// Long work off the GUI thread. Each piece of work runs on a thread of its own and returns what is to be
// done with its result, which then runs on this object's (the GUI) thread, through its event queue. Work
// must not throw; whatever escapes it anyway is caught and its follow-up dropped. Destroying the object
// waits for the work under way, so a follow-up never reaches an object that is gone: work that can take
// long must watch a cancel flag that its owner raises first.
class BackgroundWork : public QObject
{
    Q_OBJECT

public:
    using FollowUp = std::function<void()>;

    explicit BackgroundWork(QObject *parent = nullptr);
    ~BackgroundWork() override;

    void run(std::function<FollowUp()> work);
    // From any thread: runs a step on this object's thread, while the object lives (progress reports).
    void post(FollowUp step);
    // Work started whose follow-up has not run yet.
    int pending() const { return m_pending; }

private:
    QList<QThread *> m_threads;
    int m_pending = 0;
};
