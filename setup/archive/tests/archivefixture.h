#pragma once

#include "setup/archive/archivepaths.h"
#include "setup/archive/fileheader.h"
#include "testsupport/tempdir.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace orvo::test {

using Bytes = std::vector<std::uint8_t>;

Bytes ReadBytes(const std::string& path);
std::string ReadText(const std::string& path);
void WriteBytes(const std::string& path, const Bytes& bytes);
void WriteText(const std::string& path, const std::string& text);
Bytes Deflate(const std::string& text, int level = 9);
// Data that compresses moderately (numbers), of about n bytes.
std::string SampleText(std::size_t n, unsigned seed = 1);
// Random bytes (do not compress).
std::string RandomText(std::size_t n, unsigned seed = 1);

// A minimal ELF file (64 or 32 bit, either byte order) whose ".orvo_version" section holds
// version (no such section when version is empty), followed by payload.
Bytes MakeElf(const std::string& version, const std::string& payload = {}, bool is64 = true,
    bool bigEndian = false);

// An entry of an archive assembled byte by byte, so that tests can damage any field.
struct TRawEntry {
    std::string name {};
    std::string content {};
    std::string version {};
    double date = 45000.5;
    std::uint32_t uniqueId = 0;
};
// A one-file (inline) archive; positions relative to its start.
Bytes InlineArchive(const std::vector<TRawEntry>& entries);

// A fixture with a fresh temporary directory.
class ArchiveTest : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const
    {
        return m_home.file(QString::fromStdString(name)).toStdString();
    }
    std::string Dir() const { return m_home.path().toStdString(); }

private:
    testsupport::TempHome m_home;
};

} // namespace orvo::test
