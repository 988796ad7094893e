// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <memory>

namespace velmora {

/// A job folder that goes away with its last holder. The model holds the
/// folder of its latest scan, and every backend that works in it holds it
/// too until it has ended and its files have been read; whoever lets go last
/// removes the folder with all it holds. A folder that was not a real folder
/// of ours when the lease began is never removed.
class JobFolderLease {
  public:
    explicit JobFolderLease(QString path);
    ~JobFolderLease();
    JobFolderLease(const JobFolderLease&) = delete;
    JobFolderLease& operator=(const JobFolderLease&) = delete;

    const QString& path() const { return path_; }

  private:
    QString path_;
    bool ours_;
};

/// One holder's share of a job folder.
using JobFolderHold = std::shared_ptr<const JobFolderLease>;

}  // namespace velmora
