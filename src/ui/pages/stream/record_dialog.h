// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "capture/record.h"

#include <QDialog>
#include <QList>
#include <QString>

#include <atomic>
#include <memory>

class BackgroundWork;
class Platform;
class QCheckBox;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTemporaryDir;

// "Felvétel": records one logic channel of an analyser that libsigrok drives into a session file in a
// temporary folder. The devices are looked for and the recording is made on a worker thread; the dialog
// shows the progress and stays usable meanwhile. "Leállítás" ends the recording early and keeps what was
// recorded; "Mégse" or closing the dialog throws the recording away. A recording that fails gets one
// message through the platform and the dialog stays open for another try.
class RecordDialog : public QDialog
{
    Q_OBJECT

public:
    explicit RecordDialog(Platform &platform, QWidget *parent = nullptr);
    ~RecordDialog() override;

    // A search for devices or a recording is under way, or its result has not been shown yet.
    bool busy() const;
    // Looks for devices on the worker; the combo lists them when it is done.
    void scan();

Q_SIGNALS:
    // A recording was made: the session file at path, in folder, which goes when the last holder lets it
    // go; channel is the channel recorded.
    void recorded(std::shared_ptr<QTemporaryDir> folder, const QString &path, const QString &channel);

public Q_SLOTS:
    void reject() override;

private:
    struct Job;
    void scanned(const rs232::capture::ScanResult &result);
    void deviceChosen(int index);
    // The driver argument of the device chosen, or the one typed.
    QString driverArgument() const;
    void start();
    void stop();
    void progressed(const rs232::capture::RecordProgress &progress);
    void finished(const rs232::capture::RecordResult &result);
    void updateControls();

    Platform &m_platform;
    BackgroundWork *m_work = nullptr;
    QComboBox *m_device = nullptr;
    QPushButton *m_scanButton = nullptr;
    QComboBox *m_channel = nullptr;
    QComboBox *m_rate = nullptr;
    QSpinBox *m_duration = nullptr;
    QCheckBox *m_trigger = nullptr;
    QProgressBar *m_progress = nullptr;
    QLabel *m_status = nullptr;
    QPushButton *m_startButton = nullptr;
    QPushButton *m_stopButton = nullptr;
    QPushButton *m_cancelButton = nullptr;

    QList<rs232::capture::DeviceInfo> m_devices; // as the combo lists them
    bool m_scanning = false;
    std::shared_ptr<Job> m_job; // the recording under way; none once it is cancelled or has ended
    std::shared_ptr<QTemporaryDir> m_folder; // where it is written
    QString m_path, m_channelName;
};

// The user's message for a recording or a search for devices that failed, in Hungarian; libsigrok's own
// words follow where they tell more.
QString recordFailureMessage(const rs232::capture::RecordError &error);
