#pragma once

#include "job_model.h"

namespace velmora::cli {

/// A job model whose job folder a subcommand reads after the model is done
/// with it: the failures list, the folders a scan could not read, and the
/// bytes and seconds of the last status line.
template <typename Model>
class ReadableJobModel : public Model {
  public:
    using JobModel::jobFolder;
};

}  // namespace velmora::cli
