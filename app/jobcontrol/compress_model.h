// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "job_model.h"

/// The state behind the compress screen: the user's choices for a
/// compression, the figures of the last scan and of the running compression,
/// one status line and an alert. Drives "compress_backend.sh" ("scan", then
/// "compress") through a BackendRunner. Lives on the main thread; every change
/// is published there.
class CompressModel : public JobModel {
    Q_OBJECT

    Q_PROPERTY(int quality READ quality WRITE setQuality NOTIFY qualityChanged)
    Q_PROPERTY(double inputBytes READ inputBytes NOTIFY inputBytesChanged)
    Q_PROPERTY(double outputBytes READ outputBytes NOTIFY outputBytesChanged)
    Q_PROPERTY(double speedMBps READ speedMBps NOTIFY speedMBpsChanged)

    /// The run's output folder for the quality (job::compressedFolderName).
    Q_PROPERTY(QString outputFolderName READ outputFolderName NOTIFY qualityChanged)
    /// Size of the photos found by the scan ("%.0f KB", "%.1f MB", "%.2f GB").
    Q_PROPERTY(QString beforeText READ beforeText NOTIFY inputBytesChanged)
    /// Size of the results written so far.
    Q_PROPERTY(QString afterText READ afterText NOTIFY outputBytesChanged)

  public:
    /// Chooses its folder under "Pilih Folder Foto".
    explicit CompressModel(QObject* parent = nullptr);

    int quality() const { return quality_; }
    double inputBytes() const { return inputBytes_; }
    double outputBytes() const { return outputBytes_; }
    double speedMBps() const { return speedMBps_; }
    QString outputFolderName() const;
    QString beforeText() const;
    QString afterText() const;
    /// `speedMBps` as "%.1f MB/s".
    QString speedText() const override;

    /// A real change stores the quality and resets the scan, whose figures
    /// were found for another output folder; the same value, or any value
    /// while a scan or a run is busy, changes nothing.
    void setQuality(int quality);

  signals:
    void qualityChanged();
    void inputBytesChanged();
    void outputBytesChanged();
    void speedMBpsChanged();

  private:
    void clearScanFigures() override;
    void clearRunFigures() override;
    QStringList scanArguments(const QString& jobFolder) const override;
    bool takeSummary(const QString& text) override;
    QStringList runEndDetails(const QString& runFolder) const override;
    /// "Scan selesai. Output: " and the output folder's name.
    QString scannedStatus() const override;
    QStringList runArguments() const override;
    std::optional<velmora::RunFigures> runFiguresOf(const QString& text,
                                                    const velmora::PauseLog& pauses) const override;
    void takeOwnRunFigures(const velmora::RunFigures& figures) override;
    /// "Mengompres… N%".
    QString runningStatus(qint64 percent) const override;
    QString resumedStatus() const override;
    /// The source folder's COMPRESSED_<quality>, which the run writes into.
    QString runOutputFolder() const override;

    void setInputBytes(double value);
    void setOutputBytes(double value);
    void setSpeedMBps(double value);

    int quality_ = 50;
    double inputBytes_ = 0.0;
    double outputBytes_ = 0.0;
    double speedMBps_ = 0.0;
};
