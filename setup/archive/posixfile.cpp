#include "setup/archive/posixfile.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace orvo {

TPosixFile& TPosixFile::operator=(TPosixFile&& other) noexcept
{
    if (this != &other) {
        Close();
        m_fd = other.Release();
    }
    return *this;
}

TPosixFile TPosixFile::OpenRead(const std::string& path)
{
    return TPosixFile(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
}

TPosixFile TPosixFile::OpenReadWrite(const std::string& path)
{
    return TPosixFile(::open(path.c_str(), O_RDWR | O_CLOEXEC));
}

TPosixFile TPosixFile::Create(const std::string& path)
{
    return TPosixFile(::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
}

void TPosixFile::Close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

int TPosixFile::Release()
{
    const int fd = m_fd;
    m_fd = -1;
    return fd;
}

std::int64_t TPosixFile::Size() const
{
    const off_t end = ::lseek(m_fd, 0, SEEK_END);
    return end < 0 ? -1 : end;
}

std::int64_t TPosixFile::ReadAt(void* buffer, std::size_t n, std::uint64_t pos) const
{
    std::size_t done = 0;
    while (done < n) {
        const ssize_t got = ::pread(
            m_fd, static_cast<char*>(buffer) + done, n - done, static_cast<off_t>(pos + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return -1;
        if (got == 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    return static_cast<std::int64_t>(done);
}

std::int64_t TPosixFile::Read(void* buffer, std::size_t n) const
{
    std::size_t done = 0;
    while (done < n) {
        const ssize_t got = ::read(m_fd, static_cast<char*>(buffer) + done, n - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return -1;
        if (got == 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    return static_cast<std::int64_t>(done);
}

bool TPosixFile::ReadExactAt(void* buffer, std::size_t n, std::uint64_t pos) const
{
    return ReadAt(buffer, n, pos) == static_cast<std::int64_t>(n);
}

std::size_t TPosixFile::Write(const void* data, std::size_t n) const
{
    std::size_t done = 0;
    while (done < n) {
        const ssize_t put = ::write(m_fd, static_cast<const char*>(data) + done, n - done);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            break;
        done += static_cast<std::size_t>(put);
    }
    return done;
}

bool TPosixFile::WriteExactAt(const void* data, std::size_t n, std::uint64_t pos) const
{
    std::size_t done = 0;
    while (done < n) {
        const ssize_t put = ::pwrite(
            m_fd, static_cast<const char*>(data) + done, n - done, static_cast<off_t>(pos + done));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        done += static_cast<std::size_t>(put);
    }
    return true;
}

bool TPosixFile::Seek(std::uint64_t pos) const
{
    return ::lseek(m_fd, static_cast<off_t>(pos), SEEK_SET) >= 0;
}

std::int64_t TPosixFile::Position() const
{
    return ::lseek(m_fd, 0, SEEK_CUR);
}

} // namespace orvo
