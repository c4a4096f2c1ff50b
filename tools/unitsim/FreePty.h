#pragma once
// Opens a pseudo-terminal whose number no serial port lock file claims.
//
// A program closing a serial port closes the device before it removes its
// lock file ("LCK..pts_5"), so a number can be handed out again while the
// old lock still stands for a moment, and a port opened on it then fails as
// if in use. Such numbers are held while another is taken, then let go.
// Shared by the simulated unit and the tests' own terminals.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

inline bool SerialLockStands(const std::string &devicePath)
{
    // "/dev/pts/5" is locked as "LCK..pts_5" in the first of these that
    // can take it.
    std::string name = devicePath.rfind("/dev/", 0) == 0 ? devicePath.substr(5) : devicePath;
    for (char &c : name)
        if (c == '/')
            c = '_';
    for (const char *dir : {"/var/lock", "/etc/locks", "/var/spool/locks", "/var/spool/uucp", "/tmp",
                            "/var/tmp", "/var/lock/lockdev", "/run/lock"}) {
        struct stat st{};
        if (stat((std::string(dir) + "/LCK.." + name).c_str(), &st) == 0)
            return true;
    }
    return false;
}

// The master's descriptor and the device path of its far end; -1 on failure
// (errno tells why).
inline int OpenFreePty(std::string *devicePath)
{
    std::vector<int> passedOver;
    int master = -1;
    for (int tries = 0; tries < 64 && master < 0; ++tries) {
        const int fd = posix_openpt(O_RDWR | O_NOCTTY);
        if (fd < 0)
            break;
        const char *name = grantpt(fd) == 0 && unlockpt(fd) == 0 ? ptsname(fd) : nullptr;
        if (!name) {
            ::close(fd);
            break;
        }
        if (SerialLockStands(name)) {
            passedOver.push_back(fd);   // held, so that the next try gets another number
            continue;
        }
        *devicePath = name;
        master = fd;
    }
    const int error = errno;
    for (const int fd : passedOver)
        ::close(fd);
    errno = error;
    return master;
}
