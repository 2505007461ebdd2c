#pragma once
// Root reads and writes files whatever their modes say, so a test of what a
// user meets at a locked folder or a read-only file would prove nothing when
// the suite runs as root (as it does in CI). PermissionsBind() gives up that
// power for the rest of the test program: the files a test makes stay its
// own by owner, and only the modes it sets take effect.
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

// True when file modes bind this process (now or from here on).
inline bool PermissionsBind()
{
    if (::geteuid() != 0)
        return true;
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3]{};
    if (::syscall(SYS_capget, &header, data) != 0)
        return false;
    for (unsigned capability : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH}) {
        const unsigned bit = 1u << (capability % 32);
        data[capability / 32].effective &= ~bit;
        data[capability / 32].permitted &= ~bit;
        data[capability / 32].inheritable &= ~bit;
    }
    return ::syscall(SYS_capset, &header, data) == 0;
}
