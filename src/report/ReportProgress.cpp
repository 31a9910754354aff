#include "report/ReportProgress.h"

namespace {

ReportProgress *installed = nullptr;

} // namespace

ReportProgress *ReportProgress::standard()
{
    return installed;
}

void ReportProgress::setStandard(ReportProgress *progress)
{
    installed = progress;
}
