// Why a transfer or a file operation failed, in the few kinds the user's log tells apart.
// libcurl's codes and errno become one of these here and nowhere else.
#pragma once

namespace platform {

enum class FailureCause : int {
    None = 0,
    HttpStatus,    // the server answered with an error status (the response holds it)
    Refused,       // no connection could be made
    TimedOut,      // the server stayed silent too long
    HostNotFound,  // the host name did not resolve
    CutShort,      // the connection broke before the whole answer arrived
    Network,       // any other transfer failure (the response's error text says which)
    DiskFull,
    ReadOnly,
    NameTooLong,   // a name or the whole path is longer than the file system allows
    NoPermission,
    Disk,          // any other local file failure
    Cancelled,
};

// The kind of a failed file operation from its errno value.
FailureCause CauseOfErrno(int error);
// The same for the errno the last failed call left behind; call it right after that call.
FailureCause LastFileFailure();

}  // namespace platform
