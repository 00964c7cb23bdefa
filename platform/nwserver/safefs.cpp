#include "platform/nwserver/safefs.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace nwserver::safefs {

namespace {
bool badComponent(const QString& name)
{
    return name.isEmpty() || name == u"." || name == u".." || name.contains(u'/')
        || name.contains(QChar(0));
}
} // namespace

Fd::~Fd()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

Fd& Fd::operator=(Fd&& other) noexcept
{
    if (this != &other) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = other.release();
    }
    return *this;
}

int Fd::release()
{
    const int fd = m_fd;
    m_fd = -1;
    return fd;
}

Fd openRoot(const QString& folder)
{
    const QByteArray name = QFile::encodeName(folder);
    int fd = ::open(name.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT && QDir().mkpath(folder))
        fd = ::open(name.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    return Fd(fd);
}

Fd openDir(const Fd& root, const QStringList& components)
{
    if (!root.valid())
        return {};
    Fd current(::dup(root.get()));
    for (const QString& c : components) {
        if (badComponent(c))
            return {};
        const int fd = ::openat(current.get(), QFile::encodeName(c).constData(),
            O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0)
            return {};
        current = Fd(fd);
    }
    return current;
}

Fd openFile(const Fd& dir, const QString& name, int flags, mode_t mode)
{
    if (!dir.valid() || badComponent(name))
        return {};
    Fd fd(::openat(dir.get(), QFile::encodeName(name).constData(),
        flags | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, mode));
    struct stat st;
    if (!fd.valid() || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))
        return {};
    // O_NONBLOCK only kept a planted FIFO from blocking the open.
    ::fcntl(fd.get(), F_SETFL, ::fcntl(fd.get(), F_GETFL) & ~O_NONBLOCK);
    return fd;
}

bool makeDir(const Fd& dir, const QString& name)
{
    return dir.valid() && !badComponent(name)
        && ::mkdirat(dir.get(), QFile::encodeName(name).constData(), 0755) == 0;
}

bool removeFile(const Fd& dir, const QString& name)
{
    return dir.valid() && !badComponent(name)
        && ::unlinkat(dir.get(), QFile::encodeName(name).constData(), 0) == 0;
}

bool removeDir(const Fd& dir, const QString& name)
{
    return dir.valid() && !badComponent(name)
        && ::unlinkat(dir.get(), QFile::encodeName(name).constData(), AT_REMOVEDIR) == 0;
}

bool rename(const Fd& fromDir, const QString& from, const Fd& toDir, const QString& to)
{
    return fromDir.valid() && toDir.valid() && !badComponent(from) && !badComponent(to)
        && ::renameat(fromDir.get(), QFile::encodeName(from).constData(), toDir.get(),
               QFile::encodeName(to).constData())
        == 0;
}

} // namespace nwserver::safefs
