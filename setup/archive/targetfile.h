#pragma once

#include "setup/archive/posixfile.h"

#include <string>
#include <sys/types.h>

namespace orvo {

// A file being written in place of target: the data goes to a temporary file beside it, which
// replaces the target only when complete. A failed or aborted write therefore leaves no partial
// file and keeps an existing target intact, and a symbolic link at the target is replaced rather
// than followed.
class TTargetFile {
public:
    // Raises EWndlCompress "Cannot create the file %s" naming target.
    explicit TTargetFile(const std::string& target);
    TTargetFile(const TTargetFile&) = delete;
    TTargetFile& operator=(const TTargetFile&) = delete;
    // Removes the temporary file unless Commit succeeded.
    ~TTargetFile();

    const TPosixFile& File() const { return m_file; }
    // Gives the data its date and permissions and puts it in the target's place. Raises
    // "Cannot set the date of the file just extracted." or "Cannot create the file %s".
    void Commit(double date, mode_t mode);

    // The permissions of the existing target, or the default for a new file (executable when
    // requested), after the process's umask.
    static mode_t ModeFor(const std::string& target, bool executable);

private:
    std::string m_target;
    std::string m_temporary;
    TPosixFile m_file;
    bool m_committed = false;
};

// True when a file starting with these bytes is a program (an ELF file or a script).
bool LooksExecutable(const std::uint8_t* data, std::size_t n);

} // namespace orvo
