#pragma once

// Header-only: used by tests of every layer, with Qt Core alone.

#include <QFile>
#include <QString>

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

// Makes a file read-only for the calling thread, as on read-only media or a
// copy shared read-only: its mode loses every write bit, and while the guard
// lives the thread honours file modes even when it runs as root (CI does) by
// dropping the capability that overrides them. Capabilities belong to a
// thread, so the rest of the process is not affected; both are restored when
// the guard goes.
class ReadOnlyFile
{
public:
    explicit ReadOnlyFile(const QString& path) : path(path), before(QFile::permissions(path))
    {
        QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadUser | QFile::ReadGroup | QFile::ReadOther);
        if (getCapabilities() && (caps[0].effective & kOverride)) {
            caps[0].effective &= ~kOverride;
            dropped = setCapabilities();
        }
    }
    ~ReadOnlyFile()
    {
        if (dropped) {
            caps[0].effective |= kOverride;
            setCapabilities();
        }
        QFile::setPermissions(path, before);
    }
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    // True when opening the file for writing now fails for this thread.
    bool holds() const
    {
        QFile file(path);
        return !file.open(QIODevice::ReadWrite);
    }

private:
    static constexpr quint32 kOverride = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH);

    bool getCapabilities()
    {
        header.version = _LINUX_CAPABILITY_VERSION_3;
        header.pid = 0;
        return syscall(SYS_capget, &header, caps) == 0;
    }
    bool setCapabilities() { return syscall(SYS_capset, &header, caps) == 0; }

    QString path;
    QFile::Permissions before;
    __user_cap_header_struct header{};
    __user_cap_data_struct caps[2]{};
    bool dropped = false;
};
