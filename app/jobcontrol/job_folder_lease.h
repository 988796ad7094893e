#pragma once

#include <QString>

#include <sys/types.h>

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

/// Keeps `hold` until the process `pid`, a child of this process that has
/// not been reaped yet, has ended, then lets go of it on a thread of its own.
/// When the process cannot be followed, `hold` is kept for good.
void holdUntilProcessEnds(JobFolderHold hold, pid_t pid);

}  // namespace velmora
