#include "platform/FailureCause.h"

#include <cerrno>

namespace platform {

FailureCause CauseOfErrno(int error) {
    switch (error) {
    case 0: return FailureCause::None;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return FailureCause::DiskFull;
    case EROFS: return FailureCause::ReadOnly;
    case ENAMETOOLONG: return FailureCause::NameTooLong;
    case EACCES:
    case EPERM: return FailureCause::NoPermission;
    default: return FailureCause::Disk;
    }
}

FailureCause LastFileFailure() {
    const int error = errno;
    // A failed call that set no errno still failed on the disk.
    return error == 0 ? FailureCause::Disk : CauseOfErrno(error);
}

}  // namespace platform
