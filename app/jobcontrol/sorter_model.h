// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

#include "job_model.h"

/// The state behind the sorter screen: the user's choices for a sort, the
/// figures of the last scan and of the running sort, one status line and an
/// alert. Drives "sorter_backend.sh" ("scan", then "sort") through a
/// BackendRunner. Lives on the main thread; every change is published there.
class SorterModel : public JobModel {
    Q_OBJECT

    Q_PROPERTY(qint64 odd READ odd NOTIFY oddChanged)
    Q_PROPERTY(qint64 even READ even NOTIFY evenChanged)
    Q_PROPERTY(QString mode READ mode WRITE setMode NOTIFY modeChanged)
    Q_PROPERTY(int oddFolders READ oddFolders WRITE setOddFolders NOTIFY oddFoldersChanged)
    Q_PROPERTY(int evenFolders READ evenFolders WRITE setEvenFolders NOTIFY evenFoldersChanged)
    Q_PROPERTY(double speedValue READ speedValue NOTIFY speedValueChanged)

  public:
    /// Chooses its folder under "Pilih Folder Sumber".
    explicit SorterModel(QObject* parent = nullptr);

    qint64 odd() const { return odd_; }
    qint64 even() const { return even_; }
    QString mode() const { return mode_; }
    int oddFolders() const { return oddFolders_; }
    int evenFolders() const { return evenFolders_; }
    double speedValue() const { return speedValue_; }
    /// `speedValue` as "%.0f file/s" in MOVE mode, else "%.1f MB/s"; the
    /// mode is that of the sort whose figures are shown, if any.
    QString speedText() const override;

    /// "MOVE" or "COPY"; read when a sort starts, so a change during a sort
    /// holds for the next one.
    void setMode(const QString& mode);
    void setOddFolders(int count);
    void setEvenFolders(int count);

  signals:
    void oddChanged();
    void evenChanged();
    void modeChanged();
    void oddFoldersChanged();
    void evenFoldersChanged();
    void speedValueChanged();

  private:
    void clearScanFigures() override;
    void clearRunFigures() override;
    QStringList scanArguments(const QString& jobFolder) const override;
    bool takeSummary(const QString& text) override;
    QString scannedStatus() const override;
    QStringList runArguments() const override;
    std::optional<velmora::RunFigures> runFiguresOf(const QString& text,
                                                    const velmora::PauseLog& pauses) const override;
    void takeOwnRunFigures(const velmora::RunFigures& figures) override;
    /// "FAST MOVE… N%" in MOVE mode, else "COPY… N%".
    QString runningStatus(qint64 percent) const override;
    QString resumedStatus() const override;
    void beginRun() override;

    /// The mode of the sort whose figures are shown, else the chosen mode.
    QString shownMode() const { return runMode_.value_or(mode_); }
    bool movesFiles() const { return shownMode() == QLatin1String("MOVE"); }

    void setOdd(qint64 value);
    void setEven(qint64 value);
    void setSpeedValue(double value);

    qint64 odd_ = 0;
    qint64 even_ = 0;
    QString mode_ = QStringLiteral("MOVE");
    int oddFolders_ = 1;
    int evenFolders_ = 1;
    double speedValue_ = 0.0;
    /// The mode of the latest sort since the scan figures were reset.
    std::optional<QString> runMode_;
};
