// SPDX-License-Identifier: GPL-3.0-or-later
#include "job_model.h"

#include <QDir>
#include <QFileInfo>
#include <QVariantMap>

#include <algorithm>
#include <csignal>

#include "backend_files.h"
#include "desktop_services.h"
#include "failure_reason.h"
#include "failure_texts.h"
#include "formatting.h"
#include "job_folder.h"
#include "job_protocol.h"
#include "published_field.h"
#include "tool_entry.h"

namespace {

/// The path of `url` on this machine; empty for a URL of another scheme or
/// of another host ("file://localhost/…" is this machine's).
QString localPathOf(const QUrl& url) {
    if (!url.isLocalFile()) {
        return {};
    }
    QUrl local = url;
    if (local.host().compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0) {
        local.setHost(QString());
    }
    return local.host().isEmpty() ? local.toLocalFile() : QString();
}

/// `path` as a URL while it is a folder of its own (not a link to one);
/// else an empty URL.
QUrl existingFolderURL(const QString& path) {
    const QFileInfo folder(path);
    return !path.isEmpty() && folder.isDir() && !folder.isSymLink() ? QUrl::fromLocalFile(path)
                                                                    : QUrl();
}

}  // namespace

JobModel::JobModel(const JobSetup& setup, QObject* parent)
    : QObject(parent),
      status_(setup.initialStatus),
      setup_(setup),
      runner_(setup.scriptName, setup.jobFolderPrefix, setup.pollInterval) {
    connect(&runner_, &velmora::BackendRunner::tick, this, [this] { readStatus(false); });
    connect(&runner_, &velmora::BackendRunner::finished, this, &JobModel::finishRun);
}

JobModel::~JobModel() {
    if (!runner_.isRunning()) {
        return;
    }
    if (isPaused_) {
        // Left stopped, the backend would never end, and a move would stay
        // half done.
        runner_.sendSignal(SIGCONT);
    }
    runner_.keepUntilRunEnds(runFolder_);
}

QString JobModel::sourcePath() const {
    return sourceURL_.toLocalFile();
}

QUrl JobModel::chooserFolder() const {
    return sourceURL_.isEmpty() ? QUrl::fromLocalFile(QDir::homePath()) : sourceURL_;
}

void JobModel::setFolderChooser(velmora::FolderChooser chooser) {
    chooser_ = std::move(chooser);
}

void JobModel::chooseSource() {
    if (isBusy_) {
        return;
    }
    if (!chooser_) {
        emit folderChooserRequested();
        return;
    }
    const QString folder = chooser_(setup_.chooserTitle);
    if (!folder.isEmpty()) {
        takeChosenFolder(QUrl::fromLocalFile(folder));
    }
}

void JobModel::takeChosenFolder(const QUrl& folder) {
    if (isBusy_ || !folder.isLocalFile() || folder.toLocalFile().isEmpty()) {
        return;
    }
    setSourceURL(QUrl::fromLocalFile(QDir::cleanPath(folder.toLocalFile())));
    resetScan();
}

QString JobModel::dropRefusal(const QList<QUrl>& urls) const {
    const QString path = urls.isEmpty() ? QString() : localPathOf(urls.first());
    if (path.isEmpty()) {
        //: Shown where a drop is refused: a web link, a network location, or no file at all.
        return tr("Hanya folder atau file di komputer ini yang dapat dipilih.");
    }
    if (!QFileInfo::exists(path)) {
        //: Shown where a drop is refused: what was dragged has been removed or renamed meanwhile.
        return tr("Folder atau file ini sudah tidak ada.");
    }
    return {};
}

void JobModel::takeDroppedUrls(const QList<QUrl>& urls) {
    if (isBusy_ || !dropRefusal(urls).isEmpty()) {
        return;
    }
    const QFileInfo dropped(localPathOf(urls.first()));
    takeChosenFolder(
        QUrl::fromLocalFile(dropped.isDir() ? dropped.absoluteFilePath() : dropped.absolutePath()));
}

void JobModel::resetScan() {
    if (isBusy_) {
        return;
    }
    clearScanFigures();
    setScanReady(false);
    setIsPaused(false);
    setStatus(setup_.scanPrompt);
}

void JobModel::scan() {
    if (sourceURL_.isEmpty()) {
        alert(tr("Pilih folder sumber terlebih dahulu."));
        return;
    }
    setIsBusy(true);
    setScanReady(false);
    sourceUnreadable_ = false;
    clearRunFigures();  // the last run's percent, speed and ETA say nothing of this scan
    setStatus(setup_.scanning);

    // The folder of the scan before is let go here, and removed unless a
    // backend still works in it.
    jobFolder_ = std::make_shared<const velmora::JobFolderLease>(runner_.makeJobFolder());
    const velmora::JobFolderHold scanFolder = jobFolder_;
    runner_.launchWaited(scanArguments(scanFolder->path()),
                         velmora::jobFilePath(scanFolder->path(), velmora::job::kSummary),
                         setup_.scanOutput,
                         [this, scanFolder](const velmora::WaitedOutcome& outcome) {
                             applyScanResult(outcome, scanFolder);
                         });
}

void JobModel::applyScanResult(const velmora::WaitedOutcome& outcome,
                               const velmora::JobFolderHold& scanFolder) {
    if (scanFolder != jobFolder_) {
        return;  // a later scan has taken over; its own result will come
    }
    const bool stopped = isStopping_ && outcome.exitStatus != 0;
    setIsStopping(false);
    setIsBusy(false);
    if (!outcome.launched) {
        alert(outcome.launchError);
        return;
    }
    if (stopped) {
        clearScanFigures();
        //: Status after STOP ended a scan.
        setStatus(tr("Scan dihentikan. Klik SCAN FOLDER untuk memulai lagi."));
        return;
    }
    const QStringList unreadable =
        velmora::parsePathList(velmora::jobFileText(scanFolder->path(), velmora::job::kUnreadable));
    const QString source = QDir::cleanPath(sourcePath());
    const bool sourceUnreadable =
        std::any_of(unreadable.begin(), unreadable.end(),
                    [&source](const QString& folder) { return QDir::cleanPath(folder) == source; });
    if (sourceUnreadable) {
        sourceUnreadable_ = true;
        clearScanFigures();
        setStatus(setup_.sourceUnreadable);
        return;
    }
    if (outcome.exitStatus != 0 || !takeSummary(outcome.resultText)) {
        alert(setup_.scanFailed);
        return;
    }
    setProcessed(0);
    setFailed(0);
    setScanReady(total_ > 0);
    setStatus(withUnreadableCount(total_ > 0 ? scannedStatus() : setup_.nothingFound,
                                  unreadable.size(), unreadableNames_));
}

QString JobModel::withUnreadableCount(const QString& status, qsizetype unreadable,
                                      qint64 unreadableNames) {
    QString text = status;
    if (unreadable > 0) {
        //: Follows the status line after a scan.
        text += u' ' + tr("%n folder tidak dapat dibaca.", nullptr, static_cast<int>(unreadable));
    }
    if (unreadableNames > 0) {
        //: Follows the status line after a scan: these photos stay where they are.
        text += u' ' + tr("%n foto bernama tidak terbaca dan tidak akan diproses.", nullptr,
                          static_cast<int>(unreadableNames));
    }
    return text;
}

QString JobModel::runEndText(const QString& runFolder, int exitStatus,
                             const QList<velmora::FailedPhoto>& failures, bool stopped) const {
    QStringList lines;
    if (stopped) {
        const qint64 succeeded = std::max<qint64>(0, processed_ - failed_);
        //: The end alert of a run ended by STOP.
        lines << tr("Proses Dihentikan\nBerhasil: %1\nGagal: %2")
                     .arg(QString::number(succeeded), QString::number(failed_));
    } else {
        lines << velmora::completionAlert(processed_, failed_);
    }
    lines << runEndDetails(runFolder);
    const auto diskFull = std::count_if(failures.begin(), failures.end(), [](const auto& photo) {
        return photo.code ==
               QLatin1String(velmora::failureCodeName(velmora::FailureCode::DiskFull));
    });
    if (diskFull > 0) {
        //: In the end alert: the destination's disk filled during the run.
        lines << tr("Disk penuh: %n foto gagal karena ruang habis dan tetap di tempatnya.", nullptr,
                    static_cast<int>(diskFull));
    }
    if (unreadableNames_ > 0) {
        //: In the end alert: photos the scan left out; they stay where they are.
        lines << tr("%n foto bernama tidak terbaca dan tidak diproses.", nullptr,
                    static_cast<int>(unreadableNames_));
    }
    if (exitStatus == static_cast<int>(velmora::ToolExit::JobFilesNotWritten)) {
        //: In the end alert: the temporary folder's disk filled, so the counts may be short.
        lines << tr(
            "Disk folder kerja penuh: hitungan di atas mungkin kurang. Setiap foto ada "
            "di tempat proses meninggalkannya, utuh.");
    }
    return lines.join(u'\n');
}

void JobModel::start() {
    if (sourceURL_.isEmpty() || !jobFolder_ || total_ < 1) {
        return;
    }
    if (runner_.isRunning()) {
        // Started again over a run still going: that backend keeps its folder.
        runner_.keepUntilRunEnds(runFolder_);
    }
    setIsBusy(true);
    setIsRunning(true);
    setIsPaused(false);
    beginRun();
    clearRunFigures();

    runFolder_ = jobFolder_;
    pauses_ = {};
    runClock_.start();
    const auto refusal = runner_.launchWatched(runArguments());
    if (refusal) {
        runFolder_.reset();
        setIsRunning(false);
        setIsBusy(false);
        setIsPaused(false);
        alert(*refusal);
        return;
    }
    setStatus(runningStatus(0));
}

void JobModel::togglePause() {
    const bool pausing = !isPaused_;
    switch (runner_.sendSignal(pausing ? SIGSTOP : SIGCONT)) {
        case velmora::SignalResult::NotRunning:
            return;
        case velmora::SignalResult::Refused:
            alert(pausing ? tr("Tidak dapat menjeda proses.")
                          : tr("Tidak dapat melanjutkan proses."));
            return;
        case velmora::SignalResult::Delivered:
            break;
    }
    setIsPaused(pausing);
    if (pausing) {
        pauses_.paused(runSeconds());
        readStatus(false);
        //: The remaining time while a run is paused.
        setEta(tr("dijeda"));
        setStatus(setup_.paused);
    } else {
        pauses_.resumed(runSeconds());
        setEta(QStringLiteral("--:--"));  // until the next read
        setStatus(resumedStatus());
    }
}

void JobModel::stop() {
    if (!isBusy_ || isStopping_) {
        return;
    }
    if (!runFolder_) {
        setIsStopping(true);
        runner_.stopWaited();
        //: Status while a stopped scan ends.
        setStatus(tr("Menghentikan scan…"));
        return;
    }
    switch (runner_.sendSignal(SIGTERM)) {
        case velmora::SignalResult::NotRunning:
            return;  // it has ended; its end is on its way
        case velmora::SignalResult::Refused:
            alert(tr("Tidak dapat menghentikan proses."));
            return;
        case velmora::SignalResult::Delivered:
            break;
    }
    setIsStopping(true);
    if (isPaused_) {
        // Stopped, the backend would never see the SIGTERM it was sent.
        runner_.sendSignal(SIGCONT);
        pauses_.resumed(runSeconds());
        setIsPaused(false);
    }
    setEta(QStringLiteral("--:--"));
    //: Status while a stopped run finishes the photos it is on.
    setStatus(tr("Menghentikan proses…"));
}

void JobModel::alert(const QString& text) {
    setAlert(text, {});
}

void JobModel::copyFailures() const {
    QStringList lines;
    for (const QVariant& failure : alertFailures_) {
        const QVariantMap photo = failure.toMap();
        const QString reason = photo.value(QStringLiteral("reason")).toString();
        const QString path = photo.value(QStringLiteral("path")).toString();
        lines << (reason.isEmpty() ? path : path + QStringLiteral(": ") + reason);
    }
    if (const auto& copyText = velmora::desktopServices().copyText) {
        copyText(lines.join(u'\n') + u'\n');
    }
}

double JobModel::runSeconds() const {
    return static_cast<double>(runClock_.nsecsElapsed()) / 1e9;
}

void JobModel::readStatus(bool final) {
    if (!runFolder_) {
        return;
    }
    const auto text =
        velmora::readTextFile(velmora::jobFilePath(runFolder_->path(), velmora::job::kStatus));
    auto figures = text ? runFiguresOf(*text, pauses_) : std::nullopt;
    if (!figures) {
        return;
    }
    if (pauses_.observe(figures->backendSeconds, runSeconds())) {
        // The stops lie elsewhere on the backend's clock than assumed so far.
        figures = runFiguresOf(*text, pauses_);
    }
    setProcessed(figures->processed);
    setFailed(figures->failed);
    setProgress(figures->progress, figures->percent);
    const bool paused = isPaused_ && !final;
    if (paused) {
        figures->speed = 0.0;  // nothing moves while paused
    }
    takeOwnRunFigures(*figures);
    // A pause's or a stop's status and ETA stay until the run goes on or ends.
    if (paused || isStopping_) {
        return;
    }
    setEta(velmora::etaOf(processed_, total_, figures->seconds, final));
    setStatus(final ? setup_.done : runningStatus(percent_));
}

void JobModel::finishRun(int exitStatus) {
    const QString told = settleRun(exitStatus);
    if (const auto& runEnded = velmora::desktopServices().runEnded) {
        // The alert's first line heads the rest.
        const qsizetype firstLineEnd = told.indexOf(u'\n');
        runEnded(told.left(firstLineEnd),
                 firstLineEnd < 0 ? QString() : told.mid(firstLineEnd + 1));
    }
}

QString JobModel::settleRun(int exitStatus) {
    pauses_.resumed(runSeconds());  // a backend ended while stopped
    // Ended by the SIGTERM of stop(): by the signal itself, or by the
    // backend's own exit on it (128 + the signal's number).
    const bool stopped = isStopping_ && (exitStatus == SIGTERM || exitStatus == 128 + SIGTERM);
    setIsRunning(false);
    setIsBusy(false);
    setIsPaused(false);
    readStatus(true);
    setIsStopping(false);
    const QString runFolder = runFolder_->path();
    const auto failures =
        velmora::parseFailures(velmora::jobFileText(runFolder, velmora::job::kFailures));
    const QString endText = runEndText(runFolder, exitStatus, failures, stopped);
    const QUrl written = existingFolderURL(runOutputFolder());
    runFolder_.reset();
    if (stopped) {
        setEta(QStringLiteral("--:--"));
        //: Status after STOP ended a run.
        setStatus(tr("Proses dihentikan."));
        setAlert(endText, listedFailures(failures), written);
        return endText;
    }
    if (exitStatus == static_cast<int>(velmora::ToolExit::SourceReadOnly)) {
        //: The worker found the photo folder's medium write-protected before it began.
        const QString readOnly =
            tr("Folder foto ada di media yang hanya bisa dibaca "
               "(read-only). Tidak ada yang diubah.");
        setStatus(readOnly);
        alert(readOnly);
        return readOnly;
    }
    if (exitStatus == static_cast<int>(velmora::ToolExit::JobFilesNotWritten)) {
        setStatus(setup_.stoppedWithError.arg(exitStatus));
        setAlert(endText, listedFailures(failures), written);
        return endText;
    }
    if (exitStatus != 0) {
        setStatus(setup_.stoppedWithError.arg(exitStatus));
        return status_;
    }
    setStatus(setup_.done);
    if (const auto& runFinished = velmora::desktopServices().runFinished) {
        runFinished();
    }
    setAlert(endText, listedFailures(failures), written);
    return endText;
}

QVariantList JobModel::listedFailures(QList<velmora::FailedPhoto> failures) {
    std::stable_sort(failures.begin(), failures.end(), [](const auto& a, const auto& b) {
        return velmora::comesBeforeInFolderOrder(a.path, b.path);
    });
    QVariantList listed;
    for (const velmora::FailedPhoto& photo :
         failures.first(std::min(failures.size(), kListedFailures))) {
        listed.append(QVariantMap{
            {QStringLiteral("path"), photo.path},
            {QStringLiteral("reason"), velmora::failureReasonText(photo.code, photo.reason)}});
    }
    return listed;
}

// Setters: each publishes its field when the value changes.

void JobModel::setSourceURL(const QUrl& url) {
    if (isBusy_) {
        return;
    }
    const bool couldScan = canScan();
    velmora::publish(this, sourceURL_, url, &JobModel::sourceURLChanged);
    announceCanScan(couldScan);
}

void JobModel::setWorkers(int value) {
    if (isBusy_) {
        return;  // a run keeps the workers it started with
    }
    velmora::publish(this, workers_, value, &JobModel::workersChanged);
}

void JobModel::setShowAlert(bool value) {
    velmora::publish(this, showAlert_, value, &JobModel::showAlertChanged);
}

void JobModel::setTotal(qint64 value) {
    velmora::publish(this, total_, value, &JobModel::totalChanged);
}

void JobModel::setIgnored(qint64 value) {
    velmora::publish(this, ignored_, value, &JobModel::ignoredChanged);
}

void JobModel::setIsPaused(bool value) {
    velmora::publish(this, isPaused_, value, &JobModel::isPausedChanged);
}

void JobModel::setProgress(double progress, qint64 percent) {
    velmora::publish(this, progress_, progress, &JobModel::progressChanged);
    velmora::publish(this, percent_, percent, &JobModel::percentChanged);
}

void JobModel::setEta(const QString& value) {
    velmora::publish(this, eta_, value, &JobModel::etaChanged);
}

void JobModel::setProcessed(qint64 value) {
    velmora::publish(this, processed_, value, &JobModel::processedChanged);
}

void JobModel::setFailed(qint64 value) {
    velmora::publish(this, failed_, value, &JobModel::failedChanged);
}

void JobModel::setStatus(const QString& value) {
    velmora::publish(this, status_, value, &JobModel::statusChanged);
}

void JobModel::setIsBusy(bool value) {
    const bool couldScan = canScan();
    velmora::publish(this, isBusy_, value, &JobModel::isBusyChanged);
    announceCanScan(couldScan);
}

void JobModel::setIsRunning(bool value) {
    velmora::publish(this, isRunning_, value, &JobModel::isRunningChanged);
}

void JobModel::setIsStopping(bool value) {
    velmora::publish(this, isStopping_, value, &JobModel::isStoppingChanged);
}

void JobModel::announceCanScan(bool before) {
    if (canScan() != before) {
        emit canScanChanged();
    }
}

void JobModel::setScanReady(bool value) {
    velmora::publish(this, scanReady_, value, &JobModel::scanReadyChanged);
}

void JobModel::setAlert(const QString& text, const QVariantList& failures, const QUrl& folder) {
    if (alertText_ != text || alertFailures_ != failures || alertFolder_ != folder) {
        alertText_ = text;
        alertFailures_ = failures;
        alertFolder_ = folder;
        emit alertTextChanged();
    }
    setShowAlert(true);
}
