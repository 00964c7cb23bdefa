#pragma once

#include <QString>
#include <QStringList>
#include <sys/types.h>

// Host file access that cannot be led out of a folder: every step is an openat() relative to the
// folder's descriptor with O_NOFOLLOW, so neither a symbolic link planted in the folder nor a
// ".." in a name reaches anything outside it.
namespace nwserver::safefs {

class Fd {
public:
    Fd() = default;
    explicit Fd(int fd)
        : m_fd(fd)
    {
    }
    ~Fd();
    Fd(Fd&& other) noexcept
        : m_fd(other.release())
    {
    }
    Fd& operator=(Fd&& other) noexcept;
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;

    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    int release();

private:
    int m_fd = -1;
};

// The folder itself (created when missing). The folder is the server's own; only what lies
// below it is walked carefully.
Fd openRoot(const QString& folder);
// A directory below root, one component at a time; invalid when a component is missing, is
// not a directory, is a symbolic link, or is "." / "..".
Fd openDir(const Fd& root, const QStringList& components);
// A regular file in dir (O_NOFOLLOW and O_CLOEXEC added); invalid for anything else.
Fd openFile(const Fd& dir, const QString& name, int flags, mode_t mode = 0644);

bool makeDir(const Fd& dir, const QString& name);
bool removeFile(const Fd& dir, const QString& name);
bool removeDir(const Fd& dir, const QString& name);
bool rename(const Fd& fromDir, const QString& from, const Fd& toDir, const QString& to);

} // namespace nwserver::safefs
