#pragma once

#include <QtQml/qqmlregistration.h>
#include <QObject>
#include <QString>
#include <QUrl>

#include "backend_runner.h"
#include "folder_chooser.h"

/// The state behind the sorter screen: the user's choices for a sort, the
/// figures of the last scan and of the running sort, one status line and an
/// alert. Drives "sorter_backend.sh" ("scan", then "sort") through a
/// BackendRunner. Lives on the main thread; every change is published there.
class SorterModel : public QObject {
    Q_OBJECT
    QML_ELEMENT

    Q_PROPERTY(QUrl sourceURL READ sourceURL WRITE setSourceURL NOTIFY sourceURLChanged)
    Q_PROPERTY(qint64 total READ total NOTIFY totalChanged)
    Q_PROPERTY(qint64 odd READ odd NOTIFY oddChanged)
    Q_PROPERTY(qint64 even READ even NOTIFY evenChanged)
    Q_PROPERTY(qint64 ignored READ ignored NOTIFY ignoredChanged)
    Q_PROPERTY(QString mode READ mode WRITE setMode NOTIFY modeChanged)
    Q_PROPERTY(int workers READ workers WRITE setWorkers NOTIFY workersChanged)
    Q_PROPERTY(int oddFolders READ oddFolders WRITE setOddFolders NOTIFY oddFoldersChanged)
    Q_PROPERTY(int evenFolders READ evenFolders WRITE setEvenFolders NOTIFY evenFoldersChanged)
    Q_PROPERTY(bool isPaused READ isPaused NOTIFY isPausedChanged)
    Q_PROPERTY(double progress READ progress NOTIFY progressChanged)
    Q_PROPERTY(double speedValue READ speedValue NOTIFY speedValueChanged)
    Q_PROPERTY(QString eta READ eta NOTIFY etaChanged)
    Q_PROPERTY(qint64 processed READ processed NOTIFY processedChanged)
    Q_PROPERTY(qint64 failed READ failed NOTIFY failedChanged)
    Q_PROPERTY(QString status READ status NOTIFY statusChanged)
    Q_PROPERTY(bool isBusy READ isBusy NOTIFY isBusyChanged)
    Q_PROPERTY(bool scanReady READ scanReady NOTIFY scanReadyChanged)
    Q_PROPERTY(bool showAlert READ showAlert WRITE setShowAlert NOTIFY showAlertChanged)
    Q_PROPERTY(QString alertText READ alertText NOTIFY alertTextChanged)

    /// The chosen folder as a plain path; empty while none is chosen.
    Q_PROPERTY(QString sourcePath READ sourcePath NOTIFY sourceURLChanged)
    /// `speedValue` as "%.0f file/s" in MOVE mode, else "%.1f MB/s".
    Q_PROPERTY(QString speedText READ speedText NOTIFY speedTextChanged)

  public:
    explicit SorterModel(QObject* parent = nullptr);
    /// Releases the job's handles; a running backend goes on unobserved.
    ~SorterModel() override;

    QUrl sourceURL() const { return sourceURL_; }
    qint64 total() const { return total_; }
    qint64 odd() const { return odd_; }
    qint64 even() const { return even_; }
    qint64 ignored() const { return ignored_; }
    QString mode() const { return mode_; }
    int workers() const { return workers_; }
    int oddFolders() const { return oddFolders_; }
    int evenFolders() const { return evenFolders_; }
    bool isPaused() const { return isPaused_; }
    double progress() const { return progress_; }
    double speedValue() const { return speedValue_; }
    QString eta() const { return eta_; }
    qint64 processed() const { return processed_; }
    qint64 failed() const { return failed_; }
    QString status() const { return status_; }
    bool isBusy() const { return isBusy_; }
    bool scanReady() const { return scanReady_; }
    bool showAlert() const { return showAlert_; }
    QString alertText() const { return alertText_; }
    QString sourcePath() const;
    QString speedText() const;

    /// Sets the source folder as it stands; chooseSource() also resets the scan.
    void setSourceURL(const QUrl& url);
    /// "MOVE" or "COPY"; read when a sort starts.
    void setMode(const QString& mode);
    void setWorkers(int workers);
    void setOddFolders(int count);
    void setEvenFolders(int count);
    /// The screen clears the flag when the user dismisses the alert.
    void setShowAlert(bool show);

    /// Shows the folder chooser titled "Pilih Folder Sumber"; a chosen folder
    /// becomes `sourceURL` and the scan figures are reset.
    Q_INVOKABLE void chooseSource();
    /// Zeroes the scan and run figures and asks for a new scan.
    Q_INVOKABLE void resetScan();
    /// Counts the numbered photos of the source tree in a new job folder.
    Q_INVOKABLE void scan();
    /// Sorts the scanned photos; does nothing without a source, a scan or photos.
    Q_INVOKABLE void start();
    /// Stops or continues the running sort; does nothing when none runs.
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
    void totalChanged();
    void oddChanged();
    void evenChanged();
    void ignoredChanged();
    void modeChanged();
    void workersChanged();
    void oddFoldersChanged();
    void evenFoldersChanged();
    void isPausedChanged();
    void progressChanged();
    void speedValueChanged();
    void etaChanged();
    void processedChanged();
    void failedChanged();
    void statusChanged();
    void isBusyChanged();
    void scanReadyChanged();
    void showAlertChanged();
    void alertTextChanged();
    void speedTextChanged();

  private:
    friend class SorterModelTest;

    void applyScanResult(const velmora::WaitedOutcome& outcome, const QString& jobFolder,
                         const QUrl& scannedSource);
    void finishRun(int exitStatus);
    /// Reads "status.txt" of the job folder into the run figures; `final`
    /// marks the read made after the backend has ended.
    void readStatus(bool final);
    QString runLabel() const;

    void setTotal(qint64 value);
    void setOdd(qint64 value);
    void setEven(qint64 value);
    void setIgnored(qint64 value);
    void setIsPaused(bool value);
    void setProgress(double value);
    void setSpeedValue(double value);
    void setEta(const QString& value);
    void setProcessed(qint64 value);
    void setFailed(qint64 value);
    void setStatus(const QString& value);
    void setIsBusy(bool value);
    void setScanReady(bool value);
    void setAlertText(const QString& value);

    QUrl sourceURL_;
    qint64 total_ = 0;
    qint64 odd_ = 0;
    qint64 even_ = 0;
    qint64 ignored_ = 0;
    QString mode_ = QStringLiteral("MOVE");
    int workers_ = 4;
    int oddFolders_ = 1;
    int evenFolders_ = 1;
    bool isPaused_ = false;
    double progress_ = 0.0;
    double speedValue_ = 0.0;
    QString eta_ = QStringLiteral("--:--");
    qint64 processed_ = 0;
    qint64 failed_ = 0;
    QString status_;
    bool isBusy_ = false;
    bool scanReady_ = false;
    bool showAlert_ = false;
    QString alertText_;

    QString tempDir_;  ///< job folder of the latest scan; empty before the first
    velmora::FolderChooser chooser_;
    velmora::BackendRunner runner_;
};
