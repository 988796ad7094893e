#pragma once

#include <QtQml/qqmlregistration.h>
#include <QObject>
#include <QString>
#include <QUrl>

#include "backend_runner.h"
#include "folder_chooser.h"

/// The state behind the compress screen: the user's choices for a
/// compression, the figures of the last scan and of the running compression,
/// one status line and an alert. Drives "compress_backend.sh" ("scan", then
/// "compress") through a BackendRunner. Lives on the main thread; every change
/// is published there.
class CompressModel : public QObject {
    Q_OBJECT
    QML_ELEMENT

    Q_PROPERTY(QUrl sourceURL READ sourceURL WRITE setSourceURL NOTIFY sourceURLChanged)
    Q_PROPERTY(int quality READ quality WRITE setQuality NOTIFY qualityChanged)
    Q_PROPERTY(int workers READ workers WRITE setWorkers NOTIFY workersChanged)
    Q_PROPERTY(bool isPaused READ isPaused NOTIFY isPausedChanged)
    Q_PROPERTY(qint64 total READ total NOTIFY totalChanged)
    Q_PROPERTY(qint64 ignored READ ignored NOTIFY ignoredChanged)
    Q_PROPERTY(qint64 processed READ processed NOTIFY processedChanged)
    Q_PROPERTY(qint64 failed READ failed NOTIFY failedChanged)
    Q_PROPERTY(double progress READ progress NOTIFY progressChanged)
    Q_PROPERTY(double inputBytes READ inputBytes NOTIFY inputBytesChanged)
    Q_PROPERTY(double outputBytes READ outputBytes NOTIFY outputBytesChanged)
    Q_PROPERTY(double speedMBps READ speedMBps NOTIFY speedMBpsChanged)
    Q_PROPERTY(QString eta READ eta NOTIFY etaChanged)
    Q_PROPERTY(QString status READ status NOTIFY statusChanged)
    Q_PROPERTY(bool isBusy READ isBusy NOTIFY isBusyChanged)
    Q_PROPERTY(bool scanReady READ scanReady NOTIFY scanReadyChanged)
    Q_PROPERTY(bool showAlert READ showAlert WRITE setShowAlert NOTIFY showAlertChanged)
    Q_PROPERTY(QString alertText READ alertText NOTIFY alertTextChanged)

    /// The chosen folder as a plain path; empty while none is chosen.
    Q_PROPERTY(QString sourcePath READ sourcePath NOTIFY sourceURLChanged)
    /// "COMPRESSED_" followed by the quality: the run's output folder.
    Q_PROPERTY(QString outputFolderName READ outputFolderName NOTIFY qualityChanged)
    /// Size of the photos found by the scan ("%.0f KB", "%.1f MB", "%.2f GB").
    Q_PROPERTY(QString beforeText READ beforeText NOTIFY inputBytesChanged)
    /// Size of the results written so far.
    Q_PROPERTY(QString afterText READ afterText NOTIFY outputBytesChanged)
    /// `speedMBps` as "%.1f MB/s".
    Q_PROPERTY(QString speedText READ speedText NOTIFY speedMBpsChanged)

  public:
    explicit CompressModel(QObject* parent = nullptr);
    /// Releases the job's handles; a running backend goes on unobserved.
    ~CompressModel() override;

    QUrl sourceURL() const { return sourceURL_; }
    int quality() const { return quality_; }
    int workers() const { return workers_; }
    bool isPaused() const { return isPaused_; }
    qint64 total() const { return total_; }
    qint64 ignored() const { return ignored_; }
    qint64 processed() const { return processed_; }
    qint64 failed() const { return failed_; }
    double progress() const { return progress_; }
    double inputBytes() const { return inputBytes_; }
    double outputBytes() const { return outputBytes_; }
    double speedMBps() const { return speedMBps_; }
    QString eta() const { return eta_; }
    QString status() const { return status_; }
    bool isBusy() const { return isBusy_; }
    bool scanReady() const { return scanReady_; }
    bool showAlert() const { return showAlert_; }
    QString alertText() const { return alertText_; }
    QString sourcePath() const;
    QString outputFolderName() const;
    QString beforeText() const;
    QString afterText() const;
    QString speedText() const;

    /// Sets the photo folder as it stands; chooseSource() also resets the scan.
    void setSourceURL(const QUrl& url);
    /// Stores the quality only; the screen calls resetScan() after a change.
    void setQuality(int quality);
    void setWorkers(int workers);
    /// The screen clears the flag when the user dismisses the alert.
    void setShowAlert(bool show);

    /// Shows the folder chooser titled "Pilih Folder Foto"; a chosen folder
    /// becomes `sourceURL` and the scan figures are reset.
    Q_INVOKABLE void chooseSource();
    /// Zeroes the scan and run figures and asks for a new scan.
    Q_INVOKABLE void resetScan();
    /// Counts the photos of the folder and their size in a new job folder.
    Q_INVOKABLE void scan();
    /// Compresses the scanned photos; does nothing without a folder, a scan or photos.
    Q_INVOKABLE void start();
    /// Stops or continues the running compression; does nothing when none runs.
    Q_INVOKABLE void togglePause();
    /// Raises an alert with `text`.
    Q_INVOKABLE void alert(const QString& text);

    /// Replaces the platform's folder chooser (tests supply a folder).
    void setFolderChooser(velmora::FolderChooser chooser);
    /// The process runner, for settings such as the resource directory and
    /// the poll interval.
    velmora::BackendRunner& runner() { return runner_; }

  signals:
    void sourceURLChanged();
    void qualityChanged();
    void workersChanged();
    void isPausedChanged();
    void totalChanged();
    void ignoredChanged();
    void processedChanged();
    void failedChanged();
    void progressChanged();
    void inputBytesChanged();
    void outputBytesChanged();
    void speedMBpsChanged();
    void etaChanged();
    void statusChanged();
    void isBusyChanged();
    void scanReadyChanged();
    void showAlertChanged();
    void alertTextChanged();

  private:
    friend class CompressModelTest;

    void applyScanResult(const velmora::WaitedOutcome& outcome, const QString& jobFolder,
                         const QUrl& scannedSource);
    void finishRun(int exitStatus);
    /// Reads "status.txt" of the job folder into the run figures; `final`
    /// marks the read made after the backend has ended.
    void readStatus(bool final);

    void setIsPaused(bool value);
    void setTotal(qint64 value);
    void setIgnored(qint64 value);
    void setProcessed(qint64 value);
    void setFailed(qint64 value);
    void setProgress(double value);
    void setInputBytes(double value);
    void setOutputBytes(double value);
    void setSpeedMBps(double value);
    void setEta(const QString& value);
    void setStatus(const QString& value);
    void setIsBusy(bool value);
    void setScanReady(bool value);
    void setAlertText(const QString& value);

    QUrl sourceURL_;
    int quality_ = 50;
    int workers_ = 4;
    bool isPaused_ = false;
    qint64 total_ = 0;
    qint64 ignored_ = 0;
    qint64 processed_ = 0;
    qint64 failed_ = 0;
    double progress_ = 0.0;
    double inputBytes_ = 0.0;
    double outputBytes_ = 0.0;
    double speedMBps_ = 0.0;
    QString eta_ = QStringLiteral("--:--");
    QString status_;
    bool isBusy_ = false;
    bool scanReady_ = false;
    bool showAlert_ = false;
    QString alertText_;

    QString tempDir_;  ///< job folder of the latest scan; empty before the first
    velmora::FolderChooser chooser_;
    velmora::BackendRunner runner_;
};
