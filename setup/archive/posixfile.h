#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace orvo {

// An owned file descriptor with the few whole-buffer operations the archive code needs.
class TPosixFile {
public:
    TPosixFile() = default;
    explicit TPosixFile(int fd)
        : m_fd(fd)
    {
    }
    TPosixFile(const TPosixFile&) = delete;
    TPosixFile& operator=(const TPosixFile&) = delete;
    TPosixFile(TPosixFile&& other) noexcept
        : m_fd(other.Release())
    {
    }
    TPosixFile& operator=(TPosixFile&& other) noexcept;
    ~TPosixFile() { Close(); }

    static TPosixFile OpenRead(const std::string& path);
    static TPosixFile OpenReadWrite(const std::string& path);
    // Creates or truncates.
    static TPosixFile Create(const std::string& path);

    bool IsOpen() const { return m_fd >= 0; }
    int Fd() const { return m_fd; }
    void Close();
    int Release();

    // Size in bytes, or -1.
    std::int64_t Size() const;
    // Reads up to n bytes at pos, retrying short reads; returns bytes read (fewer only at the end)
    // or -1 on an error.
    std::int64_t ReadAt(void* buffer, std::size_t n, std::uint64_t pos) const;
    // Reads up to n bytes at the current position, as ReadAt.
    std::int64_t Read(void* buffer, std::size_t n) const;
    bool ReadExactAt(void* buffer, std::size_t n, std::uint64_t pos) const;
    // Writes at the current position; returns bytes written, fewer when the device is full.
    std::size_t Write(const void* data, std::size_t n) const;
    bool WriteExactAt(const void* data, std::size_t n, std::uint64_t pos) const;
    bool Seek(std::uint64_t pos) const;
    std::int64_t Position() const;

private:
    int m_fd = -1;
};

} // namespace orvo
