// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/pages/stream/record_dialog.h"

#include "ui/Platform.h"
#include "ui/background_work.h"
#include "ui/language.h"
#include "ui/pages/stream/capture_texts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include <algorithm>
#include <new>

using rs232::capture::RecordControl;
using rs232::capture::RecordProblem;

namespace {

// Serial lines run at up to a few hundred kbit/s: 1 MHz gives a 115 200 bit/s bit eight samples, and a
// device that offers it is set to it at first.
constexpr std::uint64_t kPreferredRate = 1'000'000;
constexpr int kDefaultMilliseconds = 1000;
constexpr int kMaxMilliseconds = 10 * 60 * 1000;

// The rates the combo offers: a device's list, or for a range the 1-2-5 steps within it.
std::vector<std::uint64_t> offeredRates(const rs232::capture::SampleRates &rates)
{
    if (rates.high == 0)
        return rates.list;
    std::vector<std::uint64_t> offered;
    for (std::uint64_t decade = 1; decade <= rates.high && decade <= 10'000'000'000ULL; decade *= 10)
        for (std::uint64_t step : {1, 2, 5})
            if (decade * step >= 1000 && rates.offers(decade * step))
                offered.push_back(decade * step);
    if (offered.empty() && rates.highest() > 0)
        offered.push_back(rates.highest());
    return offered;
}

QString deviceCaption(const rs232::capture::DeviceInfo &device)
{
    QString name =
        QString::fromStdString(device.vendor + (device.vendor.empty() ? "" : " ") + device.model).trimmed();
    if (name.isEmpty())
        name = QString::fromStdString(device.driver);
    QString where = QString::fromStdString(device.driver);
    if (!device.connection.empty())
        where += QStringLiteral(", ") + QString::fromStdString(device.connection);
    return QStringLiteral("%1 (%2)").arg(name, where);
}

QString specOf(const rs232::capture::DeviceInfo &device)
{
    QString argument = QString::fromStdString(device.driver);
    if (!device.connection.empty())
        argument += QStringLiteral(":conn=") + QString::fromStdString(device.connection);
    return argument;
}

// A name a file system takes: the driver's part of a argument, letters, digits and "-" only.
QString fileSafeDriver(const QString &argument)
{
    QString name = argument.section(QLatin1Char(':'), 0, 0);
    for (QChar &c : name)
        if (!c.isLetterOrNumber() && c != QLatin1Char('-'))
            c = QLatin1Char('_');
    return name.isEmpty() ? QStringLiteral("eszkoz") : name;
}

} // namespace

// A recording under way: the worker reads its control flag; progress is posted only when it shows.
struct RecordDialog::Job
{
    std::atomic<RecordControl> control{RecordControl::Run};
    std::atomic<int> lastPermille{-1};
    std::atomic<bool> lastWaiting{false};
};

QString recordFailureMessage(const rs232::capture::RecordError &error)
{
    const QString detail = QString::fromStdString(error.detail);
    const auto withDetail = [&detail](const QString &text) {
        return detail.isEmpty() ? text : text + QStringLiteral("\n\n") + detail;
    };
    switch (error.problem) {
    case RecordProblem::None:
    case RecordProblem::Cancelled:
        return {};
    case RecordProblem::LibraryFailed:
        return withDetail(QCoreApplication::translate(
            "RecordDialog", "A logikai analizátorokat kezelő könyvtár (libsigrok) nem indul el."));
    case RecordProblem::BadDriverArgument:
        return QCoreApplication::translate(
                   "RecordDialog", "„%1” nem eszközmegadás. Alakja: MEGHAJTÓ vagy MEGHAJTÓ:kulcs=érték, "
                                   "például fx2lafw vagy fx2lafw:conn=1.5.")
            .arg(detail);
    case RecordProblem::NoSuchDriver:
        return QCoreApplication::translate("RecordDialog", "Nincs „%1” nevű meghajtó.").arg(detail);
    case RecordProblem::BadDriverOption:
        return QCoreApplication::translate("RecordDialog", "A meghajtó nem fogadja el ezt a megadást: %1")
            .arg(detail);
    case RecordProblem::NoDevice:
        return QCoreApplication::translate(
                   "RecordDialog",
                   "Nem található eszköz: %1.\n\nCsatlakoztassa az analizátort, majd keressen újra.")
            .arg(detail);
    case RecordProblem::OpenFailed:
        return withDetail(QCoreApplication::translate(
            "RecordDialog", "Az eszköz nem nyitható meg: talán nincs jogosultság a használatához, "
                            "vagy egy másik program használja."));
    case RecordProblem::NoLogicChannel:
        return QCoreApplication::translate("RecordDialog", "Az eszköznek nincs logikai csatornája.");
    case RecordProblem::NoSuchChannel:
        return QCoreApplication::translate("RecordDialog", "Az eszköznek nincs „%1” nevű csatornája.")
            .arg(detail);
    case RecordProblem::BadSampleRate:
        return QCoreApplication::translate("RecordDialog",
                                           "Ezt a mintavételi frekvenciát az eszköz nem támogatja: %1 Hz.")
            .arg(detail);
    case RecordProblem::BadLimit:
        return withDetail(QCoreApplication::translate(
            "RecordDialog", "Ez az időtartam ennél a mintavételi frekvenciánál nem vehető fel."));
    case RecordProblem::BadSetting:
        return QCoreApplication::translate("RecordDialog", "Az eszköz nem fogadja el ezt a beállítást: %1")
            .arg(detail);
    case RecordProblem::BadTrigger:
        return withDetail(
            QCoreApplication::translate("RecordDialog", "Az eszköz nem tud az első lefutó élre indítani."));
    case RecordProblem::AcquisitionFailed:
        return withDetail(
            QCoreApplication::translate("RecordDialog", "A felvétel megszakadt: talán kihúzták az eszközt."));
    case RecordProblem::NoSamples:
        return QCoreApplication::translate(
            "RecordDialog", "A felvételben nincs egyetlen minta sem: az indító lefutó él nem jött meg.");
    case RecordProblem::FileError:
        return withDetail(
            QCoreApplication::translate("RecordDialog", "A felvétel nem írható az ideiglenes mappába."));
    }
    return withDetail(QCoreApplication::translate("RecordDialog", "A felvétel nem sikerült."));
}

RecordDialog::RecordDialog(Platform &platform, QWidget *parent)
    : QDialog(parent), m_platform(platform), m_work(new BackgroundWork)
{
    setObjectName(QStringLiteral("stream_record_dialog"));

    m_device = new QComboBox;
    m_device->setObjectName(QStringLiteral("stream_record_device"));
    // A device that is found only where it is told to look (a serial one) is typed as a driver argument.
    m_device->setEditable(true);
    m_device->setInsertPolicy(QComboBox::NoInsert);
    m_device->setMinimumContentsLength(28);
    m_scanButton = new QPushButton;
    m_scanButton->setObjectName(QStringLiteral("stream_record_scan"));
    m_channel = new QComboBox;
    m_channel->setObjectName(QStringLiteral("stream_record_channel"));
    m_channel->setEditable(true); // for a device typed as a argument
    m_channel->setInsertPolicy(QComboBox::NoInsert);
    m_rate = new QComboBox;
    m_rate->setObjectName(QStringLiteral("stream_record_rate"));
    m_duration = new QSpinBox;
    m_duration->setObjectName(QStringLiteral("stream_record_duration"));
    m_duration->setRange(1, kMaxMilliseconds);
    m_duration->setValue(kDefaultMilliseconds);
    m_duration->setSuffix(QStringLiteral(" ms"));
    m_trigger = new QCheckBox;
    m_trigger->setObjectName(QStringLiteral("stream_record_trigger"));
    m_progress = new QProgressBar;
    m_progress->setObjectName(QStringLiteral("stream_record_progress"));
    m_progress->setRange(0, 1000);
    m_progress->setValue(0);
    m_progress->setTextVisible(false);
    m_status = new QLabel;
    m_status->setObjectName(QStringLiteral("stream_record_status"));
    m_status->setWordWrap(true);
    m_startButton = new QPushButton;
    m_startButton->setObjectName(QStringLiteral("stream_record_start"));
    m_startButton->setDefault(true);
    m_stopButton = new QPushButton;
    m_stopButton->setObjectName(QStringLiteral("stream_record_stop"));
    m_cancelButton = new QPushButton;
    m_cancelButton->setObjectName(QStringLiteral("stream_record_cancel"));

    auto *deviceRow = new QHBoxLayout;
    deviceRow->addWidget(m_device, 1);
    deviceRow->addWidget(m_scanButton);
    auto *form = new QFormLayout;
    auto *deviceLabel = new QLabel, *channelLabel = new QLabel, *rateLabel = new QLabel,
         *durationLabel = new QLabel;
    form->addRow(deviceLabel, deviceRow);
    form->addRow(channelLabel, m_channel);
    form->addRow(rateLabel, m_rate);
    form->addRow(durationLabel, m_duration);
    // The captions in the window's language, and again after every switch of it.
    language::follow(this, [=, this] {
        setWindowTitle(tr("Felvétel logikai analizátorral"));
        m_device->setToolTip(tr("A megtalált eszközök; más is megadható meghajtó:kulcs=érték alakban, "
                                "például fx2lafw:conn=1.5"));
        m_scanButton->setText(tr("Keresés"));
        m_scanButton->setToolTip(tr("A csatlakoztatott eszközök keresése újra"));
        m_trigger->setText(tr("Indítás az első lefutó élre"));
        m_trigger->setToolTip(
            tr("A felvétel az első start bitnél (a nyugalmi 1 szintről 0-ra váltásnál) kezdődik"));
        m_startButton->setText(tr("Felvétel"));
        m_stopButton->setText(tr("Leállítás"));
        m_stopButton->setToolTip(tr("A felvétel befejezése most: ami eddig felvételre került, megmarad"));
        m_cancelButton->setText(tr("Mégse"));
        deviceLabel->setText(tr("Eszköz:"));
        channelLabel->setText(tr("Csatorna:"));
        rateLabel->setText(tr("Mintavétel:"));
        durationLabel->setText(tr("Időtartam:"));
    });
    form->addRow(QString(), m_trigger);
    auto *buttons = new QDialogButtonBox;
    buttons->addButton(m_startButton, QDialogButtonBox::ActionRole);
    buttons->addButton(m_stopButton, QDialogButtonBox::ActionRole);
    buttons->addButton(m_cancelButton, QDialogButtonBox::RejectRole);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_progress);
    layout->addWidget(m_status);
    layout->addWidget(buttons);

    connect(m_scanButton, &QPushButton::clicked, this, &RecordDialog::scan);
    connect(m_device, &QComboBox::currentIndexChanged, this, &RecordDialog::deviceChosen);
    connect(m_device, &QComboBox::editTextChanged, this, &RecordDialog::updateControls);
    connect(m_startButton, &QPushButton::clicked, this, &RecordDialog::start);
    connect(m_stopButton, &QPushButton::clicked, this, &RecordDialog::stop);
    connect(m_cancelButton, &QPushButton::clicked, this, &RecordDialog::reject);
    updateControls();
}

RecordDialog::~RecordDialog()
{
    // A recording under way is thrown away, and the worker ends before the dialog does.
    if (m_job)
        m_job->control = RecordControl::Cancel;
    delete m_work;
}

bool RecordDialog::busy() const
{
    return m_work->pending() > 0;
}

void RecordDialog::scan()
{
    if (m_scanning)
        return;
    m_scanning = true;
    m_status->setText(tr("Eszközök keresése…"));
    updateControls();
    m_work->run([this]() -> BackgroundWork::FollowUp {
        auto result = std::make_shared<rs232::capture::ScanResult>();
        try {
            *result = rs232::capture::scanDevices();
        } catch (const std::bad_alloc &) {
            result->error = {RecordProblem::LibraryFailed, "out of memory"};
        }
        return [this, result] { scanned(*result); };
    });
}

void RecordDialog::scanned(const rs232::capture::ScanResult &result)
{
    m_scanning = false;
    m_status->clear();
    if (!result) {
        updateControls();
        m_platform.showMessage(
            Platform::MessageKind::Error,
            tr("Az eszközök keresése nem sikerült.\n\n%1").arg(recordFailureMessage(result.error)));
        return;
    }
    // The device chosen stays chosen when it is found again.
    const QString chosen = driverArgument();
    {
        const QSignalBlocker blocker(m_device);
        m_device->clear();
        m_devices.clear();
        for (const rs232::capture::DeviceInfo &device : result.devices) {
            m_devices.append(device);
            m_device->addItem(deviceCaption(device), specOf(device));
        }
    }
    int index = m_device->findData(chosen);
    if (index < 0) {
        // A real analyser comes before the demo device.
        const auto real =
            std::find_if(m_devices.cbegin(), m_devices.cend(),
                         [](const rs232::capture::DeviceInfo &d) { return d.driver != "demo"; });
        index = real != m_devices.cend() ? int(real - m_devices.cbegin()) : (m_devices.isEmpty() ? -1 : 0);
    }
    m_device->setCurrentIndex(index);
    deviceChosen(index);
    if (m_devices.isEmpty())
        m_status->setText(tr("Nem található eszköz."));
    updateControls();
}

void RecordDialog::deviceChosen(int index)
{
    if (index < 0 || index >= m_devices.size())
        return;
    const rs232::capture::DeviceInfo &device = m_devices.at(index);
    const QString channel = m_channel->currentText();
    m_channel->clear();
    for (const std::string &name : device.logicChannels)
        m_channel->addItem(QString::fromStdString(name));
    m_channel->setCurrentIndex(std::max(0, m_channel->findText(channel)));
    const std::uint64_t rate = m_rate->currentData().toULongLong();
    m_rate->clear();
    for (std::uint64_t offered : offeredRates(device.sampleRates))
        m_rate->addItem(frequencyText(double(offered)), QVariant::fromValue<qulonglong>(offered));
    int chosen = m_rate->findData(QVariant::fromValue<qulonglong>(rate));
    if (chosen < 0)
        chosen = m_rate->findData(QVariant::fromValue<qulonglong>(kPreferredRate));
    if (chosen < 0)
        chosen = m_rate->count() - 1;
    m_rate->setCurrentIndex(chosen);
    m_trigger->setEnabled(device.triggers);
    if (!device.triggers)
        m_trigger->setChecked(false);
}

QString RecordDialog::driverArgument() const
{
    const QString typed = m_device->currentText().trimmed();
    const int index = m_device->currentIndex();
    if (index >= 0 && m_device->itemText(index) == m_device->currentText())
        return m_device->itemData(index).toString();
    return typed;
}

void RecordDialog::start()
{
    if (m_job || busy())
        return;
    auto folder =
        std::make_shared<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/rs232-felvetel-XXXXXX"));
    if (!folder->isValid()) {
        m_platform.showMessage(
            Platform::MessageKind::Error,
            tr("A felvételhez nem hozható létre ideiglenes mappa.\n\n%1").arg(folder->errorString()));
        return;
    }
    const QString argument = driverArgument();
    m_channelName = m_channel->currentText();
    m_path = folder->filePath(
        QStringLiteral("felvetel_%1_%2.sr")
            .arg(fileSafeDriver(argument), m_platform.now().toString(QStringLiteral("yyyyMMdd_HHmmss"))));
    m_folder = std::move(folder);

    rs232::capture::RecordOptions options;
    options.driver = argument.toStdString();
    if (!m_channelName.isEmpty())
        options.channels = {m_channelName.toStdString()};
    options.sampleRate = m_rate->currentData().toULongLong();
    options.milliseconds = static_cast<std::uint64_t>(m_duration->value());
    if (m_trigger->isChecked() && m_trigger->isEnabled() && !m_channelName.isEmpty())
        options.trigger = m_channelName.toStdString() + "=f";
    options.output = m_path.toStdString();

    auto job = std::make_shared<Job>();
    m_job = job;
    m_progress->setRange(0, 1000);
    m_progress->setValue(0);
    m_status->setText(tr("Felvétel…"));
    updateControls();
    BackgroundWork *work = m_work;
    m_work->run([this, work, job, options]() -> BackgroundWork::FollowUp {
        auto result = std::make_shared<rs232::capture::RecordResult>();
        try {
            *result = rs232::capture::record(
                options,
                [this, work, job](const rs232::capture::RecordProgress &progress) {
                    const int permille = static_cast<int>(progress.share * 1000.0);
                    const bool moved = job->lastPermille.exchange(permille) != permille;
                    const bool waitingChanged =
                        job->lastWaiting.exchange(progress.waiting) != progress.waiting;
                    if (!moved && !waitingChanged)
                        return;
                    work->post([this, job, progress] {
                        if (m_job == job)
                            progressed(progress);
                    });
                },
                &job->control);
        } catch (const std::bad_alloc &) {
            result->value.reset();
            result->error = {RecordProblem::AcquisitionFailed, "out of memory"};
        }
        return [this, job, result] {
            // A recording cancelled tells nothing; the device is free for the next one.
            if (m_job != job) {
                updateControls();
                return;
            }
            m_job.reset();
            finished(*result);
        };
    });
}

void RecordDialog::stop()
{
    if (!m_job)
        return;
    m_job->control = RecordControl::Stop;
    m_status->setText(tr("Leállítás…"));
    m_stopButton->setEnabled(false);
}

void RecordDialog::reject()
{
    // Closing throws away the recording under way; the worker ends it in the background.
    if (m_job) {
        m_job->control = RecordControl::Cancel;
        m_job.reset();
        m_folder.reset();
    }
    m_progress->setValue(0);
    m_status->clear();
    updateControls();
    QDialog::reject();
}

void RecordDialog::progressed(const rs232::capture::RecordProgress &progress)
{
    m_progress->setValue(static_cast<int>(std::clamp(progress.share, 0.0, 1.0) * 1000.0));
    m_status->setText(progress.waiting
                          ? tr("Várakozás az első lefutó élre…")
                          : tr("Felvétel: %1 minta").arg(groupedNumber(double(progress.samples))));
}

void RecordDialog::finished(const rs232::capture::RecordResult &result)
{
    m_progress->setValue(0);
    m_status->clear();
    updateControls();
    std::shared_ptr<QTemporaryDir> folder = std::move(m_folder);
    m_folder.reset();
    if (!result) {
        m_platform.showMessage(Platform::MessageKind::Error, recordFailureMessage(result.error));
        return;
    }
    QDialog::accept();
    Q_EMIT recorded(std::move(folder), m_path, m_channelName);
}

void RecordDialog::updateControls()
{
    const bool recording = m_job != nullptr;
    // A recording thrown away may still be ending: the device is free again only after it.
    const bool idle = !recording && !busy();
    for (QWidget *w : {static_cast<QWidget *>(m_device), static_cast<QWidget *>(m_channel),
                       static_cast<QWidget *>(m_rate), static_cast<QWidget *>(m_duration)})
        w->setEnabled(!recording);
    m_trigger->setEnabled(!recording &&
                          (m_device->currentIndex() < 0 || m_device->currentIndex() >= m_devices.size() ||
                           m_devices.at(m_device->currentIndex()).triggers));
    m_scanButton->setEnabled(!recording && !m_scanning);
    m_startButton->setEnabled(idle && !driverArgument().isEmpty());
    m_stopButton->setEnabled(recording && m_job->control.load() == RecordControl::Run);
}
