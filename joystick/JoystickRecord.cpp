#include "joystick/JoystickRecord.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>

namespace {

// A plain array rather than a std::string: the reader's SIGTERM handler reads it.
char recordName[NAME_MAX + 1] = "/mem_shared_hardJoy";

}  // namespace

const char* JoystickRecordName() { return recordName; }

void SetJoystickRecordName(const std::string& name)
{
    std::strncpy(recordName, name.c_str(), sizeof recordName - 1);
    recordName[sizeof recordName - 1] = '\0';
}

bool IsTrustedRecord(const struct stat& info)
{
    return S_ISREG(info.st_mode) && info.st_uid == geteuid() && (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

bool NameStillNames(int fd)
{
    const int named = shm_open(recordName, O_RDONLY, 0);
    if (named < 0) return false;
    struct stat open {}, now {};
    const bool same = fstat(fd, &open) == 0 && fstat(named, &now) == 0 && open.st_dev == now.st_dev &&
                      open.st_ino == now.st_ino;
    close(named);
    return same;
}

RecordState RemoveStaleRecord()
{
    const int fd = shm_open(recordName, O_RDWR, 0);
    if (fd < 0) return errno == ENOENT ? RecordState::gone : RecordState::unopenable;
    RecordState state = RecordState::gone;
    struct stat info {};
    if (fstat(fd, &info) != 0 || info.st_uid != geteuid())
        state = RecordState::foreign;
    else if (flock(fd, LOCK_EX | LOCK_NB) != 0)
        state = RecordState::held;
    else if (NameStillNames(fd))
        shm_unlink(recordName);
    close(fd);
    return state;
}
