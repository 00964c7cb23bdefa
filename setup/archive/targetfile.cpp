#include "setup/archive/targetfile.h"

#include "setup/archive/archivepaths.h"
#include "setup/archive/errors.h"
#include "setup/archive/filedate.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvo {

namespace {

mode_t ProcessUmask()
{
    static const mode_t mask = [] {
        std::FILE* status = std::fopen("/proc/self/status", "r");
        mode_t value = 022;
        if (status) {
            char line[256];
            while (std::fgets(line, sizeof line, status)) {
                unsigned octal = 0;
                if (std::sscanf(line, "Umask: %o", &octal) == 1) {
                    value = static_cast<mode_t>(octal);
                    break;
                }
            }
            std::fclose(status);
        }
        return value;
    }();
    return mask;
}

} // namespace

TTargetFile::TTargetFile(const std::string& target)
    : m_target(target)
{
    static std::atomic<unsigned> counter { 0 };
    const std::string dir = DirectoryPart(target);
    for (int attempt = 0; attempt < 100 && !m_file.IsOpen(); ++attempt) {
        // Not derived from the target's name, which may already be as long as a name can be.
        std::string name = ".orvo-part-";
        name += std::to_string(::getpid());
        name += '-';
        name += std::to_string(counter++);
        m_temporary = JoinPath(dir, name);
        m_file = TPosixFile(
            ::open(m_temporary.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600));
        if (!m_file.IsOpen() && errno != EEXIST)
            break;
    }
    if (!m_file.IsOpen())
        throw EWndlCompress(FormatText(archivetext::CannotCreate, target));
}

TTargetFile::~TTargetFile()
{
    if (!m_committed) {
        m_file.Close();
        ::unlink(m_temporary.c_str());
    }
}

void TTargetFile::Commit(double date, mode_t mode)
{
    if (!SetFileDate(m_file.Fd(), date))
        throw EWndlCompress(archivetext::CannotSetDate);
    if (::fchmod(m_file.Fd(), mode) != 0 || ::rename(m_temporary.c_str(), m_target.c_str()) != 0)
        throw EWndlCompress(FormatText(archivetext::CannotCreate, m_target));
    m_committed = true;
    m_file.Close();
}

mode_t TTargetFile::ModeFor(const std::string& target, bool executable)
{
    struct stat st { };
    if (::stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode))
        return st.st_mode & 07777;
    return (executable ? 0777 : 0666) & ~ProcessUmask();
}

bool LooksExecutable(const std::uint8_t* data, std::size_t n)
{
    static constexpr std::uint8_t ElfMagic[4] = { 0x7f, 'E', 'L', 'F' };
    return (n >= sizeof ElfMagic && std::memcmp(data, ElfMagic, sizeof ElfMagic) == 0)
        || (n >= 2 && data[0] == '#' && data[1] == '!');
}

} // namespace orvo
