// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The job models as types of the QML module Velmora.JobControl. The models
// themselves need only QtCore, so that the command line carries no QML; the
// window's module declares them here, as foreign types.
#include <QtQml/qqml.h>

#include "compress_model.h"
#include "job_model.h"
#include "sorter_model.h"

struct JobModelForeign {
    Q_GADGET
    QML_FOREIGN(JobModel)
    QML_NAMED_ELEMENT(JobModel)
    QML_UNCREATABLE("JobModel is the base of SorterModel and CompressModel")
};

struct SorterModelForeign {
    Q_GADGET
    QML_FOREIGN(SorterModel)
    QML_NAMED_ELEMENT(SorterModel)
};

struct CompressModelForeign {
    Q_GADGET
    QML_FOREIGN(CompressModel)
    QML_NAMED_ELEMENT(CompressModel)
};
